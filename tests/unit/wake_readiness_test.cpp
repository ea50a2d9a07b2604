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
        ASSERT_EQ(p, want) << "s4 " << v.hibernationSupported.value_or(2) << " hiber "
                           << v.hibernationEnabled.value_or(2) << " battery " << v.batteryPresent.value_or(2)
                           << " resume " << v.resumeAccepted.value_or(2) << " ac " << (v.onMains ? int(*v.onMains) : -1)
                           << " dc " << (v.onBattery ? int(*v.onBattery) : -1);
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
    EXPECT_EQ(all,
              (WakeProbeValues{true, true, true, WakeTimerPolicy::ImportantOnly, WakeTimerPolicy::Disabled, false}));
    EXPECT_EQ(ParseWakeProbeOverride(L"ac=1,dc=2").onBattery, WakeTimerPolicy::ImportantOnly);
    EXPECT_EQ(ParseWakeProbeOverride(L"ac=1,dc=2").onMains, WakeTimerPolicy::Enabled);

    // Unknown names, values and stray text leave the values unknown.
    EXPECT_EQ(ParseWakeProbeOverride(L"s4=yes,ac=maybe,colour=blue,hiberfile,=1,,;"), WakeProbeValues{});
    // The last mention wins.
    EXPECT_EQ(ParseWakeProbeOverride(L"resume=0,resume=1").resumeAccepted, true);
}

TEST(WakeFix, TheFixRemovesTheProblemItIsForAndWritesOnlyWhatBlocks) {
    ForEveryProbe([](const WakeProbeValues& v) {
        const WakeProblem before = DecideWakeReadiness(v);
        const WakeFix fix = DecideWakeFix(v);
        const bool timers = fix.kind == WakeFixKind::AllowWakeTimers;
        ASSERT_EQ(fix.kind == WakeFixKind::None, before == WakeProblem::None || before == WakeProblem::NoHibernation ||
                                                     before == WakeProblem::ResumeRefused);
        ASSERT_EQ(fix.onMains, timers && Blocking(v.onMains));
        ASSERT_EQ(fix.onBattery, timers && Blocking(v.onBattery) && v.batteryPresent == true);
        ASSERT_EQ(WakeFixCaptionKey(fix.kind).empty(), fix.kind == WakeFixKind::None);
        ASSERT_EQ(WakeFixHintKey(fix.kind).empty(), fix.kind == WakeFixKind::None);
        if (fix.kind == WakeFixKind::None) return;
        WakeProbeValues after = v;
        if (fix.kind == WakeFixKind::SwitchHibernationOn) after.hibernationEnabled = true;
        if (fix.onMains) after.onMains = WakeTimerPolicy::Enabled;
        if (fix.onBattery) after.onBattery = WakeTimerPolicy::Enabled;
        ASSERT_NE(DecideWakeReadiness(after), before);
    });
    // Hibernation first; a desktop's battery value, or one of no known battery, is left alone.
    EXPECT_EQ(DecideWakeFix(ParseWakeProbeOverride(L"hiberfile=0,ac=off")), WakeFix{WakeFixKind::SwitchHibernationOn});
    EXPECT_EQ(DecideWakeFix(ParseWakeProbeOverride(L"battery=0,ac=off,dc=off")),
              (WakeFix{WakeFixKind::AllowWakeTimers, true, false}));
    EXPECT_EQ(DecideWakeFix(ParseWakeProbeOverride(L"ac=important,dc=off")),
              (WakeFix{WakeFixKind::AllowWakeTimers, true, false}));
    EXPECT_EQ(DecideWakeFix(ParseWakeProbeOverride(L"battery=1,ac=on,dc=important")),
              (WakeFix{WakeFixKind::AllowWakeTimers, false, true}));
}

TEST(WakeFix, HowItEndedIsToldUnlessTheProblemWent) {
    using P = WakeProblem;
    const struct {
        WakeFixResult result;
        P before, after;
        std::wstring key;
    } cases[] = {
        {{0, 0}, P::HibernationOff, P::None, L""},
        {{0, 0}, P::HibernationOff, P::TimersOffMains, L""},  // the line names what is left
        {{0, 0}, P::TimersOffBoth, P::TimersOffBattery, L""},
        {{0, 0}, P::TimersOffMains, P::TimersOffMains, L"wakefixnochange"},
        {{1223, 0}, P::HibernationOff, P::HibernationOff, L"wakefixdeclined"},
        {{5, 0}, P::TimersOffBoth, P::TimersOffBoth, L"wakefixdenied"},
        {{5, 0}, P::TimersOffBoth, P::TimersOffBattery, L"wakefixdenied"},  // mains written, battery refused
        {{1314, 0}, P::TimersOffMains, P::TimersOffMains, L"wakefixdenied"},
        {{2, 0}, P::HibernationOff, P::HibernationOff, L"wakefixfailed"},
        {{120, 0}, P::TimersOffMains, P::TimersOffMains, L"wakefixfailed"},
        {{0, 1}, P::HibernationOff, P::HibernationOff, L"wakefixfailed"},
        {{0, 1}, P::HibernationOff, P::None, L""},  // it complained, yet hibernation is on
    };
    for (const auto& c : cases)
        EXPECT_EQ(WakeFixMessageKey(c.result, c.before, c.after), c.key)
            << c.result.error << "/" << c.result.exitCode << " " << int(c.before) << " -> " << int(c.after);
}
