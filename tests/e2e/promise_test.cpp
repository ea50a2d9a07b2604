// The promises around a power-down, on the paths real PCs take: a moment
// found too late for the countdown still gets the whole countdown first, a
// plan applied just before its moment shows the seconds left, and a moment
// that passed while the program was held is skipped and said so. Lateness
// and lead are judged from what the program recorded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "driver.h"
#include "scenario.h"

#include "app/test_seams.h"
#include "plan_steps.h"
#include "remote_pickers.h"

namespace zelvar::e2e {
namespace {

int IsoWeekday(const SYSTEMTIME& t) { return t.wDayOfWeek == 0 ? 7 : t.wDayOfWeek; }

std::string HmsText(const SYSTEMTIME& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
    return text;
}

// The local stamp of the night log's first line holding `what`, to the second.
std::optional<SYSTEMTIME> LogStampOf(const AppRun& run, const std::string& what) {
    std::istringstream in(ReadFileBytes(run.PathOf(L"zelvar.log")).value_or(""));
    for (std::string line; std::getline(in, line);) {
        if (line.find(what) == std::string::npos) continue;
        int y, mo, d, h, mi, s;
        if (std::sscanf(line.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s) != 6) return std::nullopt;
        return SYSTEMTIME{static_cast<WORD>(y), static_cast<WORD>(mo), 0, static_cast<WORD>(d),
                          static_cast<WORD>(h), static_cast<WORD>(mi), static_cast<WORD>(s), 0};
    }
    return std::nullopt;
}

// What the test build publishes of the standing wake timer: its local
// moment as "yyyy-mm-dd hh:mm:ss", or "none".
std::wstring StandingWakeDue(HWND main) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(main, L"ZelvarWakeDue")));
    wchar_t text[64] = {};
    if (!atom || !GlobalGetAtomNameW(atom, text, 64)) return L"";
    return text;
}

std::string NightLog(const AppRun& run) { return ReadFileBytes(run.PathOf(L"zelvar.log")).value_or(""); }

class PromiseTest : public CleanScenario {};

TEST_F(PromiseTest, ASchedulerStartedTwentySecondsBeforeItsMomentCountsDownInFullFirst) {
    AppRun run(L"promise_scheduler_at_start");
    const SYSTEMTIME off = LocalTimeIn(20);
    const std::string day = std::to_string(IsoWeekday(off));
    const SYSTEMTIME on = LocalTimeIn(45);
    WriteFileBytes(run.PathOf(L"scheduler.ini"), "[Week]\r\noff_check1_" + day + "=1\r\noff_time1_" + day + "=" +
                                                     HmsText(off) + "\r\noff_check2_" + std::to_string(IsoWeekday(on)) +
                                                     "=1\r\noff_time2_" + std::to_string(IsoWeekday(on)) + "=" +
                                                     HmsText(on) + "\r\n");
    HWND main = StartOnPlanPage(run, "allclose=0\r\nresetafteron=0\r\nactsheduler=1\r\n");
    ASSERT_NE(main, nullptr);
    // The wake is armed from the start, however the machine goes down; a
    // resume near its moment runs the tasks after a wake, once.
    wchar_t due[32];
    swprintf(due, 32, L"%04u-%02u-%02u %02u:%02u:%02u", on.wYear, on.wMonth, on.wDay, on.wHour, on.wMinute, on.wSecond);
    EXPECT_TRUE(WaitFor([&] { return StandingWakeDue(main) == due; })) << StandingWakeDue(main);
    for (int i = 0; i < 2; ++i) PostMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_TRUE(WaitFor([&] { return NightLog(run).find(" resumed by=wake-timer") != std::string::npos; }))
        << NightLog(run);

    // The countdown opens at once and the power-down moves to its end; a
    // start so slow that the moment had passed skips it instead.
    std::vector<RecordedAction> actions;
    ASSERT_TRUE(WaitFor([&] { return !(actions = RecordedPowerActions(run)).empty() ||
                                     NightLog(run).find("end skipped") != std::string::npos; },
                        90000))
        << NightLog(run);
    const std::string log = NightLog(run);
    EXPECT_EQ(log.find(" resumed by=wake-timer"), log.rfind(" resumed by=wake-timer")) << "the wake's tasks ran twice";
    if (actions.empty()) {
        std::printf("[ note     ] the start took past the moment: skipped\n");
        EXPECT_TRUE(StaysFalse([&] { return !RecordedPowerActions(run).empty(); }, 3000));
        return;
    }
    const std::optional<SYSTEMTIME> shown = LogStampOf(run, " countdown due=");
    ASSERT_TRUE(shown) << NightLog(run);
    EXPECT_EQ(actions[0].action, "Hibernate");
    // The stamp is cut to its second: the countdown showed up to a second after it.
    EXPECT_GE(SecondsBetween(actions[0].at, *shown), 29.0) << NightLog(run);
    EXPECT_GE(SecondsBetween(actions[0].at, off), 0.0) << "before the scheduled moment";
    std::printf("[ measure  ] scheduler at start: countdown %.1f s before the hibernate\n",
                SecondsBetween(actions[0].at, *shown));
}

