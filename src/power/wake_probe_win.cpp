#include "power/wake_probe_win.h"

#include "common/handles_win.h"

namespace zelvar {
namespace {

std::optional<WakeTimerPolicy> ReadPolicy(PowerProbeApi::PowerReadValueIndexFn read, const GUID* scheme) {
    if (!read) return std::nullopt;
    DWORD value = 0;
    if (read(nullptr, scheme, &kSleepSubgroup, &kAllowWakeTimers, &value) != ERROR_SUCCESS) return std::nullopt;
    return WakeTimerPolicyFromValue(value);
}

}  // namespace

WakeProbeValues ProbeWakeReadiness(const PowerProbeApi& api) {
    WakeProbeValues v;
    if (api.getPwrCapabilities) {
        SYSTEM_POWER_CAPABILITIES caps{};
        if (api.getPwrCapabilities(&caps)) {
            v.hibernationSupported = caps.SystemS4 != 0;
            v.hibernationEnabled = caps.HiberFilePresent != 0;
            v.batteryPresent = caps.SystemBatteriesPresent != 0;
        }
    }
    if (api.powerGetActiveScheme) {
        GUID* scheme = nullptr;
        if (api.powerGetActiveScheme(nullptr, &scheme) == ERROR_SUCCESS && scheme) {
            v.onMains = ReadPolicy(api.powerReadACValueIndex, scheme);
            v.onBattery = ReadPolicy(api.powerReadDCValueIndex, scheme);
        }
        if (scheme) LocalFree(scheme);
    }
    if (api.resumeCheck) v.resumeAccepted = api.resumeCheck();
    return v;
}

std::optional<bool> CheckResumeTimerAccepted() {
    // Unnamed, so the program's own shared timer object is never touched.
    UniqueHandle timer(CreateWaitableTimerW(nullptr, FALSE, nullptr));
    if (!timer) return std::nullopt;
    LARGE_INTEGER due;
    due.QuadPart = -365LL * 24 * 3600 * 10'000'000;  // a year from now, relative
    SetLastError(ERROR_SUCCESS);
    if (!SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, TRUE)) return std::nullopt;
    // The system takes the timer but says so when it cannot wake for it.
    const bool refused = GetLastError() == ERROR_NOT_SUPPORTED;
    CancelWaitableTimer(timer.get());
    return !refused;
}

WakeProbeValues ProbeSystemWakeReadiness() {
    UniqueModule powrprof(LoadLibraryW(L"powrprof.dll"));
    PowerProbeApi api;
    api.getPwrCapabilities = ModuleFunction<PowerProbeApi::GetPwrCapabilitiesFn>(powrprof.get(), "GetPwrCapabilities");
    api.powerGetActiveScheme =
        ModuleFunction<PowerProbeApi::PowerGetActiveSchemeFn>(powrprof.get(), "PowerGetActiveScheme");
    api.powerReadACValueIndex =
        ModuleFunction<PowerProbeApi::PowerReadValueIndexFn>(powrprof.get(), "PowerReadACValueIndex");
    api.powerReadDCValueIndex =
        ModuleFunction<PowerProbeApi::PowerReadValueIndexFn>(powrprof.get(), "PowerReadDCValueIndex");
    api.resumeCheck = &CheckResumeTimerAccepted;
    return ProbeWakeReadiness(api);
}

}  // namespace zelvar
