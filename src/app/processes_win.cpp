#include "app/processes_win.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include "app/startup_list.h"
#include "common/handles_win.h"

namespace zelvar {
namespace {

std::vector<std::wstring> FromSnapshot() {
    std::vector<std::wstring> list;
    UniqueFileHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap) return list;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL ok = Process32FirstW(snap.get(), &entry); ok; ok = Process32NextW(snap.get(), &entry))
        list.emplace_back(entry.szExeFile);
    return list;
}

std::wstring ImagePath(DWORD pid) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    wchar_t name[MAX_PATH + 1] = {};
    if (process) {
        HMODULE first = nullptr;
        DWORD needed = 0;
        if (EnumProcessModules(process.get(), &first, sizeof(first), &needed) &&
            GetModuleFileNameExW(process.get(), first, name, MAX_PATH + 1))
            return name;
    }
    // Processes that refuse reading their memory still tell their image
    // name with the limited right, so a running program is not started twice.
    UniqueHandle limited(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    DWORD size = MAX_PATH + 1;
    if (limited && QueryFullProcessImageNameW(limited.get(), 0, name, &size)) return std::wstring(name, size);
    return {};
}

std::vector<std::wstring> FromProcessIds() {
    std::vector<std::wstring> list;
    std::vector<DWORD> ids(1024);
    DWORD bytes = 0;
    // Grow the buffer until every id fits: a full buffer may have been cut.
    for (;;) {
        if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return list;
        if (bytes < ids.size() * sizeof(DWORD)) break;
        ids.resize(ids.size() * 2);
    }
    ids.resize(bytes / sizeof(DWORD));
    for (DWORD pid : ids) {
        std::wstring path = ImagePath(pid);
        if (!path.empty()) list.push_back(std::move(path));
    }
    return list;
}

}  // namespace

std::vector<std::wstring> ListRunningProcesses() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return {};
#pragma GCC diagnostic pop
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) return FromProcessIds();
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return FromSnapshot();
    return {};
}

bool IsProcessRunning(const std::wstring& path) { return IsProcessInList(ListRunningProcesses(), path); }

}  // namespace zelvar
