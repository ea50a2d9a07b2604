#include <windows.h>

#include "common/os_error_win.h"
#include "power/power_actions.h"

namespace zelvar {
namespace {

constexpr const wchar_t* kShutdownPrivilege = L"SeShutdownPrivilege";
// Reason code passed to ExitWindowsEx (a planned maintenance shutdown).
constexpr DWORD kShutdownReason = 1;

}  // namespace

void PowerOffComputer() {
    EnablePrivilege(kShutdownPrivilege);  // a refusal shows as the failure of the call below
    if (!ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, kShutdownReason)) RaiseLastOsError();
}

void HibernateComputer() {
    EnablePrivilege(kShutdownPrivilege);
    // suspend = FALSE hibernates; force = FALSE lets applications object.
    if (!SetSystemPowerState(FALSE, FALSE)) RaiseLastOsError();
}

void RestartComputer() {
    EnablePrivilege(kShutdownPrivilege);
    if (!ExitWindowsEx(EWX_REBOOT, kShutdownReason)) RaiseLastOsError();
}

}  // namespace zelvar
