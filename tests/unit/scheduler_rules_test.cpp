// The weekly scheduler's decisions: the search for the next moments, one
// tick of Scheduler_Timer, runs of ticks through an evening (with the thread
// blocked, the machine asleep, midnight and clock changes), and the grid's
// highlight.
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

struct Locale {
    const char* name;
    LocaleFormats formats;
};
const Locale kLocales[] = {
    {"Russian", RussianFormats()},
    {"US English", UsEnglishFormats()},
    {"German", GermanFormats()},
};

// The week of Monday 3 March 2025: Day(1) is Monday ... Day(7) Sunday, Day(8) the next Monday.
TDateTime Day(int n) { return *EncodeDate(2025, 3, 2) + n; }
TDateTime At(int day, int h, int m = 0, double s = 0) { return Day(day) + (h * 3600 + m * 60 + s) / kSecondsPerDay; }
TDateTime T(int h, int m = 0, int s = 0) { return *EncodeTime(h, m, s); }

struct Entry {
    int day;
    ScheduleDirection direction;
    const wchar_t* tick;
    int h, m, s;
};

// A schedule file with its times written as the locale writes them.
MemoryIni File(const std::vector<Entry>& entries, const LocaleFormats& f) {
    MemoryIni ini;
    for (const Entry& e : entries) {
        ini.Write(kScheduleSection, ScheduleTickKey(e.direction, e.day), e.tick);
        ini.Write(kScheduleSection, ScheduleTimeKey(e.direction, e.day), ScheduleTimeText(T(e.h, e.m, e.s), f));
    }
    return ini;
}

TDateTime MomentOf(const ScheduledMoment& m, const LocaleFormats& f) { return ScheduledLocalMoment(m, f); }
ScheduledMoment Moment(TDateTime at) { return {true, DateOf(at), TimeOf(at)}; }

// Whole-second moments compare by their seconds, free of floating noise.
std::int64_t Sec(TDateTime t) { return std::llround(t * kSecondsPerDay); }
std::optional<std::int64_t> Sec(const ScheduledMoment& m, const LocaleFormats& f) {
    if (!m.Has) return std::nullopt;
    return Sec(MomentOf(m, f));
}

}  // namespace

// ---- The search

TEST(SchedulerSearch, NextMomentOfEachDirectionWithinAWeek) {
    struct Case {
        const char* what;
        std::vector<Entry> file;
        TDateTime now;
        std::optional<TDateTime> off, on;
    };
    const Case cases[] = {
        {"Wednesday 21:00, off only Wednesday 20:00: next Wednesday", {{3, Off, L"1", 20, 0, 0}}, At(3, 21),
         At(10, 20), {}},
        {"same day, off at 22:00 still ahead: today", {{3, Off, L"1", 22, 0, 0}}, At(3, 21), At(3, 22), {}},
        {"the time exactly now has passed", {{3, Off, L"1", 22, 0, 0}}, At(3, 22), At(10, 22), {}},
        {"half a second before it is still ahead", {{3, Off, L"1", 22, 0, 0}}, At(3, 21, 59, 59.5), At(3, 22), {}},
        {"Sunday: the wrap pass finds Monday", {{7, Off, L"1", 8, 0, 0}, {1, Off, L"1", 7, 0, 0}}, At(7, 12),
         At(8, 7), {}},
        {"Sunday, only Sunday's passed time: a week on", {{7, On, L"1", 8, 0, 0}}, At(7, 12), {}, At(14, 8)},
        {"Sunday, Sunday's time ahead", {{7, On, L"1", 13, 0, 0}, {1, On, L"1", 6, 0, 0}}, At(7, 12), {}, At(7, 13)},
        {"directions independent: the wake before the off",
         {{5, Off, L"1", 22, 0, 0}, {4, On, L"1", 7, 30, 0}, {6, On, L"1", 9, 0, 0}}, At(2, 10), At(5, 22),
         At(4, 7, 30)},
        {"earliest of several days", {{6, Off, L"1", 1, 0, 0}, {4, Off, L"1", 23, 0, 0}, {5, Off, L"1", 0, 30, 0}},
         At(3, 9), At(4, 23), {}},
        {"a passed day before today waits for next week", {{1, Off, L"1", 22, 0, 0}}, At(3, 9), At(8, 22), {}},
        {"nothing ticked", {{3, Off, L"0", 22, 0, 0}, {4, On, L"0", 7, 0, 0}}, At(3, 9), {}, {}},
        {"ticks other than exactly 1 count as not ticked",
         {{3, Off, L"", 22, 0, 0}, {4, Off, L"yes", 22, 0, 0}, {5, Off, L" 1", 22, 0, 0}, {6, On, L"2", 7, 0, 0}},
         At(3, 9), {}, {}},
        {"wake ticked, no off", {{4, On, L"1", 7, 0, 0}}, At(3, 9), {}, At(4, 7)},
        {"midnight of the next day", {{4, Off, L"1", 0, 0, 0}}, At(3, 23, 59, 59), At(4, 0), {}},
    };
    for (const Locale& l : kLocales)
        for (const Case& c : cases) {
            const NextSchedule next = ComputeNextSchedule(WallClock(c.now), File(c.file, l.formats), l.formats);
            EXPECT_EQ(Sec(next.off, l.formats), c.off ? std::optional(Sec(*c.off)) : std::nullopt) << l.name << ": " << c.what;
            EXPECT_EQ(Sec(next.on, l.formats), c.on ? std::optional(Sec(*c.on)) : std::nullopt) << l.name << ": " << c.what;
            // Date and time stay apart: whole days and the time of day.
            EXPECT_EQ(next.off.Date, next.off.Has ? DateOf(next.off.Date) : 0) << c.what;
        }
}

