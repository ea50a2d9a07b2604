#include <gtest/gtest.h>

#include "moments.h"

#include "power/oneshot_rules.h"

using namespace zelvar;
using zelvar::testing::At;

namespace {

// A plan entered on 7 March 2026 at 21:05:09.400.
PlanInput Plan(TDateTime offDate, TDateTime offTime) {
    PlanInput p;
    p.now = At(2026, 3, 7, 21, 5, 9, 400);
    p.offDate = offDate;
    p.offTime = offTime;
    return p;
}
PlanInput WithWake(PlanInput p, TDateTime wakeDate, TDateTime wakeTime) {
    p.wakeTicked = true;
    p.wakeDate = wakeDate;
    p.wakeTime = wakeTime;
    return p;
}

class PlanChecks : public ::testing::TestWithParam<LocaleFormats> {};
}  // namespace

TEST_P(PlanChecks, OffMomentTodayAndNowAreBoundaries) {
    const LocaleFormats f = GetParam();
    const TDateTime today = At(2026, 3, 7), tomorrow = At(2026, 3, 8), yesterday = At(2026, 3, 6);
    // The current second itself is accepted; the milliseconds of now do not count.
    EXPECT_EQ(CheckPlan(Plan(today, At(1900, 1, 1, 21, 5, 9)), f), PlanFault::None);
    EXPECT_EQ(CheckPlan(Plan(today, At(1900, 1, 1, 21, 5, 8)), f), PlanFault::OffTimeBeforeNow);
    EXPECT_EQ(CheckPlan(Plan(yesterday, At(1900, 1, 1, 23, 0, 0)), f), PlanFault::OffDateBeforeToday);
    EXPECT_EQ(CheckPlan(Plan(tomorrow, At(1900, 1, 1, 0, 0, 0)), f), PlanFault::None);
    // An unticked wake row is not looked at.
    EXPECT_EQ(CheckPlan(Plan(tomorrow, At(1900, 1, 1, 1, 0, 0)), f), PlanFault::None);
}

TEST_P(PlanChecks, WakeRowBoundaries) {
    const LocaleFormats f = GetParam();
    const TDateTime today = At(2026, 3, 7), tomorrow = At(2026, 3, 8);
    const PlanInput offTonight = Plan(today, At(1900, 1, 1, 23, 0, 0));
    // A wake needs two minutes after the off moment to find the machine down,
    // also across midnight.
    EXPECT_EQ(CheckPlan(WithWake(offTonight, today, At(1900, 1, 1, 23, 0, 0)), f), PlanFault::WakeTooSoonAfterOff);
    EXPECT_EQ(CheckPlan(WithWake(offTonight, today, At(1900, 1, 1, 23, 1, 59)), f), PlanFault::WakeTooSoonAfterOff);
    EXPECT_EQ(CheckPlan(WithWake(offTonight, today, At(1900, 1, 1, 23, 2, 0)), f), PlanFault::None);
    const PlanInput offAtMidnight = Plan(today, At(1900, 1, 1, 23, 59, 30));
    EXPECT_EQ(CheckPlan(WithWake(offAtMidnight, tomorrow, At(1900, 1, 1, 0, 1, 29)), f),
              PlanFault::WakeTooSoonAfterOff);
    EXPECT_EQ(CheckPlan(WithWake(offAtMidnight, tomorrow, At(1900, 1, 1, 0, 1, 30)), f), PlanFault::None);
    EXPECT_EQ(CheckPlan(WithWake(offTonight, today, At(1900, 1, 1, 22, 59, 59)), f), PlanFault::WakeTimeBeforeOffTime);
    EXPECT_EQ(CheckPlan(WithWake(offTonight, tomorrow, At(1900, 1, 1, 7, 0, 0)), f), PlanFault::None);
    EXPECT_EQ(CheckPlan(WithWake(offTonight, today, At(1900, 1, 1, 21, 5, 8)), f), PlanFault::WakeTimeBeforeNow);
    EXPECT_EQ(CheckPlan(WithWake(offTonight, At(2026, 3, 6), At(1900, 1, 1, 23, 30, 0)), f),
              PlanFault::WakeDateBeforeToday);
    // A wake date before the off date is refused even with a later time of day.
    const PlanInput offInTwoDays = Plan(At(2026, 3, 9), At(1900, 1, 1, 6, 0, 0));
    EXPECT_EQ(CheckPlan(WithWake(offInTwoDays, tomorrow, At(1900, 1, 1, 23, 0, 0)), f),
              PlanFault::WakeDateBeforeOffDate);
}

INSTANTIATE_TEST_SUITE_P(Locales, PlanChecks, ::testing::Values(RussianFormats(), UsEnglishFormats(), GermanFormats()));

TEST(CountdownText, CountsFromSixtyAndThirtyDownToZero) {
    EXPECT_EQ(CountdownText(60), L"00:60");
    EXPECT_EQ(CountdownText(59), L"00:59");
    EXPECT_EQ(CountdownText(30), L"00:30");
    EXPECT_EQ(CountdownText(10), L"00:10");
    EXPECT_EQ(CountdownText(9), L"00:09");
    EXPECT_EQ(CountdownText(0), L"00:00");
    // What a screen reader reads: the seconds in the sentence, after one
    // without a place for them, or the count when the language has none.
    EXPECT_EQ(CountdownAlertText(L"Seconds left: %1. Esc cancels.", 30), L"Seconds left: 30. Esc cancels.");
    EXPECT_EQ(CountdownAlertText(L"Seconds left:", 7), L"Seconds left: 7");
    EXPECT_EQ(CountdownAlertText(L"", 60), L"00:60");
}
