#include <gtest/gtest.h>

#include "power/power_cycle_rules.h"

using namespace zelvar;

namespace {

TDateTime At(int y, int mo, int d, int h, int mi, int s = 0) { return *EncodeDateTime({y, mo, d, h, mi, s, 0}); }

const TDateTime kPlanOff = At(2026, 12, 9, 22, 0);
const TDateTime kPlanWake = At(2026, 12, 10, 7, 30);

CycleMomentSources Plan(bool wakeTicked) {
    CycleMomentSources s;
    s.planArmed = true;
    s.planOff = kPlanOff;
    s.planWake = kPlanWake;
    s.wakeTicked = wakeTicked;
    return s;
}

CycleMomentSources WithSchedule(CycleMomentSources s, std::optional<TDateTime> off, std::optional<TDateTime> on) {
    s.schedulerActive = true;
    s.hasNextOff = off.has_value();
    s.nextOff = off.value_or(0);
    s.hasNextOn = on.has_value();
    s.nextOn = on.value_or(0);
    return s;
}

}  // namespace

TEST(PowerCycleMoments, PlanAloneKeepsItsPickersWhateverTheTicksSay) {
    const CycleMoments m = MergeCycleMoments(Plan(false));
    EXPECT_EQ(m.off, kPlanOff);
    EXPECT_EQ(m.wake, kPlanWake);
    EXPECT_FALSE(m.schedulerMomentTaken);
}

TEST(PowerCycleMoments, NoSourceLeavesBothUnset) {
    CycleMomentSources s = Plan(true);
    s.planArmed = false;
    const CycleMoments m = MergeCycleMoments(s);
    EXPECT_FALSE(m.off);
    EXPECT_FALSE(m.wake);
    EXPECT_FALSE(m.schedulerMomentTaken);
    EXPECT_EQ(SecondsToOff(kPlanOff, m.off), 0);
}

TEST(PowerCycleMoments, InactiveSchedulerIsIgnored) {
    CycleMomentSources s = WithSchedule(Plan(true), At(2026, 12, 9, 21, 0), At(2026, 12, 10, 6, 0));
    s.schedulerActive = false;
    const CycleMoments m = MergeCycleMoments(s);
    EXPECT_EQ(m.off, kPlanOff);
    EXPECT_EQ(m.wake, kPlanWake);
    EXPECT_FALSE(m.schedulerMomentTaken);
}

TEST(PowerCycleMoments, SchedulerAloneGivesBothMoments) {
    CycleMomentSources s = WithSchedule(Plan(false), At(2026, 12, 9, 21, 0), At(2026, 12, 10, 6, 0));
    s.planArmed = false;
    const CycleMoments m = MergeCycleMoments(s);
    EXPECT_EQ(m.off, At(2026, 12, 9, 21, 0));
    EXPECT_EQ(m.wake, At(2026, 12, 10, 6, 0));
    EXPECT_TRUE(m.schedulerMomentTaken);

    // Only a wake scheduled: the wake alone marks the cycle as taken.
    s = WithSchedule(Plan(false), std::nullopt, At(2026, 12, 10, 6, 0));
    s.planArmed = false;
    const CycleMoments w = MergeCycleMoments(s);
    EXPECT_FALSE(w.off);
    EXPECT_EQ(w.wake, At(2026, 12, 10, 6, 0));
    EXPECT_TRUE(w.schedulerMomentTaken);
}

TEST(PowerCycleMoments, EarlierOffWinsAndTieStaysWithThePlan) {
    const CycleMoments earlier = MergeCycleMoments(WithSchedule(Plan(true), At(2026, 12, 9, 21, 0), std::nullopt));
    EXPECT_EQ(earlier.off, At(2026, 12, 9, 21, 0));
    EXPECT_TRUE(earlier.schedulerMomentTaken);

    const CycleMoments later = MergeCycleMoments(WithSchedule(Plan(true), At(2026, 12, 9, 23, 0), std::nullopt));
    EXPECT_EQ(later.off, kPlanOff);
    EXPECT_FALSE(later.schedulerMomentTaken);

    const CycleMoments tie = MergeCycleMoments(WithSchedule(Plan(true), kPlanOff, std::nullopt));
    EXPECT_EQ(tie.off, kPlanOff);
    EXPECT_FALSE(tie.schedulerMomentTaken);
}

TEST(PowerCycleMoments, WakeComparedOnlyWhenThePlanHasAWakeTick) {
    // Ticked wake: the earlier of the two, a tie stays with the plan.
    const auto early = MergeCycleMoments(WithSchedule(Plan(true), std::nullopt, At(2026, 12, 10, 6, 0)));
    EXPECT_EQ(early.wake, At(2026, 12, 10, 6, 0));
    EXPECT_TRUE(early.schedulerMomentTaken);
    const auto late = MergeCycleMoments(WithSchedule(Plan(true), std::nullopt, At(2026, 12, 10, 9, 0)));
    EXPECT_EQ(late.wake, kPlanWake);
    EXPECT_FALSE(late.schedulerMomentTaken);
    const auto tie = MergeCycleMoments(WithSchedule(Plan(true), std::nullopt, kPlanWake));
    EXPECT_EQ(tie.wake, kPlanWake);
    EXPECT_FALSE(tie.schedulerMomentTaken);

    // Unticked wake: the scheduled wake is taken even when it is later.
    const auto unticked = MergeCycleMoments(WithSchedule(Plan(false), std::nullopt, At(2026, 12, 10, 9, 0)));
    EXPECT_EQ(unticked.wake, At(2026, 12, 10, 9, 0));
    EXPECT_TRUE(unticked.schedulerMomentTaken);
}

