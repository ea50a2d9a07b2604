// The wake probe of the test build and the Win32 tests: while the
// environment variable ZELVAR_TEST_WAKE_PROBE is set its values stand in for
// the machine's (read at every call, so a test can change it), so the
// readiness line can be checked on any machine; otherwise the machine's.
#include <string>

#include "power/wake_probe_win.h"
#include "power/wake_task_win.h"

namespace zelvar {

WakeProbeValues CurrentWakeProbe() {
    constexpr wchar_t kVariable[] = L"ZELVAR_TEST_WAKE_PROBE";
    SetLastError(ERROR_SUCCESS);
    const DWORD needed = GetEnvironmentVariableW(kVariable, nullptr, 0);
    WakeProbeValues v;
    if (needed == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
        v = ProbeSystemWakeReadiness();
    } else {
        std::wstring text(needed, L'\0');
        const DWORD n = GetEnvironmentVariableW(kVariable, text.data(), needed);
        text.resize(n < needed ? n : 0);
        v = ParseWakeProbeOverride(text);
    }
    v.wakeTaskHeld = WakeTaskHeldNow();
    return v;
}

}  // namespace zelvar
