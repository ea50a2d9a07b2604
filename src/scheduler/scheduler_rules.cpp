#include "scheduler/scheduler_rules.h"

#include <cmath>

#include "scheduler/schedule_file.h"
#include "scheduler/schedule_time.h"

namespace zelvar {
namespace {

// |seconds| rounded to the nearest whole second, halves to even, as every
// distance of the program is measured.
std::int64_t Distance(double seconds) { return static_cast<std::int64_t>(std::nearbyint(std::fabs(seconds))); }

// Real milliseconds from now to a moment: passed at 0 or less, and the
// hand-over window's edge is the same for every clock's rounding noise.
std::int64_t MillisecondsUntil(const ScheduleClock& clock, TDateTime local) {
    return std::llround(clock.SecondsUntil(local) * 1000);
}

constexpr std::int64_t kHandOverLeadMs = static_cast<std::int64_t>(kHandOverLeadSeconds * 1000);

constexpr ScheduleDirection kDirections[] = {ScheduleDirection::Off, ScheduleDirection::On};

}  // namespace

double ScheduleClock::SecondsUntil(TDateTime local) const {
    if (realSecondsOf)
        if (const std::optional<double> real = realSecondsOf(local)) return *real - realNow;
    return (local - localNow) * kSecondsPerDay;
}

ScheduleClock WallClock(TDateTime localNow) { return {localNow, localNow * kSecondsPerDay, {}}; }

TDateTime ScheduledLocalMoment(const ScheduledMoment& moment, const LocaleFormats& formats) {
    // A locale whose text does not read back still yields the same moment.
    if (auto m = ComposeMoment(moment.Date, moment.Time, formats)) return *m;
    return WholeSeconds(CombineDateAndTime(moment.Date, moment.Time));
}

ScheduleReading CycleScheduleReading(bool running, const ScheduledMoment& nextOff, const ScheduledMoment& nextOn,
                                     const LocaleFormats& formats) {
    ScheduleReading reading;
    reading.active = running;
    if (nextOff.Has) reading.nextOff = ScheduledLocalMoment(nextOff, formats);
    if (nextOn.Has) reading.nextOn = ScheduledLocalMoment(nextOn, formats);
    return reading;
}

NextSchedule ComputeNextSchedule(const ScheduleClock& clock, const IniStore& schedule, const LocaleFormats& formats) {
    const int today = IsoWeekday(clock.localNow);
    const TDateTime todayDate = DateOf(clock.localNow);
    NextSchedule next;
    auto slot = [&next](ScheduleDirection d) -> ScheduledMoment& {
        return d == ScheduleDirection::Off ? next.off : next.on;
    };
    auto bothFound = [&next] { return next.off.Has && next.on.Has; };

    // One day of the search; offsetDays is how far the day lies from today.
    auto consider = [&](int day, int offsetDays) {
        const ScheduleDay texts = ReadScheduleDay(schedule, day);
        for (ScheduleDirection d : kDirections) {
            ScheduledMoment& found = slot(d);
            if (found.Has || !TickedForEngine(texts.Tick(d))) continue;
            const std::optional<TDateTime> time = ReadScheduleTime(texts.Time(d), formats);
            if (!time) continue;  // unreadable: not ticked, the rest of the week still counts
            const ScheduledMoment candidate{true, todayDate + offsetDays, *time};
            // Only today's time can lie behind now; the exact present second has passed.
            if (offsetDays == 0 && MillisecondsUntil(clock, ScheduledLocalMoment(candidate, formats)) <= 0) continue;
            found = candidate;
        }
    };

    for (int day = today; day <= 7 && !bothFound(); ++day) consider(day, day - today);
    for (int day = 1; day <= today && !bothFound(); ++day) consider(day, day - today + 7);
    return next;
}

std::array<std::optional<TDateTime>, 7> WeekWakeTimes(const IniStore& schedule, const LocaleFormats& formats) {
    std::array<std::optional<TDateTime>, 7> times;
    for (int day = 1; day <= 7; ++day) {
        const ScheduleDay texts = ReadScheduleDay(schedule, day);
        if (TickedForEngine(texts.Tick(ScheduleDirection::On)))
            times[static_cast<size_t>(day - 1)] = ReadScheduleTime(texts.Time(ScheduleDirection::On), formats);
    }
    return times;
}

SchedulerTickDecision DecideSchedulerTick(const ScheduleClock& clock, const SchedulerTickInput& tick,
                                          const LocaleFormats& formats) {
    SchedulerTickDecision out;
    const std::optional<double> toPlan =
        tick.planOff ? std::optional<double>(clock.SecondsUntil(*tick.planOff)) : std::nullopt;

    // A wake that comes while the machine runs has nothing left to do; the
    // next off must carry the following one.
    if (tick.nextOn.Has && MillisecondsUntil(clock, ScheduledLocalMoment(tick.nextOn, formats)) <= 0)
        out.recompute = true;

    if (!tick.nextOff.Has) return out;
    const double toOff = clock.SecondsUntil(ScheduledLocalMoment(tick.nextOff, formats));
    const std::int64_t toOffMs = std::llround(toOff * 1000);

    if (toOffMs <= 0) {
        // Passed without a hand-over (the thread was blocked, the machine
        // slept, the clock went forward): skip it and watch the next one.
        out.recompute = true;
        out.offSkipped = true;
        if (tick.countdownBySchedule) {
            out.dropCountdown = true;
            const bool planAhead = toPlan && *toPlan > 0;
            // A plan's off inside the last 31 seconds keeps the window as its warning.
            const bool planCounting = planAhead && Distance(*toPlan) <= kCountdownLeadSeconds;
            out.hideCountdownWindow = tick.countdownVisible && !planCounting;
            if (planAhead) out.planCountdown = NextCountdownStep(Distance(*toPlan));
        }
        return out;
    }

    const std::int64_t d = Distance(toOff);
    // On equal distances the countdown stays with the one-shot plan.
    const bool nearerThanPlan = !toPlan || Distance(*toPlan) > d;
    if (!tick.countdownVisible && nearerThanPlan && d > kCountdownLeadSeconds) {
        const std::int64_t ms = (d - kCountdownLeadSeconds) * 1000;
        // Farther than one timer interval: aimed later, once it fits.
        if (ms <= kMaxCountdownStepMs) {
            out.countdownMs = static_cast<std::uint32_t>(ms);
            out.countdownRestarts = tick.runningCountdownMs != out.countdownMs;
        }
    }
    // A moment found with 31 seconds or less to go (the program or the
    // scheduler started late, a tick came late) has had no countdown: the
    // cycle takes it over at once and shows the full countdown first.
    const bool unwarned = !tick.countdownBySchedule && !tick.countdownVisible && d <= kCountdownLeadSeconds;
    out.handOver = toOffMs <= kHandOverLeadMs || unwarned;
    return out;
}

GridCellMark WeekGridCellMark(int column, int row, TDateTime now, const ScheduledMoment& nextOff,
                              const ScheduledMoment& nextOn) {
    if (row < 1 || row > 7 || (column != 3 && column != 4)) return GridCellMark::None;
    const ScheduledMoment& moment = column == 3 ? nextOff : nextOn;
    if (!moment.Has || IsoWeekday(moment.Date) != row) return GridCellMark::None;
    // Today's weekday with the time reached: the moment is next week's.
    if (IsoWeekday(now) == row && SecondsOfDay(now) >= SecondsOfDay(moment.Time)) return GridCellMark::None;
    return column == 3 ? GridCellMark::NextOff : GridCellMark::NextOn;
}

}  // namespace zelvar
