// The wake task's definition as Windows reads it, the moment of its
// one-time trigger across a clock change, and the arguments a start carries.
#include <gtest/gtest.h>

#include <string>

#include "moments.h"

#include "app/launch.h"
#include "power/wake_task.h"

using namespace zelvar;
using zelvar::testing::At;

namespace {

size_t Count(const std::wstring& text, const std::wstring& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

bool Has(const std::wstring& text, const std::wstring& what) { return text.find(what) != std::wstring::npos; }

TEST(WakeTaskDefinition, WakesOnEachDayWithAWakeTimeAndAtThePlansWakeAsTheUser) {
    const TDateTime tuesday = At(2026, 12, 8, 21, 40);
    const WakeTaskIdentity who{L"C:\\Users\\A&B\\Zelvar\\zelvar.exe", L"S-1-5-21-7-8-9-1001", L"Wakes <this> PC"};
    WakeTaskPlan plan;
    EXPECT_TRUE(plan.Empty());
    plan.weekly[0] = *EncodeTime(7, 30, 0);  // Monday: the next Monday
    plan.weekly[1] = *EncodeTime(5, 0, 0);   // Tuesday, today, already passed: from today, weekly
    plan.weekly[3] = *EncodeTime(6, 0, 15);  // Thursday
    EXPECT_FALSE(plan.Empty());
    std::wstring xml = WakeTaskXml(plan, who, tuesday);

    EXPECT_EQ(Count(xml, L"<CalendarTrigger>"), 3u);
    EXPECT_TRUE(Has(xml, L"<StartBoundary>2026-12-14T07:30:00</StartBoundary>"));
    EXPECT_TRUE(Has(xml, L"<StartBoundary>2026-12-08T05:00:00</StartBoundary>"));
    EXPECT_TRUE(Has(xml, L"<StartBoundary>2026-12-10T06:00:15</StartBoundary>"));
    EXPECT_TRUE(Has(xml, L"<DaysOfWeek><Monday /></DaysOfWeek>"));
    EXPECT_TRUE(Has(xml, L"<DaysOfWeek><Thursday /></DaysOfWeek>"));
    EXPECT_FALSE(Has(xml, L"<Wednesday />"));
    EXPECT_EQ(Count(xml, L"<WeeksInterval>1</WeeksInterval>"), 3u);
    EXPECT_FALSE(Has(xml, L"<TimeTrigger>"));
    // Wakes the machine, on battery too, never late, briefly, as the user while logged on.
    for (const wchar_t* setting :
         {L"<WakeToRun>true</WakeToRun>", L"<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>",
          L"<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>", L"<StartWhenAvailable>false</StartWhenAvailable>",
          L"<ExecutionTimeLimit>PT5M</ExecutionTimeLimit>",
          L"<MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>", L"<UserId>S-1-5-21-7-8-9-1001</UserId>",
          L"<LogonType>InteractiveToken</LogonType>", L"<Command>C:\\Users\\A&amp;B\\Zelvar\\zelvar.exe</Command>",
          L"<Arguments>--woken</Arguments>", L"<Description>Wakes &lt;this&gt; PC</Description>"})
        EXPECT_TRUE(Has(xml, setting)) << std::string(setting, setting + wcslen(setting));

    // The plan's wake alone, in local time; pinned to its offset only where
    // the clock shows that time twice.
    plan = WakeTaskPlan{};
    plan.once = WakeTaskMoment{At(2026, 12, 9, 7, 0, 5), std::nullopt};
    xml = WakeTaskXml(plan, who, tuesday);
    EXPECT_EQ(Count(xml, L"<CalendarTrigger>"), 0u);
    EXPECT_TRUE(Has(xml, L"<TimeTrigger>\r\n      <StartBoundary>2026-12-09T07:00:05</StartBoundary>"));
    plan.once->utcOffsetMinutes = 120;
    EXPECT_TRUE(Has(WakeTaskXml(plan, who, tuesday), L"<StartBoundary>2026-12-09T07:00:05+02:00</StartBoundary>"));
    plan.once->utcOffsetMinutes = -330;
    EXPECT_TRUE(Has(WakeTaskXml(plan, who, tuesday), L"<StartBoundary>2026-12-09T07:00:05-05:30</StartBoundary>"));

    EXPECT_EQ(WakeTaskName(L"S-1-5-21-7-8-9-1001"), L"Zelvar wake S-1-5-21-7-8-9-1001");
    EXPECT_NE(WakeTaskName(L"S-1-5-21-7-8-9-1001"), WakeTaskName(L"S-1-5-21-7-8-9-1002"));
}

TEST(WakeTaskDefinition, AOneTimeWakeAcrossAClockChangeComesWhenTheWakeTimerWould) {
    constexpr std::int64_t change = 1'000'000'000;  // universal seconds of the change
    const auto spring = [](std::int64_t utc) -> std::int64_t { return utc < change ? 3600 : 7200; };
    const auto autumn = [](std::int64_t utc) -> std::int64_t { return utc < change ? 7200 : 3600; };
    const TDateTime local = At(2027, 3, 28, 2, 30);
    // 02:30 does not exist: the wake comes at 03:30 new time.
    WakeTaskMoment m = WakeTaskMomentOf(local, change + 5400, spring);
    EXPECT_NEAR(m.local, At(2027, 3, 28, 3, 30), 1e-9);
    EXPECT_EQ(m.utcOffsetMinutes, std::nullopt);
    // 02:30 comes twice: the first, summer time.
    m = WakeTaskMomentOf(local, change + 5400, autumn);
    EXPECT_EQ(m, (WakeTaskMoment{local, 120}));
    // Far from the change: as it is.
    EXPECT_EQ(WakeTaskMomentOf(local, change + 86400, spring), (WakeTaskMoment{local, std::nullopt}));
}

TEST(Launch, OnlyTheProgramsOwnArgumentsCountAndAnyOtherIsIgnored) {
    EXPECT_EQ(ParseLaunch(L""), LaunchKind::Plain);
    EXPECT_EQ(ParseLaunch(L"--woken"), LaunchKind::Woken);
    EXPECT_EQ(ParseLaunch(L"  --woken-start "), LaunchKind::WokenStart);
    EXPECT_EQ(ParseLaunch(L"/x --restarted"), LaunchKind::Restarted);
    EXPECT_EQ(ParseLaunch(L"--remove-wake-task"), LaunchKind::RemoveWakeTask);
    EXPECT_EQ(ParseLaunch(L"--wokenx report.txt"), LaunchKind::Plain);
}

}  // namespace
