#pragma once
// A thin object around one kernel waitable timer: it converts a due moment
// into the system's form, arms (always with the resume flag, so an expiry
// wakes a hibernated machine), cancels and waits.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/datetime.h"

namespace zelvar {

// Every timer of the program is created under this name, so all instances
// alive at one time open the same kernel object.
inline constexpr wchar_t kWaitableTimerName[] = L"My Waitable Timer";

// The common base of the program's synchronisation objects; no behaviour here.
class TSynchroObject {
public:
    virtual ~TSynchroObject() = default;
};

enum TWaitResult { WaitSignaled, WaitTimeout, WaitAbandoned, WaitError };

class TWaitableTimer : public TSynchroObject {
public:
    TWaitableTimer() = default;
    ~TWaitableTimer() override { Destroy(); }
    TWaitableTimer(const TWaitableTimer&) = delete;
    TWaitableTimer& operator=(const TWaitableTimer&) = delete;

    HANDLE Handle = nullptr;        // owned; closed by Destroy
    std::int32_t Period = 0;        // milliseconds; 0 fires once
    TDateTime Time = 0;             // local due moment, used when RelativeTime is 0
    std::uint32_t LastError = 0;    // system error of the last failed wait or arming
    std::int64_t RelativeTime = 0;  // 100 ns units; negative counts from arming

    // An empty name creates an unnamed timer. When a timer of that name
    // exists, this opens it and manualReset has no effect. A failure leaves
    // Handle null; nothing is raised. A handle held before is closed first.
    void Create(bool manualReset, SECURITY_ATTRIBUTES* securityAttributes, const std::wstring& name);
    void Destroy();
    // Arms with the resume flag. Refuses (false, LastError set, nothing
    // called) when Handle is null, so a failed Create is not mistaken for a
    // pending expiry; also false when the system does not accept the due time.
    bool Start();
    bool Stop();
    TWaitResult WaitFor(std::uint32_t timeoutMs);
};

// The universal file time of a local wall-clock moment, by the time-zone
// rules in force at that moment (not those of today): a wake on the far side
// of a daylight-saving change still comes at the chosen wall-clock time.
// nullopt for moments the system cannot represent (before 1601).
std::optional<FILETIME> LocalMomentToUtcFileTime(TDateTime local);
// The same in a given zone instead of the user's.
std::optional<FILETIME> LocalMomentToUtcFileTime(TDateTime local, const DYNAMIC_TIME_ZONE_INFORMATION& zone);

// The user's zone as a function: local minus universal seconds in force at
// a universal moment (seconds since 1601); and a local moment in seconds on
// that scale (nullopt before 1601).
std::function<std::int64_t(std::int64_t)> UserZoneOffsets();
std::optional<std::int64_t> LocalSecondsOf(TDateTime local);

// Real time: seconds of universal time since 1601, the scale every wait for
// a moment is measured on, so that neither a daylight-saving change nor a
// clock set by hand moves a power-down away from the wall-clock moment it
// was set for.
double RealSecondsNow();
double RealSecondsOf(const FILETIME& utc);
// A local wall-clock moment in real seconds, by the zone's rules at it.
std::optional<double> RealSecondsOfLocal(TDateTime local);
// The absolute due time SetWaitableTimer takes for a real moment, rounded up
// so that the timer never fires before it.
std::int64_t DueTicksOf(double realSeconds);

}  // namespace zelvar
