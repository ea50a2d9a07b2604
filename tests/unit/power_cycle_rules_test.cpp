#include <gtest/gtest.h>

#include "power/power_cycle_rules.h"

using namespace zelvar;

namespace {

TDateTime At(int d, int h, int mi = 0) { return *EncodeDateTime({2026, 12, d, h, mi, 0, 0}); }

const TDateTime kPlanOff = At(9, 22), kPlanWake = At(10, 7, 30);

// A plan (armed or not) with the scheduler's moments, when given.
CycleMomentSources Sources(bool planArmed, bool wakeTicked, std::optional<TDateTime> nextOff,
                           std::optional<TDateTime> nextOn, bool schedulerActive = true) {
    CycleMomentSources s{planArmed, kPlanOff, kPlanWake, wakeTicked, schedulerActive};
    s.hasNextOff = nextOff.has_value();
    s.nextOff = nextOff.value_or(0);
    s.hasNextOn = nextOn.has_value();
    s.nextOn = nextOn.value_or(0);
    return s;
}

}  // namespace

TEST(PowerCycleMoments, EarlierMomentWinsInEachDirection) {
    struct Case {
        const char* what;
        CycleMomentSources sources;
        std::optional<TDateTime> off, wake;
        bool taken;
    };
    const Case cases[] = {
        {"plan alone, pickers whatever the ticks", Sources(true, false, {}, {}), kPlanOff, kPlanWake, false},
        {"no source", Sources(false, true, {}, {}), {}, {}, false},
        {"stopped scheduler ignored", Sources(true, true, At(9, 21), At(10, 6), false), kPlanOff, kPlanWake, false},
        {"scheduler alone", Sources(false, false, At(9, 21), At(10, 6)), At(9, 21), At(10, 6), true},
        {"scheduled wake only", Sources(false, false, {}, At(10, 6)), {}, At(10, 6), true},
        {"earlier scheduled off", Sources(true, true, At(9, 21), {}), At(9, 21), kPlanWake, true},
        {"later scheduled off", Sources(true, true, At(9, 23), {}), kPlanOff, kPlanWake, false},
        {"tied off stays with the plan", Sources(true, true, kPlanOff, {}), kPlanOff, kPlanWake, false},
        {"earlier scheduled wake", Sources(true, true, {}, At(10, 6)), kPlanOff, At(10, 6), true},
        {"tied wake stays with the plan", Sources(true, true, {}, kPlanWake), kPlanOff, kPlanWake, false},
        {"unticked wake takes a later scheduled one", Sources(true, false, {}, At(10, 9)), kPlanOff, At(10, 9), true},
        {"off from the plan, wake from the scheduler", Sources(true, true, At(9, 23), At(10, 6)), kPlanOff, At(10, 6),
         true},
    };
    for (const Case& c : cases) {
        const CycleMoments m = MergeCycleMoments(c.sources);
        EXPECT_EQ(m.off, c.off) << c.what;
        EXPECT_EQ(m.wake, c.wake) << c.what;
        EXPECT_EQ(m.schedulerMomentTaken, c.taken) << c.what;
    }
}

TEST(PowerCycleCountdown, ArmedFromThirtyTwoSecondsOnWhileHidden) {
    EXPECT_FALSE(NextCountdownStep(31));
    EXPECT_EQ(NextCountdownStep(32), (CountdownStep{1000, true}));
    EXPECT_EQ(NextCountdownStep(3600), (CountdownStep{3569000, true}));
    EXPECT_FALSE(CycleCountdownStep(true, 3600));
}

TEST(PowerCycleCountdown, FarMomentsAreAimedInStepsEndingOnTheMark) {
    const std::uint32_t longestStep = (kMaxCountdownStepMs / 1000) * 1000;
    const std::int64_t longestSingle = longestStep / 1000 + 31;
    EXPECT_EQ(NextCountdownStep(longestSingle), (CountdownStep{longestStep, true}));
    EXPECT_EQ(NextCountdownStep(longestSingle + 1), (CountdownStep{longestStep, false}));

    // Beyond a 32-bit millisecond count (about 49.7 days): steps, never a
    // wrapped interval, and the last one ends 31 seconds before the moment.
    std::int64_t leftMs = 60LL * 86400 * 1000;
    int steps = 0;
    for (auto step = NextCountdownStep(leftMs / 1000); step; step = NextCountdownStep(leftMs / 1000)) {
        leftMs -= step->intervalMs;
        ++steps;
        if (step->lastStep) break;
    }
    EXPECT_EQ(leftMs, 31000);
    EXPECT_EQ(steps, 3);
}

TEST(PowerCycleWait, OffWaitAndWakeTimerConditions) {
    EXPECT_TRUE(OffWaitRuns(true, false, false));
    EXPECT_TRUE(OffWaitRuns(false, true, true));
    EXPECT_FALSE(OffWaitRuns(false, false, true));  // stale values of a stopped scheduler
    EXPECT_TRUE(WakeTimerArmed(false, true, true, true));
    EXPECT_FALSE(WakeTimerArmed(false, false, true, true));
    // A wake tick without any wake moment arms nothing rather than a long-past one.
    EXPECT_FALSE(WakeTimerArmed(true, false, false, false));
}

TEST(PowerCycleAction, EveryRowOfTheTable) {
    struct Row {
        bool offTicked;
        bool mustWake;
        int mode;
        PowerAction action;
    };
    const Row rows[] = {
        {true, true, 0, PowerAction::Hibernate},  // a wake always hibernates, even on "power off"
        {true, true, 1, PowerAction::Hibernate},
        {true, true, -1, PowerAction::Hibernate},
        {true, false, 0, PowerAction::PowerOff},
        {true, false, 1, PowerAction::Hibernate},
        {true, false, -1, PowerAction::None},
        {false, false, 0, PowerAction::Hibernate},  // the scheduler alone never powers off
        {false, true, -1, PowerAction::Hibernate},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ChoosePowerAction(r.offTicked, r.mustWake, r.mode), r.action)
            << "offTicked " << r.offTicked << " mustWake " << r.mustWake << " mode " << r.mode;
}
