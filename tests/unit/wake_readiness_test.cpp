#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "power/wake_readiness.h"

using namespace zelvar;

namespace {

using Policy = std::optional<WakeTimerPolicy>;
const std::vector<std::optional<bool>> kFlags = {std::nullopt, false, true};
const std::vector<Policy> kPolicies = {std::nullopt, WakeTimerPolicy::Disabled, WakeTimerPolicy::Enabled,
                                       WakeTimerPolicy::ImportantOnly};

bool Blocking(const Policy& p) { return p == WakeTimerPolicy::Disabled || p == WakeTimerPolicy::ImportantOnly; }

// Calls f with every combination of known and unknown probe values.
template <typename F>
void ForEveryProbe(F f) {
    for (auto s4 : kFlags)
        for (auto hiber : kFlags)
            for (auto battery : kFlags)
                for (auto resume : kFlags)
                    for (const Policy& ac : kPolicies)
                        for (const Policy& dc : kPolicies) f(WakeProbeValues{s4, hiber, battery, ac, dc, resume});
}

}  // namespace

TEST(WakeReadiness, EveryCombinationNamesTheMostBasicKnownObstacle) {
    int combinations = 0;
    std::set<WakeProblem> seen;
    ForEveryProbe([&](const WakeProbeValues& v) {
        ++combinations;
        const WakeProblem p = DecideWakeReadiness(v);
        seen.insert(p);
        const bool mains = Blocking(v.onMains);
        const bool battery = Blocking(v.onBattery) && v.batteryPresent == true;
        WakeProblem want = WakeProblem::None;
        if (v.hibernationSupported == false) want = WakeProblem::NoHibernation;
        else if (v.hibernationEnabled == false) want = WakeProblem::HibernationOff;
        else if (v.resumeAccepted == false) want = WakeProblem::ResumeRefused;
        else if (mains && battery) want = WakeProblem::TimersOffBoth;
        else if (mains) want = WakeProblem::TimersOffMains;
        else if (battery) want = WakeProblem::TimersOffBattery;
        ASSERT_EQ(p, want) << "s4 " << v.hibernationSupported.value_or(2) << " hiber " << v.hibernationEnabled.value_or(2)
                           << " battery " << v.batteryPresent.value_or(2) << " resume " << v.resumeAccepted.value_or(2)
                           << " ac " << (v.onMains ? int(*v.onMains) : -1) << " dc "
                           << (v.onBattery ? int(*v.onBattery) : -1);
        // A line always has a key, and no line has none.
        EXPECT_EQ(WakeProblemKey(p).empty(), p == WakeProblem::None);
    });
    EXPECT_EQ(combinations, 3 * 3 * 3 * 3 * 4 * 4);
    EXPECT_EQ(seen.size(), 7u);  // every outcome is reachable
}

TEST(WakeReadiness, WhatIsNotKnownNeverWarns) {
    EXPECT_EQ(DecideWakeReadiness({}), WakeProblem::None);
    // Under Wine: capabilities known and fine, the scheme unreadable.
    EXPECT_EQ(DecideWakeReadiness({true, true, false, std::nullopt, std::nullopt, true}), WakeProblem::None);
    // Forgetting any one value of a combination never adds a warning.
    ForEveryProbe([](const WakeProbeValues& v) {
        if (DecideWakeReadiness(v) != WakeProblem::None) return;
        for (int field = 0; field < 6; ++field) {
            WakeProbeValues less = v;
            switch (field) {
                case 0: less.hibernationSupported.reset(); break;
                case 1: less.hibernationEnabled.reset(); break;
                case 2: less.batteryPresent.reset(); break;
                case 3: less.onMains.reset(); break;
                case 4: less.onBattery.reset(); break;
                case 5: less.resumeAccepted.reset(); break;
            }
            ASSERT_EQ(DecideWakeReadiness(less), WakeProblem::None) << field;
        }
    });
}

TEST(WakeReadiness, EveryProblemHasItsOwnLine) {
    // A value Windows may add later is no block.
    EXPECT_EQ(WakeTimerPolicyFromValue(3), std::nullopt);
    std::set<std::wstring> keys;
    for (WakeProblem p : {WakeProblem::NoHibernation, WakeProblem::HibernationOff, WakeProblem::ResumeRefused,
                          WakeProblem::TimersOffMains, WakeProblem::TimersOffBattery, WakeProblem::TimersOffBoth})
        keys.insert(std::wstring(WakeProblemKey(p)));
    EXPECT_EQ(keys.size(), 6u);
}

TEST(WakeReadiness, TestBuildOverrideReadsWhatItNamesAndNothingElse) {
    EXPECT_EQ(ParseWakeProbeOverride(L""), WakeProbeValues{});
    const WakeProbeValues hiberOff = ParseWakeProbeOverride(L"hiberfile=0");
    WakeProbeValues want;
    want.hibernationEnabled = false;
    EXPECT_EQ(hiberOff, want);
    EXPECT_EQ(DecideWakeReadiness(hiberOff), WakeProblem::HibernationOff);

    const WakeProbeValues all = ParseWakeProbeOverride(L"s4=1, hiberfile=1;battery=1,resume=0, ac=important,dc=off");
    EXPECT_EQ(all, (WakeProbeValues{true, true, true, WakeTimerPolicy::ImportantOnly, WakeTimerPolicy::Disabled, false}));
    EXPECT_EQ(ParseWakeProbeOverride(L"ac=1,dc=2").onBattery, WakeTimerPolicy::ImportantOnly);
    EXPECT_EQ(ParseWakeProbeOverride(L"ac=1,dc=2").onMains, WakeTimerPolicy::Enabled);

    // Unknown names, values and stray text leave the values unknown.
    EXPECT_EQ(ParseWakeProbeOverride(L"s4=yes,ac=maybe,colour=blue,hiberfile,=1,,;"), WakeProbeValues{});
    // The last mention wins.
    EXPECT_EQ(ParseWakeProbeOverride(L"resume=0,resume=1").resumeAccepted, true);
}
