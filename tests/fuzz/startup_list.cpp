// The start-up list as the runner plans it: paths compared in their
// normalised form, and the plan over fuzzed entries with made-up answers
// from the system. The form of a path is a fixed point and ignores the case
// of ASCII letters; the plan keeps the list's order, starts every file once,
// never one that runs, and says why it skips each entry it skips.
#include <algorithm>
#include <cstdint>

#include "app/startup_list.h"
#include "fuzz_input.h"

using namespace zelvar;

namespace {

std::wstring AsciiUpper(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    return out;
}

// %HOME% and %LONG% expand (the latter past what the shell takes), %BAD% fails.
std::optional<std::wstring> Expand(const std::wstring& entry) {
    if (entry.find(L"%BAD%") != std::wstring::npos) return std::nullopt;
    std::wstring out;
    for (size_t i = 0; i < entry.size();) {
        if (entry.compare(i, 6, L"%HOME%") == 0) {
            out += L"C:\\Users\\me";
            i += 6;
        } else if (entry.compare(i, 6, L"%LONG%") == 0) {
            out += std::wstring(250, L'x');
            i += 6;
        } else {
            out += entry[i++];
        }
    }
    return out;
}

// Some paths are files, the same ones every time.
bool IsFile(const std::wstring& path) {
    std::uint32_t h = 2166136261u;
    for (wchar_t c : path) h = (h ^ static_cast<std::uint32_t>(c)) * 16777619u;
    return !path.empty() && path.back() != L'\\' && h % 4 != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    // Line 1 the running processes, "|" between them; the other lines the entries.
    const std::vector<std::string_view> lines = fuzz::Lines(fuzz::Bytes(data, size), 33);
    std::vector<std::wstring> running;
    const std::wstring processes = fuzz::Text(lines[0]);
    for (size_t pos = 0; pos <= processes.size();) {
        const size_t bar = std::min(processes.find(L'|', pos), processes.size());
        running.push_back(processes.substr(pos, bar - pos));
        pos = bar + 1;
    }
    std::vector<std::wstring> entries;
    for (size_t i = 1; i < lines.size(); ++i) entries.push_back(fuzz::Text(lines[i]));

    for (const std::wstring& entry : entries) {
        const std::wstring n = NormalizedPathForCompare(entry);
        // "?" is in no file or server name; outside the long-path prefix it
        // makes a path that names nothing, and such a form need not be fixed.
        if (entry.find(L'?') == std::wstring::npos) ZELVAR_FUZZ_CHECK(NormalizedPathForCompare(n) == n);
        ZELVAR_FUZZ_CHECK(NormalizedPathForCompare(AsciiUpper(entry)) == n);
        ZELVAR_FUZZ_CHECK(n.find(L'/') == std::wstring::npos);
    }

    const std::vector<StartupDecision> plan = PlanStartupPrograms(entries, running, {Expand, IsFile});
    ZELVAR_FUZZ_CHECK(plan.size() == entries.size());
    std::vector<std::wstring> seen, started;
    for (size_t i = 0; i < plan.size(); ++i) {
        const StartupDecision& d = plan[i];
        ZELVAR_FUZZ_CHECK(d.entry == entries[i]);
        const std::optional<std::wstring> expanded = Expand(d.entry);
        if (!expanded || expanded->size() > kMaxStartupPathLength) {
            ZELVAR_FUZZ_CHECK(d.skip == StartupSkip::TooLong);
            continue;
        }
        ZELVAR_FUZZ_CHECK(d.skip != StartupSkip::TooLong && d.path == *expanded);
        const std::wstring n = NormalizedPathForCompare(d.path);
        const bool repeated = std::find(seen.begin(), seen.end(), n) != seen.end();
        seen.push_back(n);
        ZELVAR_FUZZ_CHECK((d.skip == StartupSkip::Duplicate) == repeated);
        if (d.skip == StartupSkip::NotAFile) ZELVAR_FUZZ_CHECK(!IsFile(d.path));
        const bool runs = IsProcessInList(running, d.path) || IsProcessInList(started, d.path);
        if (d.skip == StartupSkip::Running) ZELVAR_FUZZ_CHECK(runs);
        if (d.skip == StartupSkip::None) {
            ZELVAR_FUZZ_CHECK(IsFile(d.path) && !runs);
            started.push_back(d.path);
        }
    }
    return 0;
}
