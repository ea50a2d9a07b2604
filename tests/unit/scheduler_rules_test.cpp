// The weekly scheduler's decisions: the search for the next moments, one
// tick, an evening of ticks (with the thread blocked past the moment), clock
// changes, and the grid's highlight.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "power/local_time_rules.h"
#include "scheduler/schedule_time.h"
#include "scheduler/scheduler_rules.h"

using namespace zelvar;

namespace {

constexpr auto Off = ScheduleDirection::Off;
constexpr auto On = ScheduleDirection::On;
constexpr double kSecond = 1.0 / kSecondsPerDay;
const LocaleFormats kLocales[] = {RussianFormats(), UsEnglishFormats(), GermanFormats()};

// Day(1) is Monday 3 March 2025 ... Day(7) Sunday, Day(8) the next Monday.
TDateTime Day(int n) { return *EncodeDate(2025, 3, 2) + n; }
TDateTime At(int day, int h, int m = 0, double s = 0) { return Day(day) + (h * 3600 + m * 60 + s) * kSecond; }
TDateTime T(int h, int m = 0) { return *EncodeTime(h, m, 0); }
ScheduledMoment Moment(TDateTime at) { return {true, DateOf(at), TimeOf(at)}; }
// Whole-second moments compare by their seconds, free of floating noise.
std::optional<std::int64_t> Sec(std::optional<TDateTime> t) {
    if (!t) return std::nullopt;
    return std::llround(*t * kSecondsPerDay);
}
std::optional<std::int64_t> Sec(const ScheduledMoment& m, const LocaleFormats& f) {
    return m.Has ? Sec(ScheduledLocalMoment(m, f)) : std::nullopt;
}

struct Entry {
    int day;
    ScheduleDirection direction;
    const wchar_t* tick;
    int h, m;
};
// A schedule with its times written as the locale writes them.
MemoryIni File(const std::vector<Entry>& entries, const LocaleFormats& f) {
    MemoryIni ini;
    for (const Entry& e : entries) {
        ini.Write(kScheduleSection, ScheduleTickKey(e.direction, e.day), e.tick);
        ini.Write(kScheduleSection, ScheduleTimeKey(e.direction, e.day), ScheduleTimeText(T(e.h, e.m), f));
    }
    return ini;
}

}  // namespace

TEST(SchedulerSearch, NextMomentOfEachDirectionWithinAWeek) {
    struct Case {
        const char* what;
        std::vector<Entry> file;
        TDateTime now;
        std::optional<TDateTime> off, on;
    };
    const Case cases[] = {
        {"Wednesday 21:00, only Wednesday 20:00: next Wednesday", {{3, Off, L"1", 20, 0}}, At(3, 21), At(10, 20), {}},
        {"today's time still ahead", {{3, Off, L"1", 22, 0}}, At(3, 21, 59, 59.5), At(3, 22), {}},
        {"the time exactly now has passed", {{3, Off, L"1", 22, 0}}, At(3, 22), At(10, 22), {}},
        {"Sunday: the wrap pass",
         {{7, Off, L"1", 8, 0}, {1, Off, L"1", 7, 0}, {7, On, L"1", 9, 0}},
         At(7, 12),
         At(8, 7),
         At(14, 9)},
        {"directions apart: the wake first",
         {{5, Off, L"1", 22, 0}, {4, On, L"1", 7, 30}},
         At(2, 10),
         At(5, 22),
         At(4, 7, 30)},
        {"earliest of several days",
         {{6, Off, L"1", 1, 0}, {4, Off, L"1", 23, 0}, {5, Off, L"1", 0, 30}},
         At(3, 9),
         At(4, 23),
         {}},
        {"midnight of the next day", {{4, Off, L"1", 0, 0}}, At(3, 23, 59, 59), At(4, 0), {}},
        {"nothing ticked; only exactly 1 ticks",
         {{3, Off, L"0", 22, 0}, {4, Off, L"", 22, 0}, {5, Off, L"yes", 22, 0}, {6, On, L" 1", 7, 0}},
         At(3, 9),
         {},
         {}},
    };
    for (const LocaleFormats& f : kLocales)
        for (const Case& c : cases) {
            const NextSchedule next = ComputeNextSchedule(WallClock(c.now), File(c.file, f), f);
            EXPECT_EQ(Sec(next.off, f), Sec(c.off)) << f.longTime << ": " << c.what;
            EXPECT_EQ(Sec(next.on, f), Sec(c.on)) << f.longTime << ": " << c.what;
            EXPECT_EQ(next.off.Date, next.off.Has ? DateOf(next.off.Date) : 0) << "whole days, or nothing";
        }
}