TEST_F(PromiseTest, APlanAtShortNoticeShowsTheSecondsLeftAndAMomentPassedWhileHeldIsSkipped) {
    AppRun run(L"promise_plan_held");
    HWND main = StartOnPlanPage(run);
    ASSERT_NE(main, nullptr);
    // All that takes time first; the moment last, from the clock then.
    const SYSTEMTIME off = LocalTimeIn(12);
    EnterPlan(run, off, nullptr);
    ApplyPlan(run);

    // The window opens counting the seconds that are left, not a full "00:30".
    // Looked for until shortly before the moment: the hold below must begin before it.
    const auto beforeOff = [&] { return static_cast<DWORD>(std::max(0.0, SecondsBetween(off, LocalTimeIn(0)) - 3) * 1000); };
    if (WaitFor([&] { return CountOpened(run); }, beforeOff())) {
        const std::wstring count = run.Countdown().shown;
        EXPECT_NE(count, L"00:30");
        EXPECT_LE(count, L"00:12") << count;
        EXPECT_GE(count, L"00:01") << count;
        SaveScreenshot(CountWindow(run), L"countdown_short_notice");
    } else {
        ADD_FAILURE() << "no countdown for a plan of short notice";
    }

    // The clock set by hand: written down (the wait is aimed at the moment's universal time).
    PostMessageW(main, WM_TIMECHANGE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return NightLog(run).find(" clock changed") != std::string::npos; })) << NightLog(run);
    // Held from before the moment to a minute after it, as a machine asleep would be.
    ASSERT_GT(SecondsBetween(off, NowLocal()), 0.5) << "the driver came too late to hold the thread before the moment";
    PostMessageW(main, kTestHoldThreadMessage, static_cast<WPARAM>(SecondsBetween(off, LocalTimeIn(0)) * 1000 + 60000), 0);
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (box = run.WaitForMessageBox(1)) || !RecordedPowerActions(run).empty(); },
                        120000));
    EXPECT_TRUE(RecordedPowerActions(run).empty()) << "acted on a stale moment";
    ASSERT_NE(box, nullptr) << "no word of the skipped moment";
    EXPECT_EQ(DialogText(box), ReadUtf8IniValue(run.PathOf(L"languages\\English.ini"), "msoffmissed"));
    EXPECT_TRUE(OwnVisible(run.Control(IDC_PNGBUTTON2))) << "not back in the editing view";
    EXPECT_FALSE(OwnVisible(run.Control(IDC_PANEL6)));
    EXPECT_FALSE(IsChecked(run.Control(IDC_CHECKBOX3)));
    EXPECT_FALSE(CountShown(run));
    SaveScreenshot(main, L"plan_moment_skipped");
    SaveScreenshot(box, L"plan_moment_skipped_message");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(StaysFalse([&] { return !RecordedPowerActions(run).empty(); }, 2000));
    const std::string log = NightLog(run);
    EXPECT_NE(log.find("end skipped moment="), std::string::npos) << log;
    EXPECT_EQ(log.find("action "), std::string::npos) << log;
}

}  // namespace
}  // namespace zelvar::e2e