TEST(SchedulerSearch, UnreadableOrForeignTimesDoNotStopTheRestOfTheWeek) {
    for (const Locale& l : kLocales) {
        MemoryIni ini = File({{4, Off, L"1", 22, 0, 0}, {5, On, L"1", 6, 0, 0}}, l.formats);
        // Wednesday's off time is no time, its wake another locale's form.
        ini.Write(kScheduleSection, L"off_check1_3", L"1");
        ini.Write(kScheduleSection, L"off_time1_3", L"25:99:00");
        ini.Write(kScheduleSection, L"off_check2_3", L"1");
        ini.Write(kScheduleSection, L"off_time2_3", L"11:15:00 PM");
        ini.Write(kScheduleSection, L"off_check1_6", L"1");
        ini.Write(kScheduleSection, L"off_time1_6", L"");
        const NextSchedule next = ComputeNextSchedule(WallClock(At(3, 9)), ini, l.formats);
        EXPECT_EQ(Sec(next.off, l.formats), Sec(At(4, 22))) << l.name << ": the off search goes on to Thursday";
        EXPECT_EQ(Sec(next.on, l.formats), Sec(At(3, 23, 15))) << l.name << ": a 12-hour text read under any locale";

        // A week in which every day's off is damaged finds no off, but still the wake.
        MemoryIni damaged = File({{2, On, L"1", 7, 0, 0}}, l.formats);
        for (int day = 1; day <= 7; ++day) {
            damaged.Write(kScheduleSection, ScheduleTickKey(Off, day), L"1");
            damaged.Write(kScheduleSection, ScheduleTimeKey(Off, day), day % 2 ? L"x" : L"24:00:00");
        }
        const NextSchedule some = ComputeNextSchedule(WallClock(At(3, 9)), damaged, l.formats);
        EXPECT_FALSE(some.off.Has) << l.name;
        EXPECT_EQ(Sec(some.on, l.formats), Sec(At(9, 7))) << l.name;
    }
}

TEST(SchedulerSearch, ReadsNoFurtherThanItNeeds) {
    class Counting : public MemoryIni {
    public:
        std::wstring Read(const std::wstring& s, const std::wstring& k, const std::wstring& f) const override {
            ++reads;
            return MemoryIni::Read(s, k, f);
        }
        mutable int reads = 0;
    };
    const LocaleFormats f = RussianFormats();
    Counting both;
    both.Write(kScheduleSection, L"off_check1_3", L"1");
    both.Write(kScheduleSection, L"off_time1_3", L"22:00:00");
    both.Write(kScheduleSection, L"off_check2_4", L"1");
    both.Write(kScheduleSection, L"off_time2_4", L"7:00:00");
    ComputeNextSchedule(WallClock(At(3, 9)), both, f);
    EXPECT_EQ(both.reads, 8) << "Wednesday and Thursday, four keys each";

    Counting none;
    ComputeNextSchedule(WallClock(At(3, 9)), none, f);
    EXPECT_EQ(none.reads, 8 * 4) << "Wednesday to Sunday, then Monday to Wednesday again";
}

