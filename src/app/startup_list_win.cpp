#include "app/startup_list_win.h"

#include <windows.h>

#include "app/processes_win.h"

namespace zelvar {

StartupFileChecks SystemStartupFileChecks() {
    StartupFileChecks checks;
    checks.expand = [](const std::wstring& entry) -> std::optional<std::wstring> {
        // The system expands at most 32K characters; an entry near that is no path anyway.
        if (entry.size() >= 32767) return std::nullopt;
        std::wstring out(entry.size() + 256, L'\0');
        for (int round = 0; round < 3; ++round) {
            const DWORD n = ExpandEnvironmentStringsW(entry.c_str(), out.data(), static_cast<DWORD>(out.size()));
            if (n == 0) return std::nullopt;
            if (n <= out.size()) {
                out.resize(n - 1);  // n counts the final null
                return out;
            }
            if (n > 32768) return std::nullopt;
            out.resize(n);
        }
        return std::nullopt;
    };
    checks.isFile = [](const std::wstring& path) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    };
    return checks;
}

std::vector<std::wstring> StartupProgramsToOpen(const std::vector<std::wstring>& entries) {
    std::vector<std::wstring> paths;
    if (entries.empty()) return paths;
    for (const auto& d : PlanStartupPrograms(entries, ListRunningProcesses(), SystemStartupFileChecks()))
        if (d.skip == StartupSkip::None) paths.push_back(d.path);
    return paths;
}

}  // namespace zelvar
