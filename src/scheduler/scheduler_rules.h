#pragma once
// The weekly scheduler's decisions: the next off and wake moments from the
// schedule, what one tick of Scheduler_Timer does, and which grid cells show
// the next moments.
//
// Moments are kept as the wall clock shows them (date and time of day apart),
// but every "is it ahead, how far" question is answered in real time, so a
// clock change for daylight saving neither fires a moment twice nor an hour
// early. The host says how local moments map to real time; ComputeNextSchedule
// and DecideSchedulerTick must be given the same clock.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/ini.h"
#include "common/locale_format.h"
#include "power/power_cycle_rules.h"

namespace zelvar {

// A moment of the weekly scheduler as it keeps it: date and time of day apart.
struct ScheduledMoment {
    bool Has = false;
    TDateTime Date = 0;
    TDateTime Time = 0;
};

struct ScheduleClock {
    TDateTime localNow = 0;  // what the wall clock shows now
    double realNow = 0;      // the same instant in real seconds (UTC, any fixed epoch)
    // A local moment in real seconds on the scale of realNow, resolved across
    // clock changes: a skipped local time with the offset before the change,
    // a repeated one as its first occurrence. nullopt (or no function): the
    // wall-clock distance from localNow stands in.
    std::function<std::optional<double>(TDateTime local)> realSecondsOf;

    // Real seconds from now to a local moment; negative once it has passed.
    double SecondsUntil(TDateTime local) const;
};
// A clock that is never changed: the wall clock is real time.
ScheduleClock WallClock(TDateTime localNow);

// A scheduled moment joined as the program joins dates and times: written in
// the locale's short date and long time formats and read back (whole seconds).
TDateTime ScheduledLocalMoment(const ScheduledMoment& moment, const LocaleFormats& formats);

// The scheduler as the power cycle reads it: running or not, and its next
// moments joined as ScheduledLocalMoment joins them.
ScheduleReading CycleScheduleReading(bool running, const ScheduledMoment& nextOff, const ScheduledMoment& nextOn,
                                     const LocaleFormats& formats);

// The six shared values: NextOffDate/NextOffTime/HasNextOff in off,
// NextOnDate/NextOnTime/HasNextOn in on.
struct NextSchedule {
    ScheduledMoment off;
    ScheduledMoment on;
};

// For each direction on its own, the earliest ticked moment of the schedule
// strictly after now, at most a week ahead: today's time counts only while it
// is still ahead (the time exactly now has passed), a passed one comes again
// in a week. A direction counts as ticked on a day only for a tick of exactly
// "1" and a time text that reads; a day that fails this does not stop the
// search. Reads the days from today to Sunday, then Monday to today, and stops
// once both directions are found. A direction not found has Has false and
// Date and Time 0.
NextSchedule ComputeNextSchedule(const ScheduleClock& clock, const IniStore& schedule, const LocaleFormats& formats);

// The wake time of day of each weekday, [0] Monday ... [6] Sunday: a day's
// on time counts as the engine counts it (a tick of exactly "1" and a time
// that reads), so the wake task wakes the machine for every moment the
// scheduler can find.
std::array<std::optional<TDateTime>, 7> WeekWakeTimes(const IniStore& schedule, const LocaleFormats& formats);

// The tick's hand-over window: a moment at most this far ahead (and not yet
// passed) goes to the power cycle, which waits out the rest.
inline constexpr double kHandOverLeadSeconds = 10;

// What one tick sees.
struct SchedulerTickInput {
    ScheduledMoment nextOff;
    ScheduledMoment nextOn;
    std::optional<TDateTime> planOff;  // the one-shot plan's off moment while Panel6 shows
    bool countdownVisible = false;     // TCountForm shown
    bool countdownBySchedule = false;  // CountdownBySchedule
    // The interval timercnt was set to while it runs; nullopt when it is off.
    std::optional<std::uint32_t> runningCountdownMs;
};

// What the tick does, in this order: drop the countdown, recompute, aim the
// countdown, hand over.
struct SchedulerTickDecision {
    // The off moment the scheduler's countdown aimed at has passed without a
    // hand-over: kill timercnt and clear CountdownBySchedule.
    bool dropCountdown = false;
    // With dropCountdown: the countdown window shows for that moment only;
    // hide it and reset it to "00:30".
    bool hideCountdownWindow = false;
    // With dropCountdown, while a one-shot plan's off lies ahead: aim timercnt
    // back at it as its cycle does (CountdownReaim := !lastStep,
    // CountdownOffMoment := the plan's off moment).
    std::optional<CountdownStep> planCountdown;
    // A moment passed without a hand-over, or the wake came while the machine
    // runs: ComputeNextSchedule now and repaint StringGrid1, before anything
    // below.
    bool recompute = false;
    // The off moment is the one that passed without a hand-over (for the log).
    bool offSkipped = false;
    // Aim timercnt at the next off: this interval, enabled, and
    // CountdownBySchedule := true (and CountdownArmedDirectly).
    std::optional<std::uint32_t> countdownMs;
    // countdownMs differs from the running interval, or timercnt is off: set
    // it anew (this restarts its count). Otherwise leave the running one alone.
    bool countdownRestarts = false;
    // The off moment is within the hand-over window, or 31 seconds or less
    // away with no countdown armed or shown for it: stop Scheduler_Timer,
    // CycleAbort := false, destroy both timers, CountdownBySchedule := false,
    // RunPowerCycle.
    bool handOver = false;

    friend bool operator==(const SchedulerTickDecision&, const SchedulerTickDecision&) = default;
};

// One tick of Scheduler_Timer. The off moment is watched while HasNextOff:
// the countdown is aimed at it (31 s before) unless a one-shot plan's off is
// as near or nearer, and it is handed over at most 10 s ahead (at once when
// it is found too late for the countdown to be armed); once passed
// without a hand-over it is skipped, never acted on late. The wake moment is
// watched while HasNextOn: when it comes while the machine runs it counts as
// met and the moments are recomputed, so the next hand-over carries the next
// wake. Only the off moment hands over.
SchedulerTickDecision DecideSchedulerTick(const ScheduleClock& clock, const SchedulerTickInput& tick,
                                          const LocaleFormats& formats);

// Which moment a week-grid cell shows.
enum class GridCellMark { None, NextOff, NextOn };

// StringGrid1's highlight for one cell (row 1 ... 7 is the day, column 3 the
// off time, column 4 the on time), from the moments alone: the cell of the
// next moment's weekday, unless the moment is on today's weekday with its
// time of day reached (the moment is then a week ahead). A moment not found
// marks nothing.
GridCellMark WeekGridCellMark(int column, int row, TDateTime now, const ScheduledMoment& nextOff,
                              const ScheduledMoment& nextOn);

}  // namespace zelvar
