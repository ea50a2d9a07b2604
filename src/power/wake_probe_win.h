#pragma once
// Probes whether a timer wake can happen on this machine: hibernation
// (GetPwrCapabilities), the active power scheme's "Allow wake timers" on
// mains and on battery, and whether the system takes the resume flag. The
// decision over the values is wake_readiness.h.
#include <windows.h>

#include <optional>

#include "power/wake_readiness.h"

namespace zelvar {

// The powrprof.dll functions the probe calls; any of them may be missing.
// Resolved at run time: not every system has them all, and under Wine
// PowerGetActiveScheme is not implemented and PowerReadACValueIndex is a stub
// that aborts the process, so the values are read only after the scheme was.
struct PowerProbeApi {
    using GetPwrCapabilitiesFn = BOOLEAN(WINAPI*)(PSYSTEM_POWER_CAPABILITIES);
    using PowerGetActiveSchemeFn = DWORD(WINAPI*)(HKEY, GUID**);
    using PowerReadValueIndexFn = DWORD(WINAPI*)(HKEY, const GUID*, const GUID*, const GUID*, LPDWORD);
    GetPwrCapabilitiesFn getPwrCapabilities = nullptr;
    PowerGetActiveSchemeFn powerGetActiveScheme = nullptr;
    PowerReadValueIndexFn powerReadACValueIndex = nullptr;
    PowerReadValueIndexFn powerReadDCValueIndex = nullptr;
    // Whether a resume timer is accepted; see CheckResumeTimerAccepted.
    std::optional<bool> (*resumeCheck)() = nullptr;
};

// The sleep subgroup and its "Allow wake timers" setting.
inline constexpr GUID kSleepSubgroup = {0x238c9fa8, 0x0aad, 0x41ed, {0x83, 0xf4, 0x97, 0xbe, 0x24, 0x2c, 0x8f, 0x20}};
inline constexpr GUID kAllowWakeTimers = {0xbd3b718a, 0x0680, 0x4d9d, {0x8a, 0xb2, 0xe1, 0xd2, 0xb4, 0xac, 0x80, 0x6d}};

// Probes through `api`; a missing function or a failed call leaves its
// values unknown. Never fails.
WakeProbeValues ProbeWakeReadiness(const PowerProbeApi& api);

// Arms an unnamed waitable timer a year ahead with the resume flag and
// cancels it again: false when the system answers ERROR_NOT_SUPPORTED (it
// cannot wake for timers), true when it took the timer, nullopt when the
// timer could not be created or armed at all.
std::optional<bool> CheckResumeTimerAccepted();

// The probe of this machine: powrprof.dll loaded for the call, the resume
// check above.
WakeProbeValues ProbeSystemWakeReadiness();

// What the program goes by. zelvar.exe probes the system
// (wake_probe_real.cpp); the test build and the Win32 tests take the values
// from the environment variable ZELVAR_TEST_WAKE_PROBE when it is set, in
// the form ParseWakeProbeOverride reads (wake_probe_injected.cpp).
WakeProbeValues CurrentWakeProbe();

}  // namespace zelvar