// ---- One tick

namespace {

struct Tick {
    Tick(std::optional<TDateTime> off = {}, std::optional<TDateTime> on = {}, std::optional<TDateTime> plan = {},
         bool visible = false, bool bySchedule = false, std::optional<std::uint32_t> running = {})
        : off(off), on(on), plan(plan), visible(visible), bySchedule(bySchedule), running(running) {}
    std::optional<TDateTime> off, on;  // next moments while found
    std::optional<TDateTime> plan;     // the one-shot plan's off while armed
    bool visible, bySchedule;
    std::optional<std::uint32_t> running;
};

SchedulerTickDecision Decide(TDateTime now, const Tick& t, const LocaleFormats& f = RussianFormats()) {
    SchedulerTickInput in;
    if (t.off) in.nextOff = Moment(*t.off);
    if (t.on) in.nextOn = Moment(*t.on);
    in.planOff = t.plan;
    in.countdownVisible = t.visible;
    in.countdownBySchedule = t.bySchedule;
    in.runningCountdownMs = t.running;
    return DecideSchedulerTick(WallClock(now), in, f);
}

SchedulerTickDecision Aim(std::uint32_t ms, bool restarts = true) {
    SchedulerTickDecision d;
    d.countdownMs = ms;
    d.countdownRestarts = restarts;
    return d;
}
SchedulerTickDecision Nothing() { return {}; }
SchedulerTickDecision HandOver(bool recompute = false) {
    SchedulerTickDecision d;
    d.handOver = true;
    d.recompute = recompute;
    return d;
}
SchedulerTickDecision Recompute() {
    SchedulerTickDecision d;
    d.recompute = true;
    return d;
}

}  // namespace

TEST(SchedulerTick, CountdownIsAimedThirtyOneSecondsBeforeTheOffUnlessThePlanIsAsNear) {
    const TDateTime off = At(3, 22);
    auto before = [off](double seconds) { return off - seconds * kSecond; };
    struct Case {
        const char* what;
        TDateTime now;
        Tick tick;
        SchedulerTickDecision expect;
    };
    const Case cases[] = {
        {"d = 32 arms for one second", before(32), {off}, Aim(1000)},
        {"d = 31 leaves timercnt alone", before(31), {off}, Nothing()},
        {"d rounds to the nearest second: 33.4 is 33", before(33.4), {off}, Aim(2000)},
        {"33.6 is 34", before(33.6), {off}, Aim(3000)},
        {"an hour away", before(3600), {off}, Aim(3569000)},
        {"six days away fits one interval", before(6 * 86400.0), {off}, Aim((6 * 86400 - 31) * 1000u)},
        {"the same interval leaves the running timer alone", before(3600), {off, {}, {}, false, true, 3569000},
         Aim(3569000, false)},
        {"a different interval restarts it", before(3599), {off, {}, {}, false, true, 3569000}, Aim(3568000)},
        {"a stopped timer with that interval starts again", before(3600), {off, {}, {}, false, true, {}},
         Aim(3569000)},
        {"countdown window showing", before(3600), {off, {}, {}, true}, Nothing()},
        {"plan nearer", before(3600), {off, {}, off - 60 * kSecond}, Nothing()},
        {"plan as near", before(3600), {off, {}, off}, Nothing()},
        {"plan farther", before(3600), {off, {}, off + 60 * kSecond}, Aim(3569000)},
        {"plan's off long past counts by its distance", before(3600), {off, {}, before(7300)}, Aim(3569000)},
        {"no off moment: the plan's is not the scheduler's business", before(3600), {{}, {}, off}, Nothing()},
    };
    for (const Case& c : cases) EXPECT_EQ(Decide(c.now, c.tick), c.expect) << c.what;
}

