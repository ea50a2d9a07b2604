#include <windows.h>

#include "common/handles_win.h"
#include "power/power_actions.h"

namespace zelvar {

// Shared by the real and the recording power actions: switching a privilege
// on in our own token changes nothing outside the process.
bool EnablePrivilege(const wchar_t* name) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return false;
    UniqueHandle token(raw);
    LUID luid{};
    if (!LookupPrivilegeValueW(nullptr, name, &luid)) return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid = luid;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    DWORD returnLength = 0;
    // A privilege the account does not hold still "succeeds" here
    // (ERROR_NOT_ALL_ASSIGNED); the power call then fails and says so.
    return AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, &returnLength) != FALSE;
}

}  // namespace zelvar