TEST(PowerCycleMoments, DirectionsAreMergedIndependently) {
    // Off from the plan, wake from the scheduler.
    const auto m = MergeCycleMoments(WithSchedule(Plan(true), At(2026, 12, 9, 23, 0), At(2026, 12, 10, 6, 0)));
    EXPECT_EQ(m.off, kPlanOff);
    EXPECT_EQ(m.wake, At(2026, 12, 10, 6, 0));
    EXPECT_TRUE(m.schedulerMomentTaken);
}

TEST(PowerCycleWait, SecondsToOffRoundsAndCountsPastMoments) {
    const TDateTime off = At(2026, 12, 9, 22, 0);
    const TDateTime second = 1.0 / kSecondsPerDay;
    EXPECT_EQ(SecondsToOff(off - 10 * second, off), 10);
    EXPECT_EQ(SecondsToOff(off + 10 * second, off), 10);  // past: positive too
    EXPECT_EQ(SecondsToOff(off - 0.4 * second, off), 0);
    EXPECT_EQ(SecondsToOff(off - 0.6 * second, off), 1);
}

TEST(PowerCycleCountdown, ArmedFromThirtyTwoSecondsOn) {
    EXPECT_FALSE(NextCountdownStep(0));
    EXPECT_FALSE(NextCountdownStep(31));
    EXPECT_EQ(NextCountdownStep(32), (CountdownStep{1000, true}));
    EXPECT_EQ(NextCountdownStep(3600), (CountdownStep{3569000, true}));
    // A visible countdown is left alone.
    EXPECT_FALSE(CycleCountdownStep(true, 3600));
    EXPECT_EQ(CycleCountdownStep(false, 3600), (CountdownStep{3569000, true}));
}

TEST(PowerCycleCountdown, FarMomentsAreAimedInSteps) {
    const std::int64_t longestSingle = kMaxCountdownStepMs / 1000 + 31;
    EXPECT_EQ(NextCountdownStep(longestSingle), (CountdownStep{(kMaxCountdownStepMs / 1000) * 1000, true}));
    const std::uint32_t longestStep = (kMaxCountdownStepMs / 1000) * 1000;
    EXPECT_EQ(NextCountdownStep(longestSingle + 1), (CountdownStep{longestStep, false}));
    // Beyond a 32-bit millisecond count (about 49.7 days): a step, never a wrapped interval.
    const std::int64_t sixtyDays = 60LL * 86400;
    auto step = NextCountdownStep(sixtyDays);
    ASSERT_TRUE(step);
    EXPECT_EQ(*step, (CountdownStep{longestStep, false}));

    // Re-aimed with what is left after each step, the steps end on the
    // 31-second mark.
    std::int64_t leftMs = sixtyDays * 1000;
    int steps = 0;
    while (step) {
        leftMs -= step->intervalMs;
        ++steps;
        if (step->lastStep) break;
        step = NextCountdownStep(leftMs / 1000);
    }
    EXPECT_EQ(leftMs, 31000);
    EXPECT_EQ(steps, 3);
}

TEST(PowerCycleWait, OffWaitAndWakeTimerConditions) {
    EXPECT_TRUE(OffWaitRuns(true, false, false));
    EXPECT_TRUE(OffWaitRuns(false, true, true));
    EXPECT_FALSE(OffWaitRuns(false, true, false));
    EXPECT_FALSE(OffWaitRuns(false, false, true));  // stale scheduler values of a stopped scheduler

    EXPECT_TRUE(WakeTimerArmed(true, false, false, true));
    EXPECT_TRUE(WakeTimerArmed(false, true, true, true));
    EXPECT_FALSE(WakeTimerArmed(false, true, false, true));
    EXPECT_FALSE(WakeTimerArmed(false, false, true, true));
    // A wake tick without any wake moment arms nothing rather than a long-past one.
    EXPECT_FALSE(WakeTimerArmed(true, false, false, false));
}

TEST(PowerCycleAction, EveryRowOfTheTable) {
    struct Row { bool offTicked; bool mustWake; int mode; PowerAction action; };
    const Row rows[] = {
        {true, true, 0, PowerAction::Hibernate},    // a wake always hibernates, even on "power off"
        {true, true, 1, PowerAction::Hibernate},
        {true, true, -1, PowerAction::Hibernate},
        {true, false, 0, PowerAction::PowerOff},
        {true, false, 1, PowerAction::Hibernate},
        {true, false, -1, PowerAction::None},
        {false, false, 0, PowerAction::Hibernate},  // scheduler alone never powers off
        {false, true, 0, PowerAction::Hibernate},
        {false, false, -1, PowerAction::Hibernate},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ChoosePowerAction(r.offTicked, r.mustWake, r.mode), r.action)
            << "offTicked " << r.offTicked << " mustWake " << r.mustWake << " mode " << r.mode;
}
