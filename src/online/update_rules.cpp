#include "online/update_rules.h"

#include <algorithm>

#include "common/text.h"

namespace zelvar {
namespace {

constexpr std::uint32_t kMaxVersionPart = 999999999;

bool IsIniBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f'; }

std::wstring_view TrimIni(std::wstring_view s) {
    while (!s.empty() && IsIniBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsIniBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The file as text: UTF-16 LE when it starts with that byte order mark (the
// private-profile functions read such files too), otherwise UTF-8 or ASCII.
std::wstring FileText(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring text;
        text.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        return text;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return Utf8ToUtf16(bytes);
}

}  // namespace

std::optional<std::vector<std::uint32_t>> ParseVersion(std::wstring_view text) {
    text = TrimIni(text);
    std::vector<std::uint32_t> parts;
    size_t i = 0;
    for (;;) {
        std::uint64_t value = 0;
        const size_t start = i;
        while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
            value = value * 10 + static_cast<std::uint64_t>(text[i] - L'0');
            if (value > kMaxVersionPart) return std::nullopt;
            ++i;
        }
        if (i == start) return std::nullopt;  // empty part, sign or other character
        parts.push_back(static_cast<std::uint32_t>(value));
        if (i == text.size()) break;
        if (text[i] != L'.') return std::nullopt;
        ++i;
    }
    if (parts.size() < 2) return std::nullopt;
    return parts;
}

bool IsNewerVersion(std::wstring_view published, std::wstring_view own) {
    const auto theirs = ParseVersion(published);
    const auto ours = ParseVersion(own);
    if (!theirs || !ours) return false;
    const size_t n = std::max(theirs->size(), ours->size());
    for (size_t i = 0; i < n; ++i) {
        const std::uint32_t a = i < theirs->size() ? (*theirs)[i] : 0;
        const std::uint32_t b = i < ours->size() ? (*ours)[i] : 0;
        if (a != b) return a > b;
    }
    return false;
}

std::optional<std::wstring> ReadCurrentVersion(std::string_view versionFile) {
    const std::wstring text = FileText(versionFile);
    const std::wstring_view all(text);
    bool inSection = false;
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find(L'\n', pos);
        if (end == std::wstring_view::npos) end = all.size();
        const std::wstring_view line = TrimIni(all.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == L';') continue;
        if (line.front() == L'[') {
            const size_t close = line.find(L']');
            const std::wstring_view name =
                TrimIni(line.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1));
            inSection = SameName(name, L"VER_INFO");
            continue;
        }
        if (!inSection) continue;
        const size_t eq = line.find(L'=');
        if (eq == std::wstring_view::npos || !SameName(TrimIni(line.substr(0, eq)), L"current_version")) continue;
        std::wstring_view value = TrimIni(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::wstring(value);
    }
    return std::nullopt;
}

bool CheckForUpdate(bool downloaded, std::string_view versionFile, std::wstring_view own) {
    if (!downloaded) return false;
    const auto published = ReadCurrentVersion(versionFile);
    return published && IsNewerVersion(*published, own);
}

UpdateTimerStep UpdateTimerOnStart(bool optionTicked) {
    if (!optionTicked) return {UpdateCheckState::Off};
    return {UpdateCheckState::WaitingFirst, kFirstUpdateCheckMs};
}

UpdateTimerStep UpdateTimerOnTick(UpdateCheckState state) {
    if (state == UpdateCheckState::WaitingFirst || state == UpdateCheckState::WaitingHour)
        return {UpdateCheckState::Checking, 0, true};
    // A stray tick while a check runs or after the question changes nothing.
    return {state};
}

UpdateTimerStep UpdateTimerOnCheckDone(UpdateCheckState state, bool newerFound) {
    if (state != UpdateCheckState::Checking) return {state};
    if (newerFound) return {UpdateCheckState::Finished, 0, false, true};
    return {UpdateCheckState::WaitingHour, kUpdateCheckIntervalMs};
}

HistorySource ChooseHistorySource(bool downloaded, bool copyReadable) {
    if (!copyReadable) return HistorySource::None;
    return downloaded ? HistorySource::Fresh : HistorySource::LastCopy;
}

}  // namespace zelvar