TEST(SchedulerSearch, AnUnreadableTimeCostsOnlyItsOwnDirectionOfItsDay) {
    for (const LocaleFormats& f : kLocales) {
        MemoryIni ini = File({{4, Off, L"1", 22, 0}, {5, On, L"1", 6, 0}}, f);
        ini.Write(kScheduleSection, L"off_check1_3", L"1");
        ini.Write(kScheduleSection, L"off_time1_3", L"25:99:00");
        ini.Write(kScheduleSection, L"off_check2_3", L"1");
        ini.Write(kScheduleSection, L"off_time2_3", L"11:15:00 PM");  // another locale's form
        const NextSchedule next = ComputeNextSchedule(WallClock(At(3, 9)), ini, f);
        EXPECT_EQ(Sec(next.off, f), Sec(At(4, 22))) << f.longTime;
        EXPECT_EQ(Sec(next.on, f), Sec(At(3, 23, 15))) << f.longTime;
    }
}

// ---- One tick

namespace {

struct Tick {
    Tick(std::optional<TDateTime> off = {}, std::optional<TDateTime> on = {}, std::optional<TDateTime> plan = {},
         bool visible = false, bool bySchedule = false, std::optional<std::uint32_t> running = {}) {
        if (off) in.nextOff = Moment(*off);
        if (on) in.nextOn = Moment(*on);
        in.planOff = plan;
        in.countdownVisible = visible;
        in.countdownBySchedule = bySchedule;
        in.runningCountdownMs = running;
    }
    SchedulerTickInput in;
};

SchedulerTickDecision Decide(TDateTime now, const Tick& t, const LocaleFormats& f = RussianFormats()) {
    return DecideSchedulerTick(WallClock(now), t.in, f);
}
SchedulerTickDecision Make(bool handOver, bool recompute, std::optional<std::uint32_t> ms = {}, bool restarts = true) {
    SchedulerTickDecision d;
    d.handOver = handOver;
    d.recompute = recompute;
    d.countdownMs = ms;
    d.countdownRestarts = ms && restarts;
    return d;
}
const SchedulerTickDecision kNothing = Make(false, false), kHandOver = Make(true, false), kWakeMet = Make(false, true);
// The off moment passed without a hand-over: skipped (and said so), the moments recomputed.
const SchedulerTickDecision kSkip = [] {
    SchedulerTickDecision d = Make(false, true);
    d.offSkipped = true;
    return d;
}();
SchedulerTickDecision Aim(std::uint32_t ms, bool restarts = true) { return Make(false, false, ms, restarts); }

}  // namespace

TEST(SchedulerTick, CountdownAimHandOverAndSkip) {
    const TDateTime off = At(3, 22);
    auto before = [off](double s) { return off - s * kSecond; };
    struct Case {
        const char* what;
        TDateTime now;
        Tick tick;
        SchedulerTickDecision expect;
    };
    const Case cases[] = {
        {"d = 32 arms for one second", before(32), {off}, Aim(1000)},
        {"d = 31 leaves a running timercnt alone", before(31), {off, {}, {}, false, true, 1000}, kNothing},
        // Found too late for timercnt (a start, a late scheduler, a late
        // tick): the cycle takes it at once and opens the countdown itself.
        {"found 31 s ahead with no countdown", before(31), {off}, kHandOver},
        {"found 25 s ahead with no countdown", before(25), {off}, kHandOver},
        {"found 5 s ahead with no countdown", before(5), {off}, kHandOver},
        {"found 40 s ahead: the countdown in 9 s", before(40), {off}, Aim(9000)},
        {"25 s ahead, the countdown on screen", before(25), {off, {}, {}, true, true}, kNothing},
        {"d is rounded: 33.4 is 33", before(33.4), {off}, Aim(2000)},
        {"an hour away", before(3600), {off}, Aim(3569000)},
        {"the same interval leaves the running timer alone",
         before(3600),
         {off, {}, {}, false, true, 3569000},
         Aim(3569000, false)},
        {"a different one restarts it", before(3599), {off, {}, {}, false, true, 3569000}, Aim(3568000)},
        {"countdown window showing", before(3600), {off, {}, {}, true}, kNothing},
        {"plan nearer", before(3600), {off, {}, off - 60 * kSecond}, kNothing},
        {"plan as near", before(3600), {off, {}, off}, kNothing},
        {"plan farther", before(3600), {off, {}, off + 60 * kSecond}, Aim(3569000)},
        {"10.5 s ahead: not yet", before(10.5), {off, {}, {}, true, true}, kNothing},
        {"10 s ahead hands over", before(10), {off}, kHandOver},
        {"the trigger second missed, still ahead", before(3.7), {off}, kHandOver},
        {"exactly at the moment: passed, skipped", off, {off}, kSkip},
        {"the machine slept through it", before(-5 * 3600), {off}, kSkip},
        {"midnight moment", At(3, 23, 59, 55.2), {At(4, 0, 0, 5)}, kHandOver},
        {"no off moment: nothing, whatever the plan", before(3600), {{}, {}, off}, kNothing},
        {"a wake ten seconds ahead hands nothing over", before(10), {{}, off}, kNothing},
        {"a wake reached while running is met", off, {{}, off}, kWakeMet},
        {"a wake reached in the off's window: recompute, then hand over",
         off - 5 * kSecond,
         {off, off - 5 * kSecond},
         Make(true, true)},
    };
    for (const Case& c : cases) EXPECT_EQ(Decide(c.now, c.tick), c.expect) << c.what;

    // Stale values without HasNextOff/HasNextOn, ten seconds ahead, start nothing.
    SchedulerTickInput stale;
    stale.nextOff = stale.nextOn = {false, DateOf(off), TimeOf(off)};
    EXPECT_EQ(DecideSchedulerTick(WallClock(before(10)), stale, RussianFormats()), kNothing);
}