TEST(SchedulerTick, OffHandsOverWithinTenSecondsAndIsSkippedOncePassed) {
    const TDateTime off = At(3, 22);
    auto at = [off](double secondsBefore) { return off - secondsBefore * kSecond; };
    struct Case {
        const char* what;
        TDateTime now;
        SchedulerTickDecision expect;
    };
    const Case cases[] = {
        {"10.5 s ahead: not yet", at(10.5), Nothing()},
        {"the second 21:59:50 hands over", at(10), HandOver()},
        {"a tick late in that second", at(9.2), HandOver()},
        {"a tick missed the trigger second: still handed over", at(7.7), HandOver()},
        {"a few milliseconds ahead", at(0.003), HandOver()},
        {"exactly at the moment: passed, skipped", at(0), Recompute()},
        {"just after", at(-0.4), Recompute()},
        {"the machine slept through it", at(-5 * 3600), Recompute()},
    };
    for (const Locale& l : kLocales)
        for (const Case& c : cases) EXPECT_EQ(Decide(c.now, {off}, l.formats), c.expect) << l.name << ": " << c.what;
}

TEST(SchedulerTick, MomentsInTheFirstSecondsAfterMidnightFire) {
    for (int s : {0, 5, 9}) {
        const TDateTime off = At(4, 0, 0, s);
        EXPECT_EQ(Decide(At(3, 23, 59, 50.2 + s), {off}), HandOver()) << s;
        EXPECT_EQ(Decide(off - 40 * kSecond, {off}), Aim(9000)) << s;
    }
    // The wake just after midnight is met as well.
    EXPECT_EQ(Decide(At(4, 0, 0, 1), {{}, At(4, 0)}), Recompute());
}

TEST(SchedulerTick, OnlyTheOffHandsOverAWakeComingWhileRunningIsMet) {
    const TDateTime wake = At(3, 21), off = At(3, 22);
    struct Case {
        const char* what;
        TDateTime now;
        Tick tick;
        SchedulerTickDecision expect;
    };
    const Case cases[] = {
        {"ten seconds before the wake: nothing to hand over", wake - 10 * kSecond, {{}, wake}, Nothing()},
        {"the wake reached: recompute", wake, {{}, wake}, Recompute()},
        {"the wake passed while the off is watched", wake + 2 * kSecond, {off, wake}, [] {
             SchedulerTickDecision d = Aim(3567000);
             d.recompute = true;
             return d;
         }()},
        {"stale wake values without HasNextOn never act", wake, {}, Nothing()},
        {"wake reached in the off's hand-over: the hand-over carries the next wake", off - 5 * kSecond,
         {off, off - 5 * kSecond}, HandOver(true)},
    };
    for (const Case& c : cases) EXPECT_EQ(Decide(c.now, c.tick), c.expect) << c.what;

    // HasNextOn false with values left from an earlier search exactly ten
    // seconds ahead: no cycle starts.
    SchedulerTickInput stale;
    stale.nextOn = {false, DateOf(wake), TimeOf(wake)};
    EXPECT_EQ(DecideSchedulerTick(WallClock(wake - 10 * kSecond), stale, RussianFormats()), Nothing());
    stale.nextOff = {false, DateOf(wake), TimeOf(wake)};
    EXPECT_EQ(DecideSchedulerTick(WallClock(wake - 10 * kSecond), stale, RussianFormats()), Nothing());
}

TEST(SchedulerTick, SkippedOffDropsTheCountdownAimedAtIt) {
    const TDateTime off = At(3, 22), now = off + 3 * kSecond;
    struct Case {
        const char* what;
        Tick tick;
        bool drop, hide;
        std::optional<CountdownStep> plan;
    };
    const Case cases[] = {
        {"the plan's countdown is not ours to drop", {off, {}, {}, true, false}, false, false, {}},
        {"ours, window hidden", {off, {}, {}, false, true}, true, false, {}},
        {"ours, window showing for the passed moment", {off, {}, {}, true, true}, true, true, {}},
        {"a plan's off an hour ahead gets its countdown back", {off, {}, now + 3600 * kSecond, false, true}, true,
         false, CountdownStep{3569000, true}},
        {"a plan's off in its last 31 seconds keeps the window", {off, {}, now + 20 * kSecond, true, true}, true,
         false, {}},
        {"a plan's off passed too: nothing to give back", {off, {}, now - 60 * kSecond, true, true}, true, true, {}},
    };
    for (const Case& c : cases) {
        const SchedulerTickDecision d = Decide(now, c.tick);
        EXPECT_TRUE(d.recompute) << c.what;
        EXPECT_FALSE(d.handOver) << c.what;
        EXPECT_FALSE(d.countdownMs) << c.what;
        EXPECT_EQ(d.dropCountdown, c.drop) << c.what;
        EXPECT_EQ(d.hideCountdownWindow, c.hide) << c.what;
        EXPECT_EQ(d.planCountdown, c.plan) << c.what;
    }
}

