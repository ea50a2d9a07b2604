// The wake fixes of the test build and the Win32 tests: each records a line
// "<fix> <yyyy-mm-dd hh:mm:ss.mmm>" in power_actions.log beside the exe
// (AllowWakeTimers(ac), AllowWakeTimers(dc), AllowWakeTimers(ac,dc),
// SwitchHibernationOn) and changes nothing on the machine. While
// ZELVAR_TEST_WAKE_PROBE is set, the fixed values are added to it in this
// process (the last mention wins), so the probe then finds them as on a
// machine the fix was made on. ZELVAR_TEST_WAKE_FIX=refuse answers access
// denied, =cancel a declined elevation prompt, and nothing is recorded.
#include <windows.h>

#include <optional>
#include <string>

#include "common/os_error.h"
#include "power/power_actions.h"
#include "power/wake_fix_win.h"

namespace zelvar {
namespace {

std::optional<std::wstring> Variable(const wchar_t* name) {
    SetLastError(ERROR_SUCCESS);
    const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    std::wstring text(needed, L'\0');
    const DWORD n = GetEnvironmentVariableW(name, text.data(), needed);
    text.resize(n < needed ? n : 0);
    return text;
}

}  // namespace

WakeFixResult ApplyWakeFix(const WakeFix& fix, HWND) {
    const std::wstring answer = Variable(L"ZELVAR_TEST_WAKE_FIX").value_or(L"");
    if (answer == L"refuse") return {ERROR_ACCESS_DENIED, 0};
    if (answer == L"cancel") return {ERROR_CANCELLED, 0};
    const char* action = nullptr;
    std::wstring fixed;
    switch (fix.kind) {
        case WakeFixKind::None: return {};
        case WakeFixKind::SwitchHibernationOn:
            action = "SwitchHibernationOn";
            fixed = L",hiberfile=1";
            break;
        case WakeFixKind::AllowWakeTimers:
            if (!fix.onMains && !fix.onBattery) return {};
            action = fix.onMains && fix.onBattery ? "AllowWakeTimers(ac,dc)"
                     : fix.onMains                ? "AllowWakeTimers(ac)"
                                                  : "AllowWakeTimers(dc)";
            if (fix.onMains) fixed += L",ac=on";
            if (fix.onBattery) fixed += L",dc=on";
            break;
    }
    try {
        RecordPowerAction(action);
    } catch (const OsError& e) {
        return {e.Code(), 0};
    }
    if (const auto probe = Variable(L"ZELVAR_TEST_WAKE_PROBE"))
        SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_PROBE", (*probe + fixed).c_str());
    return {};
}

}  // namespace zelvar