TEST(SchedulerTick, ASkippedOffDropsTheCountdownAimedAtIt) {
    const TDateTime off = At(3, 22), now = off + 3 * kSecond;
    struct Case {
        const char* what;
        Tick tick;
        bool drop, hide;
        std::optional<CountdownStep> plan;
    };
    const Case cases[] = {
        {"the plan's countdown is not ours", {off, {}, {}, true, false}, false, false, {}},
        {"ours, window showing for the passed moment", {off, {}, {}, true, true}, true, true, {}},
        {"a plan's off an hour ahead gets its countdown back",
         {off, {}, now + 3600 * kSecond, false, true},
         true,
         false,
         CountdownStep{3569000, true}},
        {"a plan's off in its last 31 seconds keeps the window",
         {off, {}, now + 20 * kSecond, true, true},
         true,
         false,
         {}},
    };
    for (const Case& c : cases) {
        const SchedulerTickDecision d = Decide(now, c.tick);
        EXPECT_TRUE(d.recompute && !d.handOver && !d.countdownMs) << c.what;
        EXPECT_EQ(d.dropCountdown, c.drop) << c.what;
        EXPECT_EQ(d.hideCountdownWindow, c.hide) << c.what;
        EXPECT_EQ(d.planCountdown, c.plan) << c.what;
    }
}

// ---- An evening of ticks every 803 ms, applied as the page applies them

namespace {

struct Evening {
    Evening(MemoryIni file, LocaleFormats f) : file(std::move(file)), f(std::move(f)) {}
    MemoryIni file;
    LocaleFormats f;
    NextSchedule next;
    std::optional<std::uint32_t> timercnt;
    TDateTime timercntSet = 0;
    bool bySchedule = false;
    std::vector<TDateTime> countdownDue, handOvers;
    std::optional<std::int64_t> wakeHandedOver;

    void Run(TDateTime from, TDateTime to, TDateTime blockedFrom = 0, TDateTime blockedTo = 0) {
        if (!next.off.Has) next = ComputeNextSchedule(WallClock(from), file, f);
        for (TDateTime now = from; now < to && handOvers.empty(); now += 0.803 * kSecond) {
            if (now >= blockedFrom && now < blockedTo) continue;
            // timercnt's message waits for a blocked thread as the tick does.
            if (timercnt && now >= timercntSet + *timercnt / 1000.0 * kSecond) {
                countdownDue.push_back(timercntSet + *timercnt / 1000.0 * kSecond);
                timercnt.reset();
            }
            const SchedulerTickInput in{next.off, next.on, std::nullopt, false, bySchedule, timercnt};
            const SchedulerTickDecision d = DecideSchedulerTick(WallClock(now), in, f);
            if (d.dropCountdown) {
                timercnt.reset();
                bySchedule = false;
            }
            if (d.recompute) next = ComputeNextSchedule(WallClock(now), file, f);
            if (d.countdownMs && d.countdownRestarts) {
                timercnt = *d.countdownMs;
                timercntSet = now;
            }
            if (d.countdownMs) bySchedule = true;
            if (d.handOver) {
                handOvers.push_back(now);
                wakeHandedOver = Sec(next.on, f);
            }
        }
    }
};

}  // namespace