// ---- Runs of ticks, applied as the scheduler page applies them

namespace {

// The scheduler page and its timers, reduced to what the tick touches.
struct Evening {
    MemoryIni file;
    LocaleFormats f;
    NextSchedule next;
    std::optional<std::uint32_t> timercnt;  // interval while running
    TDateTime timercntSet = 0;
    bool bySchedule = false;
    std::optional<TDateTime> windowUntil;  // the countdown window shows until then
    std::vector<TDateTime> countdownOpened, handOvers;
    std::vector<NextSchedule> atHandOver;
    int recomputes = 0;
    bool handedOver = false;  // the tick is off from then on

    void Start(TDateTime now) { next = ComputeNextSchedule(WallClock(now), file, f); }

    bool WindowShows(TDateTime now) const { return windowUntil && now < *windowUntil; }

    void Tick(TDateTime now) {
        // timercnt's message waits for the thread like the tick's does.
        if (timercnt && now >= timercntSet + *timercnt / 1000.0 * kSecond) {
            countdownOpened.push_back(timercntSet + *timercnt / 1000.0 * kSecond);
            windowUntil = now + 31 * kSecond;
            timercnt.reset();
        }
        SchedulerTickInput in{next.off, next.on, std::nullopt, WindowShows(now), bySchedule, timercnt};
        const SchedulerTickDecision d = DecideSchedulerTick(WallClock(now), in, f);
        if (d.dropCountdown) {
            timercnt.reset();
            bySchedule = false;
        }
        if (d.hideCountdownWindow) windowUntil.reset();
        if (d.recompute) {
            ++recomputes;
            next = ComputeNextSchedule(WallClock(now), file, f);
        }
        if (d.countdownMs) {
            if (d.countdownRestarts) {
                timercnt = *d.countdownMs;
                timercntSet = now;
            }
            bySchedule = true;
        }
        if (d.handOver) {
            handedOver = true;
            handOvers.push_back(now);
            atHandOver.push_back(next);
            timercnt.reset();  // (the countdown itself runs on inside the cycle)
            bySchedule = false;
        }
    }

    // Ticks every 803 ms over [from, to); none between the blocked moments.
    void Run(TDateTime from, TDateTime to, TDateTime blockedFrom = 0, TDateTime blockedTo = 0) {
        for (TDateTime now = from; now < to; now += 0.803 * kSecond) {
            if (now >= blockedFrom && now < blockedTo) continue;
            if (!handedOver) Tick(now);
        }
    }
};

Evening MakeEvening(const std::vector<Entry>& entries, const LocaleFormats& f, TDateTime start) {
    Evening e;
    e.file = File(entries, f);
    e.f = f;
    e.Start(start);
    return e;
}

}  // namespace

TEST(SchedulerTickRun, CountdownOpensWith31SecondsLeftAndTheCycleStartsTenSecondsAhead) {
    for (const Locale& l : kLocales)
        for (double phase : {0.0, 0.25, 0.5, 0.77}) {
            Evening e = MakeEvening({{3, Off, L"1", 22, 0, 0}, {4, On, L"1", 7, 30, 0}}, l.formats, At(3, 21, 50));
            e.Run(At(3, 21, 58, phase), At(3, 22, 0, 30));
            ASSERT_EQ(e.countdownOpened.size(), 1u) << l.name << phase;
            EXPECT_NEAR((At(3, 22) - e.countdownOpened[0]) * kSecondsPerDay, 31, 0.51) << l.name << phase;
            ASSERT_EQ(e.handOvers.size(), 1u) << l.name << phase;
            EXPECT_EQ(SecondsOfDay(e.handOvers[0]), SecondsOfDay(At(3, 21, 59, 50))) << l.name << phase;
            EXPECT_EQ(Sec(e.atHandOver[0].on, l.formats), Sec(At(4, 7, 30))) << l.name << phase;
        }
}

