// The power actions of the test build: each writes one line
// "<Action> <yyyy-mm-dd hh:mm:ss.mmm>" (local time) to power_actions.log
// beside the exe and returns at once, as a hibernation that has already
// resumed would. While a file power_fail.txt lies beside the exe every action
// fails with access denied (5) instead, so the error path can be exercised.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/handles_win.h"
#include "common/os_error_win.h"
#include "common/paths_win.h"
#include "power/power_actions.h"

namespace zelvar {

void RecordPowerAction(const char* action) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char line[96];
    const int n = std::snprintf(line, sizeof line, "%s %04u-%02u-%02u %02u:%02u:%02u.%03u\r\n", action, t.wYear,
                                t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    UniqueFileHandle file(CreateFileW(FileBesideExe(L"power_actions.log").c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseLastOsError();
    DWORD written = 0;
    // A record that did not reach the log must not pass for an action taken.
    if (!WriteFile(file.get(), line, static_cast<DWORD>(n), &written, nullptr) || written != static_cast<DWORD>(n))
        RaiseLastOsError();
}

namespace {

void Record(const char* action) {
    EnablePrivilege(L"SeShutdownPrivilege");
    if (GetFileAttributesW(FileBesideExe(L"power_fail.txt").c_str()) != INVALID_FILE_ATTRIBUTES)
        throw OsErrorFromCode(ERROR_ACCESS_DENIED);
    RecordPowerAction(action);
}

}  // namespace

void PowerOffComputer() { Record("PowerOff"); }
void HibernateComputer() { Record("Hibernate"); }
void RestartComputer() { Record("Restart"); }

}  // namespace zelvar
