#include "power/wtimer.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "common/datetime_win.h"
#include "power/local_time_rules.h"

namespace zelvar {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;

std::int64_t Ticks(const FILETIME& ft) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

FILETIME FromTicks(std::int64_t ticks) {
    const auto u = static_cast<std::uint64_t>(ticks);
    return FILETIME{static_cast<DWORD>(u & 0xFFFFFFFFu), static_cast<DWORD>(u >> 32)};
}

using SystemTimeToTzSpecificLocalTimeExFn = BOOL(WINAPI*)(const DYNAMIC_TIME_ZONE_INFORMATION*, const SYSTEMTIME*,
                                                          SYSTEMTIME*);

// Looked up at run time: the headers offer it only to newer targets.
SystemTimeToTzSpecificLocalTimeExFn DynamicZoneConversion() {
    static const auto fn = reinterpret_cast<SystemTimeToTzSpecificLocalTimeExFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SystemTimeToTzSpecificLocalTimeEx")));
    return fn;
}

// Local minus universal time, in seconds, in force in a zone at a universal
// moment. Universal to local is the direction without ambiguity; the local
// moment is then resolved against it. The dynamic call applies the zone's
// year-by-year rules, the older one its standing rule, and the last resort
// is today's bias.
std::int64_t UtcOffsetAt(const DYNAMIC_TIME_ZONE_INFORMATION& zone, std::int64_t utcSeconds) {
    const FILETIME utcFt = FromTicks(utcSeconds * kTicksPerSecond);
    SYSTEMTIME utc{}, local{};
    if (!FileTimeToSystemTime(&utcFt, &utc)) return 0;
    bool ok = false;
    if (const auto convertEx = DynamicZoneConversion()) ok = convertEx(&zone, &utc, &local);
    if (!ok) {
        TIME_ZONE_INFORMATION tzi{};
        tzi.Bias = zone.Bias;
        std::copy(std::begin(zone.StandardName), std::end(zone.StandardName), tzi.StandardName);
        tzi.StandardDate = zone.StandardDate;
        tzi.StandardBias = zone.StandardBias;
        std::copy(std::begin(zone.DaylightName), std::end(zone.DaylightName), tzi.DaylightName);
        tzi.DaylightDate = zone.DaylightDate;
        tzi.DaylightBias = zone.DaylightBias;
        ok = SystemTimeToTzSpecificLocalTime(&tzi, &utc, &local);
    }
    FILETIME localFt{};
    if (ok && SystemTimeToFileTime(&local, &localFt)) return Ticks(localFt) / kTicksPerSecond - utcSeconds;
    if (FileTimeToLocalFileTime(&utcFt, &localFt)) return Ticks(localFt) / kTicksPerSecond - utcSeconds;
    return 0;
}

DYNAMIC_TIME_ZONE_INFORMATION UserZone() {
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    if (GetDynamicTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) {
        TIME_ZONE_INFORMATION tzi{};
        GetTimeZoneInformation(&tzi);
        zone.Bias = tzi.Bias;
        zone.StandardDate = tzi.StandardDate;
        zone.StandardBias = tzi.StandardBias;
        zone.DaylightDate = tzi.DaylightDate;
        zone.DaylightBias = tzi.DaylightBias;
    }
    return zone;
}

}  // namespace

std::optional<FILETIME> LocalMomentToUtcFileTime(TDateTime local) {
    return LocalMomentToUtcFileTime(local, UserZone());
}

std::function<std::int64_t(std::int64_t)> UserZoneOffsets() {
    return [zone = UserZone()](std::int64_t utcSeconds) { return UtcOffsetAt(zone, utcSeconds); };
}

std::optional<std::int64_t> LocalSecondsOf(TDateTime local) {
    const SYSTEMTIME st = ToSystemTime(local);
    FILETIME localFt{};
    if (st.wYear < 1601 || !SystemTimeToFileTime(&st, &localFt)) return std::nullopt;
    return Ticks(localFt) / kTicksPerSecond;
}

std::optional<FILETIME> LocalMomentToUtcFileTime(TDateTime local, const DYNAMIC_TIME_ZONE_INFORMATION& zone) {
    const SYSTEMTIME st = ToSystemTime(local);
    FILETIME localFt{};
    if (st.wYear < 1601 || !SystemTimeToFileTime(&st, &localFt)) return std::nullopt;
    const std::int64_t ticks = Ticks(localFt);
    const ResolvedLocalTime r = ResolveLocalTime(
        ticks / kTicksPerSecond, [&zone](std::int64_t utcSeconds) { return UtcOffsetAt(zone, utcSeconds); });
    const std::int64_t utcTicks = r.utcSeconds * kTicksPerSecond + ticks % kTicksPerSecond;
    if (utcTicks < 0) return std::nullopt;
    return FromTicks(utcTicks);
}

void TWaitableTimer::Create(bool manualReset, SECURITY_ATTRIBUTES* securityAttributes, const std::wstring& name) {
    Destroy();
    Handle =
        CreateWaitableTimerW(securityAttributes, manualReset ? TRUE : FALSE, name.empty() ? nullptr : name.c_str());
}

void TWaitableTimer::Destroy() {
    if (Handle) CloseHandle(Handle);
    Handle = nullptr;
}

bool TWaitableTimer::Start() {
    if (!Handle) {
        LastError = ERROR_INVALID_HANDLE;
        return false;
    }
    LARGE_INTEGER due{};
    if (RelativeTime != 0) {
        due.QuadPart = RelativeTime;
    } else {
        const std::optional<FILETIME> utc = LocalMomentToUtcFileTime(Time);
        if (!utc) {
            LastError = ERROR_INVALID_PARAMETER;
            return false;
        }
        due.QuadPart = Ticks(*utc);
    }
    if (!SetWaitableTimer(Handle, &due, Period, nullptr, nullptr, TRUE)) {
        LastError = GetLastError();
        return false;
    }
    return true;
}

bool TWaitableTimer::Stop() { return CancelWaitableTimer(Handle) != FALSE; }

TWaitResult TWaitableTimer::WaitFor(std::uint32_t timeoutMs) {
    switch (WaitForSingleObjectEx(Handle, timeoutMs, TRUE)) {
        case WAIT_OBJECT_0: return WaitSignaled;
        case WAIT_TIMEOUT: return WaitTimeout;
        case WAIT_ABANDONED: return WaitAbandoned;
        case WAIT_FAILED: LastError = GetLastError(); return WaitError;
        default: return WaitError;  // e.g. an alertable wait ended by a completion routine
    }
}

double RealSecondsOf(const FILETIME& utc) { return static_cast<double>(Ticks(utc)) / kTicksPerSecond; }

double RealSecondsNow() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return RealSecondsOf(now);
}

std::optional<double> RealSecondsOfLocal(TDateTime local) {
    const std::optional<FILETIME> utc = LocalMomentToUtcFileTime(local);
    if (!utc) return std::nullopt;
    return RealSecondsOf(*utc);
}

std::int64_t DueTicksOf(double realSeconds) {
    return static_cast<std::int64_t>(std::ceil(realSeconds * static_cast<double>(kTicksPerSecond)));
}

}  // namespace zelvar