TEST(SchedulerTickRun, StartedLateGivesNoCountdownButStillTheCycle) {
    Evening e = MakeEvening({{3, Off, L"1", 22, 0, 0}}, RussianFormats(), At(3, 21, 59, 45));
    e.Run(At(3, 21, 59, 45), At(3, 22, 0, 30));
    EXPECT_TRUE(e.countdownOpened.empty());
    ASSERT_EQ(e.handOvers.size(), 1u);
    EXPECT_EQ(SecondsOfDay(e.handOvers[0]), SecondsOfDay(At(3, 21, 59, 50)));

    // Started inside the last ten seconds: handed over at the first tick, never late.
    Evening late = MakeEvening({{3, Off, L"1", 22, 0, 0}}, RussianFormats(), At(3, 21, 59, 55));
    late.Run(At(3, 21, 59, 55), At(3, 22, 0, 30));
    ASSERT_EQ(late.handOvers.size(), 1u);
    EXPECT_EQ(late.handOvers[0], At(3, 21, 59, 55));
}

TEST(SchedulerTickRun, AMomentMissedWhileBlockedIsSkippedAndTheNextOneWatched) {
    for (const Locale& l : kLocales) {
        // Blocked from before the countdown to past the moment: the countdown
        // that comes due meanwhile is dropped, the moment is never acted on
        // late, and the following day's off is watched at once.
        Evening e = MakeEvening({{3, Off, L"1", 22, 0, 0}, {4, Off, L"1", 22, 0, 0}}, l.formats, At(3, 21, 50));
        e.Run(At(3, 21, 59), At(3, 22, 1), At(3, 21, 59, 20), At(3, 22, 0, 5));
        EXPECT_TRUE(e.handOvers.empty()) << l.name;
        EXPECT_FALSE(e.WindowShows(At(3, 22, 0, 6))) << l.name << ": no countdown for a moment that has gone";
        EXPECT_EQ(Sec(e.next.off, l.formats), Sec(At(4, 22))) << l.name;
        EXPECT_EQ(e.recomputes, 1) << l.name;
        // Thursday's off then goes its normal way.
        e.Run(At(4, 21, 59), At(4, 22, 0, 30));
        ASSERT_EQ(e.handOvers.size(), 1u) << l.name;
        EXPECT_EQ(SecondsOfDay(e.handOvers[0]), SecondsOfDay(At(4, 21, 59, 50))) << l.name;
    }
}

TEST(SchedulerTickRun, AfterSleepingThroughAnOffTheNextDayIsNotLost) {
    Evening e = MakeEvening({{3, Off, L"1", 22, 0, 0}, {4, Off, L"1", 22, 0, 0}, {5, Off, L"1", 22, 0, 0}},
                            GermanFormats(), At(3, 20));
    e.Run(At(3, 20), At(3, 20, 1));
    e.Run(At(5, 9), At(5, 9, 0, 2));  // asleep from Wednesday evening to Friday morning
    EXPECT_TRUE(e.handOvers.empty());
    EXPECT_EQ(Sec(e.next.off, e.f), Sec(At(5, 22)));
    ASSERT_TRUE(e.timercnt);
    EXPECT_NEAR((At(5, 22) - e.timercntSet) * kSecondsPerDay - *e.timercnt / 1000.0, 31, 0.51);
}

TEST(SchedulerTickRun, AWakeComingWhileRunningPassesTheNextWakeToTheCycle) {
    Evening e = MakeEvening({{3, On, L"1", 21, 0, 0}, {5, On, L"1", 6, 0, 0}, {3, Off, L"1", 22, 0, 0}},
                            UsEnglishFormats(), At(3, 20, 59));
    EXPECT_EQ(Sec(e.next.on, e.f), Sec(At(3, 21)));
    e.Run(At(3, 20, 59, 50), At(3, 21, 0, 10));
    EXPECT_TRUE(e.handOvers.empty()) << "a wake never starts a cycle";
    EXPECT_EQ(e.recomputes, 1);
    EXPECT_EQ(Sec(e.next.on, e.f), Sec(At(5, 6)));
    e.Run(At(3, 21, 59, 40), At(3, 22, 0, 10));
    ASSERT_EQ(e.handOvers.size(), 1u);
    EXPECT_EQ(Sec(e.atHandOver[0].on, e.f), Sec(At(5, 6))) << "the cycle arms the wake that lies ahead";
}