TEST(SchedulerTickRun, CountdownWith31SecondsLeftThenTheCycleTenSecondsAhead) {
    for (const LocaleFormats& f : kLocales)
        for (double phase : {0.0, 0.3, 0.77}) {
            Evening e{File({{3, Off, L"1", 22, 0}, {3, On, L"1", 21, 59}, {4, On, L"1", 7, 30}}, f), f};
            e.Run(At(3, 21, 58, phase), At(3, 22, 0, 30));
            ASSERT_EQ(e.countdownDue.size(), 1u);
            EXPECT_NEAR((At(3, 22) - e.countdownDue[0]) * kSecondsPerDay, 31, 0.51) << f.longTime << phase;
            ASSERT_EQ(e.handOvers.size(), 1u);
            EXPECT_EQ(SecondsOfDay(e.handOvers[0]), SecondsOfDay(At(3, 21, 59, 50))) << f.longTime << phase;
            // The 21:59 wake came while running; the cycle carries Thursday's.
            EXPECT_EQ(e.wakeHandedOver, Sec(At(4, 7, 30))) << f.longTime << phase;
        }
}

TEST(SchedulerTickRun, AMomentPassedWhileBlockedIsSkippedAndTheNextWatched) {
    for (const LocaleFormats& f : kLocales) {
        Evening e{File({{3, Off, L"1", 22, 0}, {4, Off, L"1", 22, 0}}, f), f};
        // Blocked from before the countdown's due moment to past the off.
        e.Run(At(3, 21, 59), At(3, 22, 1), At(3, 21, 59, 20), At(3, 22, 0, 5));
        EXPECT_TRUE(e.handOvers.empty()) << f.longTime << ": never acted on late";
        EXPECT_EQ(Sec(e.next.off, f), Sec(At(4, 22))) << f.longTime;
        ASSERT_TRUE(e.timercnt) << "aimed at Thursday's off at once";
        EXPECT_NEAR((At(4, 22) - e.timercntSet) * kSecondsPerDay - *e.timercnt / 1000.0, 31, 0.51);
        e.Run(At(4, 21, 59), At(4, 22, 0, 30));
        ASSERT_EQ(e.handOvers.size(), 1u) << f.longTime;
        EXPECT_EQ(SecondsOfDay(e.handOvers[0]), SecondsOfDay(At(4, 21, 59, 50)));
    }
}

// ---- Clock changes

namespace {

// A zone whose offset (local minus real, seconds) changes once, at a real moment.
struct Zone {
    std::int64_t change, before, after;
    std::int64_t OffsetAt(std::int64_t real) const { return real < change ? before : after; }
};
// Sunday's clock jumps from 02:00 to 03:00 (spring), or goes back from 03:00 to 02:00 (autumn).
const Zone kSpring{*Sec(At(7, 2)) - 3600, 3600, 7200};
const Zone kAutumn{*Sec(At(7, 3)) - 7200, 7200, 3600};

ScheduleClock ZoneClock(const Zone& zone, double realNow) {
    ScheduleClock c;
    c.realNow = realNow;
    c.localNow = (realNow + static_cast<double>(zone.OffsetAt(std::llround(std::floor(realNow))))) * kSecond;
    c.realSecondsOf = [zone](TDateTime local) -> std::optional<double> {
        const std::int64_t seconds = std::llround(local * kSecondsPerDay);  // moments have whole seconds
        return static_cast<double>(
            ResolveLocalTime(seconds, [&zone](std::int64_t real) { return zone.OffsetAt(real); }).utcSeconds);
    };
    return c;
}
double RealAt(const Zone& zone, TDateTime local) { return *ZoneClock(zone, 0).realSecondsOf(local); }
// The countdown was armed by an earlier tick, as it is on an evening that runs.
SchedulerTickDecision DecideIn(const ScheduleClock& clock, TDateTime off, bool countdownArmed = true) {
    return DecideSchedulerTick(clock, Tick(off, {}, {}, false, countdownArmed).in, RussianFormats());
}

}  // namespace

