#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <cstdint>

#include "moments.h"

#include "power/local_time_rules.h"
#include "power/off_wait_rules.h"
#include "power/standing_wake_rules.h"

using namespace zelvar;
using zelvar::testing::At;

namespace {

constexpr double kOff = 1'000'000;  // the off moment, real seconds

OffWaitDecision Look(double now, bool required, std::optional<double> warnedSince, bool visible = false,
                     bool resumed = false) {
    OffWaitInput in;
    in.now = now;
    in.off = kOff;
    in.warningRequired = required;
    if (warnedSince) in.warning = OffWarning{*warnedSince, kOff};
    in.countdownVisible = visible || warnedSince.has_value();
    in.resumed = resumed;
    return DecideOffWait(in);
}

// Waiting looks again at lookAt: 31 s before the moment while its countdown is still to come.
OffWaitDecision Wait(double due, std::optional<double> lookAt = {}) {
    return {OffWaitStep::Wait, due, lookAt.value_or(due)};
}
OffWaitDecision Act(double due) { return {OffWaitStep::Act, due, due}; }
OffWaitDecision Open(double due) { return {OffWaitStep::OpenCountdown, due, due}; }
OffWaitDecision Skip(double due) { return {OffWaitStep::Skip, due, due}; }

}  // namespace