// ---- Clock changes

namespace {

// A zone whose offset (local minus real, seconds) changes once, at a real moment.
struct Zone {
    std::int64_t change;
    std::int64_t before, after;
    std::int64_t OffsetAt(std::int64_t real) const { return real < change ? before : after; }
};

// Central European rules on the last Sunday of March and October 2025, moved
// into our test week: Sunday 9 March 02:00 jumps to 03:00 (spring), or 03:00
// goes back to 02:00 (autumn).
const Zone kSpring{Sec(At(7, 2)) - 3600, 3600, 7200};
const Zone kAutumn{Sec(At(7, 3)) - 7200, 7200, 3600};

ScheduleClock ZoneClock(const Zone& zone, double realNow) {
    ScheduleClock c;
    c.realNow = realNow;
    c.localNow = (realNow + static_cast<double>(zone.OffsetAt(static_cast<std::int64_t>(std::floor(realNow))))) /
                 kSecondsPerDay;
    c.realSecondsOf = [zone](TDateTime local) -> std::optional<double> {
        const double seconds = local * kSecondsPerDay;
        const auto whole = static_cast<std::int64_t>(std::floor(seconds + 1e-6));
        const ResolvedLocalTime r =
            ResolveLocalTime(whole, [&zone](std::int64_t real) { return zone.OffsetAt(real); });
        return static_cast<double>(r.utcSeconds) + (seconds - static_cast<double>(whole));
    };
    return c;
}
// The real moment at which a zone's clock first shows a local time.
double RealAt(const Zone& zone, TDateTime local) { return *ZoneClock(zone, 0).realSecondsOf(local); }

SchedulerTickDecision DecideIn(const ScheduleClock& clock, TDateTime off) {
    SchedulerTickInput in;
    in.nextOff = Moment(off);
    return DecideSchedulerTick(clock, in, RussianFormats());
}

}  // namespace

TEST(SchedulerClockChange, DistancesAreRealAcrossTheChange) {
    // 01:00 to 04:00 on the spring night is two real hours, on the autumn night four.
    EXPECT_EQ(DecideIn(ZoneClock(kSpring, RealAt(kSpring, At(7, 1))), At(7, 4)), Aim((7200 - 31) * 1000));
    EXPECT_EQ(DecideIn(ZoneClock(kAutumn, RealAt(kAutumn, At(7, 1))), At(7, 4)), Aim((4 * 3600 - 31) * 1000));
}

TEST(SchedulerClockChange, ATimeTheClockSkipsFiresOnceAfterTheJump) {
    const MemoryIni file = File({{7, Off, L"1", 2, 30, 0}}, RussianFormats());
    // 02:30 does not exist on the spring night; read with the old offset it is 03:30 new time.
    const double target = RealAt(kSpring, At(7, 3, 30));
    EXPECT_NEAR(RealAt(kSpring, At(7, 2, 30)), target, 1e-3);
    for (TDateTime local : {At(7, 1, 50), At(7, 3, 10)}) {  // searched before and after the jump
        const NextSchedule next =
            ComputeNextSchedule(ZoneClock(kSpring, RealAt(kSpring, local)), file, RussianFormats());
        ASSERT_TRUE(next.off.Has);
        EXPECT_EQ(Sec(MomentOf(next.off, RussianFormats())), Sec(At(7, 2, 30)));
    }
    EXPECT_EQ(DecideIn(ZoneClock(kSpring, target - 11), At(7, 2, 30)).handOver, false);
    EXPECT_EQ(DecideIn(ZoneClock(kSpring, target - 9.5), At(7, 2, 30)), HandOver());
    EXPECT_EQ(DecideIn(ZoneClock(kSpring, target + 1), At(7, 2, 30)), Recompute());
    // After it, the search moves on a week instead of finding it again.
    const NextSchedule after = ComputeNextSchedule(ZoneClock(kSpring, target + 1), file, RussianFormats());
    EXPECT_EQ(Sec(MomentOf(after.off, RussianFormats())), Sec(At(14, 2, 30)));
}