TEST(SchedulerClockChange, DistancesAreReal) {
    // 01:00 to 04:00 is two real hours on the spring night, four on the autumn one.
    EXPECT_EQ(DecideIn(ZoneClock(kSpring, RealAt(kSpring, At(7, 1))), At(7, 4)), Aim((7200 - 31) * 1000));
    EXPECT_EQ(DecideIn(ZoneClock(kAutumn, RealAt(kAutumn, At(7, 1))), At(7, 4)), Aim((4 * 3600 - 31) * 1000));
}

TEST(SchedulerClockChange, ASkippedTimeFiresOnceAfterTheJump) {
    const MemoryIni file = File({{7, Off, L"1", 2, 30}}, RussianFormats());
    const double target = RealAt(kSpring, At(7, 3, 30));    // 02:30 read with the old offset
    for (TDateTime local : {At(7, 1, 50), At(7, 3, 10)}) {  // searched before and after the jump
        const NextSchedule next =
            ComputeNextSchedule(ZoneClock(kSpring, RealAt(kSpring, local)), file, RussianFormats());
        EXPECT_EQ(Sec(next.off, RussianFormats()), Sec(At(7, 2, 30)));
    }
    EXPECT_EQ(DecideIn(ZoneClock(kSpring, target - 11), At(7, 2, 30)), kNothing);
    EXPECT_EQ(DecideIn(ZoneClock(kSpring, target - 9.5), At(7, 2, 30)), kHandOver);
    EXPECT_EQ(DecideIn(ZoneClock(kSpring, target + 1), At(7, 2, 30), false), kSkip);
    const NextSchedule after = ComputeNextSchedule(ZoneClock(kSpring, target + 1), file, RussianFormats());
    EXPECT_EQ(Sec(after.off, RussianFormats()), Sec(At(14, 2, 30)));
}

TEST(SchedulerClockChange, ARepeatedTimeIsItsFirstShowingOnly) {
    const MemoryIni file = File({{7, Off, L"1", 2, 30}}, RussianFormats());
    const double first = RealAt(kAutumn, At(7, 2, 30));
    EXPECT_EQ(DecideIn(ZoneClock(kAutumn, first - 10), At(7, 2, 30)), kHandOver);
    // 02:10 again after the clock went back: 02:30 has been; no second cycle, no recompute loop.
    const ScheduleClock again = ZoneClock(kAutumn, first + 3600 - 20 * 60);
    EXPECT_EQ(SecondsOfDay(again.localNow), SecondsOfDay(T(2, 10)));
    EXPECT_EQ(DecideIn(again, At(7, 2, 30), false), kSkip);
    EXPECT_EQ(Sec(ComputeNextSchedule(again, file, RussianFormats()).off, RussianFormats()), Sec(At(14, 2, 30)));
}

// ---- The grid's highlight

TEST(SchedulerGrid, MarksTheNextMomentsCellByWeekdayAndTime) {
    const ScheduledMoment friOff = Moment(At(5, 22)), thuOn = Moment(At(4, 7, 30));
    struct Case {
        const char* what;
        int column, row;
        TDateTime now;
        ScheduledMoment off, on;
        GridCellMark expect;
    };
    const Case cases[] = {
        {"Friday 22:00 from Monday: row 5, column 3", 3, 5, At(1, 9), friOff, {}, GridCellMark::NextOff},
        {"same row, on column", 4, 5, At(1, 9), friOff, {}, GridCellMark::None},
        {"another row", 3, 4, At(1, 9), friOff, {}, GridCellMark::None},
        {"on its own day, a second before its time", 3, 5, At(5, 21, 59, 59), friOff, {}, GridCellMark::NextOff},
        {"on its own day, at its time", 3, 5, At(5, 22), friOff, {}, GridCellMark::None},
        {"next on, Thursday 7:30: row 4, column 4", 4, 4, At(1, 9), friOff, thuOn, GridCellMark::NextOn},
        {"the on moment's row in the off column", 3, 4, At(1, 9), {}, thuOn, GridCellMark::None},
        {"next Wednesday 20:00 on Wednesday after 20:00", 3, 3, At(3, 21), Moment(At(10, 20)), {}, GridCellMark::None},
        {"stale values without a found moment", 3, 6, At(1, 9), {false, 0, 0}, {}, GridCellMark::None},
    };
    for (const Case& c : cases) EXPECT_EQ(WeekGridCellMark(c.column, c.row, c.now, c.off, c.on), c.expect) << c.what;
}
