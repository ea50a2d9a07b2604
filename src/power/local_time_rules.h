#pragma once
// Turning a local wall-clock moment into a universal one when the clock is
// moved for daylight saving. Around a change some local times do not exist
// (the clock jumps over them) and some exist twice (the clock goes back).
#include <cstdint>
#include <functional>

namespace zelvar {

enum class LocalTimeKind {
    Unique,    // exactly one universal moment shows this local time
    Skipped,   // the clock jumped over it
    Repeated,  // the clock showed it twice
};

struct ResolvedLocalTime {
    std::int64_t utcSeconds = 0;
    LocalTimeKind kind = LocalTimeKind::Unique;
};

// offsetAt(utcSeconds) gives local minus universal time, in seconds, in
// force at that universal moment (both counts share one epoch).
//
// A skipped local time is read with the offset in force before the change,
// so it lands as far after the change as it lies after the jump's start
// (02:30 on a spring-forward night at 02:00 becomes 03:30 new time). A
// repeated local time is the first time the clock shows it. Either way a
// wake comes at the first moment the clock reads the chosen time or later,
// never an hour early.
ResolvedLocalTime ResolveLocalTime(std::int64_t localSeconds,
                                   const std::function<std::int64_t(std::int64_t)>& offsetAt);

}  // namespace zelvar