TEST(OffWait, AFullCountdownBeforeEveryPowerDownTheUserDidNotJustChoose) {
    // A plan applied so many seconds before its moment: the last two were
    // chosen at short notice and show what is left instead.
    struct Plan {
        double ahead;
        bool shortNotice;
        std::optional<int> count;
    } plans[] = {{120, false, std::nullopt},
                 {32, false, std::nullopt},
                 {31.4, true, 31},
                 {31, true, 31},
                 {5, true, 5},
                 {0.2, true, 1},
                 {0, true, std::nullopt}};
    for (const Plan& p : plans) {
        EXPECT_EQ(PlanChosenAtShortNotice(kOff - p.ahead, kOff), p.shortNotice) << p.ahead;
        if (p.shortNotice) {
            EXPECT_EQ(ShortNoticeCount(kOff - p.ahead, kOff), p.count) << p.ahead;
        }
    }

    const struct {
        const char* what;
        OffWaitDecision got, expected;
    } cases[] = {
        {"two minutes ahead: wait, look again when the countdown is due", Look(kOff - 120, true, {}),
         Wait(kOff, kOff - 31)},
        {"31.4 s ahead, too near for timercnt: the same", Look(kOff - 31.4, true, {}), Wait(kOff, kOff - 31)},
        {"warned at 31 s: act at the moment", Look(kOff, true, kOff - 31), Act(kOff)},
        {"warned 30.4 s before: still the moment itself", Look(kOff, true, kOff - 30.4), Act(kOff)},
        {"warned late, 29 s before: one more second", Look(kOff, true, kOff - 29), Wait(kOff + 1)},
        {"scheduler at start 25 s ahead: countdown now, the moment moves", Look(kOff - 25, true, {}), Open(kOff + 5)},
        {"scheduler at start 5 s ahead", Look(kOff - 5, true, {}), Open(kOff + 25)},
        {"a late tick at the moment itself", Look(kOff + 1, true, {}), Open(kOff + 31)},
        {"a countdown for another moment warns for none", Look(kOff - 10, true, {}, true), Open(kOff + 20)},
        {"short notice: no countdown needed, act at the moment", Look(kOff, false, {}), Act(kOff)},
        {"short notice: waits out its seconds", Look(kOff - 5, false, {}), Wait(kOff)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;

    // A countdown shown for an earlier or later moment is no warning for this one.
    OffWaitInput other;
    other.now = kOff - 5;
    other.off = kOff;
    other.warning = OffWarning{kOff - 40, kOff - 60};
    EXPECT_EQ(DecideOffWait(other).step, OffWaitStep::OpenCountdown);
}

TEST(OffWait, AStaleMomentIsSkippedAndASleepRestartsTheCountdown) {
    const struct {
        const char* what;
        OffWaitDecision got, expected;
    } cases[] = {
        {"signalled on time", Look(kOff + 0.001, true, kOff - 31), Act(kOff)},
        {"2 s late", Look(kOff + 2, true, kOff - 31), Act(kOff)},
        {"5 s late: the last that is carried out", Look(kOff + 5, true, kOff - 31), Act(kOff)},
        {"60 s late", Look(kOff + 60, true, kOff - 31), Skip(kOff)},
        {"8 h late", Look(kOff + 8 * 3600, true, kOff - 31), Skip(kOff)},
        {"8 h late, a plan of short notice too", Look(kOff + 8 * 3600, false, {}), Skip(kOff)},
        {"late past a moved moment", Look(kOff + 40, true, kOff - 10), Skip(kOff + 20)},
        // After a sleep the countdown on screen has warned nobody.
        {"resumed 10 s before, countdown showing", Look(kOff - 10, true, kOff - 31, true, true), Open(kOff + 20)},
        {"resumed 3 s after, countdown showing", Look(kOff + 3, true, kOff - 31, true, true), Open(kOff + 33)},
        {"resumed an hour before: nothing to restart", Look(kOff - 3600, true, {}, false, true), Wait(kOff, kOff - 31)},
        {"resumed past the grace", Look(kOff + 6, true, kOff - 31, true, true), Skip(kOff)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
}

TEST(OffWait, TheDueTimeIsRealAcrossClockChanges) {
    // A plan applied on Saturday noon for 03:30 on Sunday: the clock jumps
    // from 02:00 to 03:00 in spring and goes back from 03:00 to 02:00 in
    // autumn, so the moment is 14.5 h or 16.5 h away, not 15.5 h.
    const auto real = [](TDateTime local, std::int64_t change, std::int64_t before, std::int64_t after) {
        return static_cast<double>(ResolveLocalTime(std::llround(local * 86400), [=](std::int64_t utc) {
                                       return utc < change ? before : after;
                                   }).utcSeconds);
    };
    const TDateTime applied = At(2026, 3, 28, 12), off = At(2026, 3, 29, 3, 30);
    const std::int64_t springChange = std::llround(At(2026, 3, 29, 2) * 86400) - 3600;
    const std::int64_t autumnChange = std::llround(At(2026, 3, 29, 3) * 86400) - 7200;
    const double nowSpring = real(applied, springChange, 3600, 7200), offSpring = real(off, springChange, 3600, 7200);
    const double nowAutumn = real(applied, autumnChange, 7200, 3600), offAutumn = real(off, autumnChange, 7200, 3600);
    EXPECT_EQ(offSpring - nowSpring, 14.5 * 3600);
    EXPECT_EQ(offAutumn - nowAutumn, 16.5 * 3600);
    OffWaitInput in;
    in.now = nowSpring;
    in.off = offSpring;
    EXPECT_EQ(DecideOffWait(in), Wait(offSpring, offSpring - 31));
}

TEST(StandingWake, KeepsTheEarliestKnownWakeAhead) {
    const TDateTime now = At(2026, 12, 8, 21), planWake = At(2026, 12, 9, 7), nextOn = At(2026, 12, 9, 7, 30);
    const struct {
        const char* what;
        StandingWakeSources sources;
        std::optional<TDateTime> expected;
    } cases[] = {
        {"nothing known", {}, std::nullopt},
        {"the plan's ticked wake", {true, true, planWake}, planWake},
        {"a plan without its wake tick", {true, false, planWake}, std::nullopt},
        {"the running scheduler's next on", {false, false, 0, true, true, nextOn}, nextOn},
        {"a stopped scheduler's", {false, false, 0, false, true, nextOn}, std::nullopt},
        {"both: the earlier", {true, true, nextOn + 1, true, true, nextOn}, nextOn},
        {"a passed one is not kept", {true, true, now - 1.0 / 86400, true, true, nextOn}, nextOn},
    };
    for (const auto& c : cases) EXPECT_EQ(StandingWakeMoment(c.sources, now), c.expected) << c.what;
}

// A wake's signs in every order: Windows' resume (automatic, then the
// user's), the wake task's word, the tick moving the standing wake on to
// next week, and a re-arming of the same moment (a clock change). The tasks
// after the wake run once, whatever came first; never for a resume far from
// the moment, nor for the task's word while the machine was awake, nor
// besides the program's own hibernation, whose cycle runs them itself.
TEST(StandingWake, AWakeRunsItsTasksOnceWhateverSignComesFirst) {
    const TDateTime local = At(2026, 12, 9, 7, 30), nextWeek = local + 7;
    const double due = 5'000'000;
    // Each event one second after the one before, from a second after the moment.
    const auto play = [&](const std::string& events, bool asleep, const OwnSleep& own = {}, double late = 1) {
        const double from = due + late;
        AfterWakeLedger ledger;
        ledger.Keep(KeptWake{local, due}, due - 3600);
        if (asleep) ledger.Suspending();
        int runs = 0;
        double now = from;
        for (char e : events) {
            std::optional<TDateTime> ran;
            switch (e) {
                case 'A':
                case 'U': ran = ledger.TakeResume(now, own); break;
                case 'T': ran = ledger.TakeTaskWake(now, local + (now - due) / 86400, own); break;
                case 'K': ledger.Keep(KeptWake{nextWeek, due + 7 * 86400}, now); break;
                case 'C': ledger.Keep(KeptWake{local, due}, now); break;
            }
            if (ran) {
                ++runs;
                EXPECT_NEAR(*ran, local, 1.0 / 86400) << events;
            }
            now += 1;
        }
        return runs;
    };
    std::string order = "ACKTU";
    do {
        EXPECT_EQ(play(order, true), 1) << order;
    } while (std::next_permutation(order.begin(), order.end()));

    EXPECT_EQ(play("KAU", false), 1) << "Windows' word alone, the suspend not seen";
    EXPECT_EQ(play("KT", false), 0) << "the task's word while the machine was awake";
    EXPECT_EQ(play("KTA", true), 1);
    EXPECT_EQ(play("AU", true, {}, -3600), 0) << "the user woke it an hour early";
    EXPECT_EQ(play("AT", true, {}, 90), 0) << "long after the moment";
    EXPECT_EQ(play("TAU", true, {true, std::nullopt}), 0) << "told while the program hibernates itself";
    EXPECT_EQ(play("KAUT", true, {false, due}), 0) << "right after its own hibernation";
    EXPECT_EQ(play("AU", true, {false, due - 600}), 1) << "long after its own hibernation";

    // A moment given up while well ahead is no wake of ours; a start by the
    // task runs the tasks itself.
    AfterWakeLedger ledger;
    ledger.Keep(KeptWake{local, due}, due - 3600);
    ledger.Keep(std::nullopt, due - 3600);
    EXPECT_FALSE(ledger.TakeResume(due + 2, {}));
    ledger.Keep(KeptWake{local, due}, due - 3600);
    ledger.StartedByTask(due + 1);
    EXPECT_FALSE(ledger.TakeResume(due + 2, {}));
}
