#include "app/startup_list.h"

#include <algorithm>

namespace zelvar {

bool IsProgramInList(const std::vector<std::wstring>& list, const std::wstring& path) {
    return std::find(list.begin(), list.end(), path) != list.end();
}

void AddPrograms(std::vector<std::wstring>& list, const std::vector<std::wstring>& paths) {
    for (const auto& p : paths)
        if (!IsProgramInList(list, p)) list.push_back(p);
}

int RemoveProgram(std::vector<std::wstring>& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size())) return -1;
    list.erase(list.begin() + index);
    return list.empty() ? -1 : 0;
}

std::wstring ProgramFileName(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\:");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

bool SameProgramFileName(const std::wstring& a, const std::wstring& b) {
    const std::wstring x = ProgramFileName(a), y = ProgramFileName(b);
    if (x.size() != y.size()) return false;
    auto fold = [](wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; };
    for (size_t i = 0; i < x.size(); ++i)
        if (fold(x[i]) != fold(y[i])) return false;
    return true;
}

bool IsProcessInList(const std::vector<std::wstring>& processes, const std::wstring& path) {
    return std::any_of(processes.begin(), processes.end(),
                       [&path](const std::wstring& p) { return SameProgramFileName(p, path); });
}

namespace {

wchar_t FoldPathChar(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
        return static_cast<wchar_t>(c - 32);
    if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 80);
    return c;
}

}  // namespace

std::wstring NormalizedPathForCompare(std::wstring_view in) {
    std::wstring path(in);
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    // "\\?\C:\x" and "\\?\UNC\server\share" name the same files as "C:\x" and "\\server\share"
    // (the system reads "UNC" there in any case).
    auto isUnc = [&path] {
        return path.size() >= 8 && path.rfind(L"\\\\?\\", 0) == 0 && FoldPathChar(path[4]) == L'U' &&
               FoldPathChar(path[5]) == L'N' && FoldPathChar(path[6]) == L'C' && path[7] == L'\\';
    };
    if (isUnc()) path = L"\\\\" + path.substr(8);
    else if (path.rfind(L"\\\\?\\", 0) == 0) path = path.substr(4);

    std::wstring root;
    size_t pos = 0;
    if (path.size() >= 2 && path[1] == L':') {
        root = path.substr(0, 2);
        pos = 2;
        if (pos < path.size() && path[pos] == L'\\') {
            root += L'\\';
            ++pos;
        }
    } else if (path.rfind(L"\\\\", 0) == 0) {
        root = L"\\\\";
        pos = 2;
    } else if (!path.empty() && path[0] == L'\\') {
        root = L"\\";
        pos = 1;
    }
    const bool absolute = !root.empty() && root.back() == L'\\';
    std::vector<std::wstring> segments;
    while (pos <= path.size()) {
        size_t end = path.find(L'\\', pos);
        if (end == std::wstring::npos) end = path.size();
        std::wstring segment = path.substr(pos, end - pos);
        pos = end + 1;
        if (segment.empty() || segment == L".") continue;
        if (segment == L"..") {
            if (!segments.empty() && segments.back() != L"..") segments.pop_back();
            else if (!absolute) segments.push_back(segment);
            continue;
        }
        while (!segment.empty() && (segment.back() == L'.' || segment.back() == L' ')) segment.pop_back();
        if (!segment.empty()) segments.push_back(segment);
    }
    std::wstring out = root;
    for (size_t i = 0; i < segments.size(); ++i) out += (i ? L"\\" : L"") + segments[i];
    for (auto& c : out) c = FoldPathChar(c);
    return out;
}

std::vector<StartupDecision> PlanStartupPrograms(const std::vector<std::wstring>& entries,
                                                 std::vector<std::wstring> running, const StartupFileChecks& checks) {
    std::vector<StartupDecision> plan;
    std::vector<std::wstring> seen;  // normalised paths of the entries before
    for (const auto& entry : entries) {
        StartupDecision d;
        d.entry = entry;
        const auto expanded = checks.expand(entry);
        if (!expanded || expanded->size() > kMaxStartupPathLength) {
            d.skip = StartupSkip::TooLong;
            plan.push_back(std::move(d));
            continue;
        }
        d.path = *expanded;
        std::wstring normalized = NormalizedPathForCompare(d.path);
        if (std::find(seen.begin(), seen.end(), normalized) != seen.end()) d.skip = StartupSkip::Duplicate;
        else if (!checks.isFile(d.path)) d.skip = StartupSkip::NotAFile;
        else if (IsProcessInList(running, d.path)) d.skip = StartupSkip::Running;
        else running.push_back(d.path);
        seen.push_back(std::move(normalized));
        plan.push_back(std::move(d));
    }
    return plan;
}

std::wstring ListTooltip(const std::vector<std::wstring>& list) {
    std::wstring text;
    for (size_t i = 0; i < list.size(); ++i) text += (i ? L"\r\n" : L"") + list[i];
    return text;
}

}  // namespace zelvar