TEST(SchedulerClockChange, ATimeTheClockShowsTwiceIsItsFirstShowingOnly) {
    const MemoryIni file = File({{7, Off, L"1", 2, 30, 0}}, RussianFormats());
    const double first = RealAt(kAutumn, At(7, 2, 30));
    const double second = first + 3600;
    EXPECT_EQ(DecideIn(ZoneClock(kAutumn, first - 10), At(7, 2, 30)), HandOver());
    // Back at 02:10 after the clock went back (the cycle over, or the machine
    // woken): 02:30 has been, so it neither fires again nor loops.
    const ScheduleClock laterNight = ZoneClock(kAutumn, second - 20 * 60);
    EXPECT_EQ(SecondsOfDay(laterNight.localNow), SecondsOfDay(T(2, 10)));
    EXPECT_EQ(DecideIn(laterNight, At(7, 2, 30)), Recompute());
    const NextSchedule next = ComputeNextSchedule(laterNight, file, RussianFormats());
    EXPECT_EQ(Sec(MomentOf(next.off, RussianFormats())), Sec(At(14, 2, 30)));
    EXPECT_EQ(DecideIn(ZoneClock(kAutumn, second - 10), At(14, 2, 30)).handOver, false);
}

// ---- The grid's highlight

TEST(SchedulerGrid, MarksTheCellOfTheNextMomentComparingTimes) {
    const ScheduledMoment friOff = Moment(At(5, 22)), thuOn = Moment(At(4, 7, 30));
    struct Case {
        const char* what;
        int column, row;
        const wchar_t* text;
        TDateTime now;
        ScheduledMoment off, on;
        GridCellMark expect;
    };
    const Case cases[] = {
        {"Friday 22:00 from Monday: row 5, column 3", 3, 5, L"22:00:00", At(1, 9), friOff, {}, GridCellMark::NextOff},
        {"the same text in the on column", 4, 5, L"22:00:00", At(1, 9), friOff, {}, GridCellMark::None},
        {"another row", 3, 4, L"22:00:00", At(1, 9), friOff, {}, GridCellMark::None},
        {"another time", 3, 5, L"22:00:01", At(1, 9), friOff, {}, GridCellMark::None},
        {"12-hour text of the same time", 3, 5, L"10:00:00 PM", At(1, 9), friOff, {}, GridCellMark::NextOff},
        {"24-hour text without the zero", 4, 4, L"7:30:00", At(1, 9), {}, thuOn, GridCellMark::NextOn},
        {"leading zero", 4, 4, L"07:30:00", At(1, 9), friOff, thuOn, GridCellMark::NextOn},
        {"empty cell", 3, 5, L"", At(1, 9), friOff, {}, GridCellMark::None},
        {"unreadable cell", 3, 5, L"25:99:00", At(1, 9), friOff, {}, GridCellMark::None},
        {"next Wednesday 20:00 on Wednesday after 20:00", 3, 3, L"20:00:00", At(3, 21), Moment(At(10, 20)), {},
         GridCellMark::None},
        {"today's 22:00 before it", 3, 3, L"22:00:00", At(3, 21), Moment(At(3, 22)), {}, GridCellMark::NextOff},
        {"stale values without a found moment", 3, 6, L"0:00:00", At(1, 9), {false, 0, 0}, {}, GridCellMark::None},
        {"heading row", 3, 0, L"22:00:00", At(1, 9), friOff, {}, GridCellMark::None},
        {"day-name column", 2, 5, L"22:00:00", At(1, 9), friOff, {}, GridCellMark::None},
    };
    for (const Locale& l : kLocales)
        for (const Case& c : cases)
            EXPECT_EQ(WeekGridCellMark(c.column, c.row, c.text, c.now, c.off, c.on, l.formats), c.expect)
                << l.name << ": " << c.what;
    // What each locale itself writes is marked under it.
    for (const Locale& l : kLocales)
        EXPECT_EQ(WeekGridCellMark(3, 5, ScheduleTimeText(T(22), l.formats), At(1, 9), friOff, {}, l.formats),
                  GridCellMark::NextOff)
            << l.name;
}
