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

#include <objbase.h>

#include "app/test_seams.h"
#include "plan_steps.h"
#include "power/wake_task.h"
#include "remote_pickers.h"
#include "support/task_scheduler_probe.h"

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
        return SYSTEMTIME{static_cast<WORD>(y),  static_cast<WORD>(mo), 0, static_cast<WORD>(d), static_cast<WORD>(h),
                          static_cast<WORD>(mi), static_cast<WORD>(s),  0};
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

std::wstring DueText(const SYSTEMTIME& t) {
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

SYSTEMTIME DaysLater(const SYSTEMTIME& t, int days) {
    FILETIME ft{};
    SystemTimeToFileTime(&t, &ft);
    ULARGE_INTEGER u{{ft.dwLowDateTime, ft.dwHighDateTime}};
    u.QuadPart += static_cast<ULONGLONG>(days) * 86400 * 10'000'000;
    ft = {u.LowPart, u.HighPart};
    SYSTEMTIME later{};
    FileTimeToSystemTime(&ft, &later);
    return later;
}

// A scheduler.ini with one wake moment, at the weekday and time of day of t.
void WriteWakeOnly(const AppRun& run, const SYSTEMTIME& t) {
    const std::string day = std::to_string(IsoWeekday(t));
    WriteFileBytes(run.PathOf(L"scheduler.ini"),
                   "[Week]\r\noff_check2_" + day + "=1\r\noff_time2_" + day + "=" + HmsText(t) + "\r\n");
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// What the test build publishes of the wake task: 1 held, 2 refused, 3 none.
UINT_PTR WakeTaskState(HWND main) { return reinterpret_cast<UINT_PTR>(GetPropW(main, L"ZelvarWakeTask")); }

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
    ASSERT_TRUE(WaitFor(
        [&] {
            return !(actions = RecordedPowerActions(run)).empty() ||
                   NightLog(run).find("end skipped") != std::string::npos;
        },
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
    const auto beforeOff = [&] {
        return static_cast<DWORD>(std::max(0.0, SecondsBetween(off, LocalTimeIn(0)) - 3) * 1000);
    };
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
    PostMessageW(main, kTestHoldThreadMessage, static_cast<WPARAM>(SecondsBetween(off, LocalTimeIn(0)) * 1000 + 60000),
                 0);
    HWND box = nullptr;
    EXPECT_TRUE(
        WaitFor([&] { return (box = run.WaitForMessageBox(1)) || !RecordedPowerActions(run).empty(); }, 120000));
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

// The PC sent to sleep another way, with only the scheduler's wake ahead:
// the tick moves the standing wake on to next week once the moment has
// passed, and only then does Windows report the resume, automatic and then
// the user's, while the wake task's copy tells of it too. The tasks after a
// wake run once.
TEST_F(PromiseTest, AResumeReportedAfterTheTickMovedOnRunsTheTasksAfterAWakeOnce) {
    AppRun run(L"promise_resume_after_tick");
    const SYSTEMTIME on = LocalTimeIn(40);
    WriteWakeOnly(run, on);
    HWND main = StartOnPlanPage(run, "allclose=0\r\nresetafteron=0\r\nactsheduler=1\r\n");
    ASSERT_NE(main, nullptr);
    // The program keeps the moment from before its window shows: up before
    // the moment, it knew it.
    ASSERT_GT(SecondsBetween(on, LocalTimeIn(0)), 0.0) << "the start took past the wake moment";
    PostMessageW(main, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    ASSERT_TRUE(WaitFor([&] { return StandingWakeDue(main) == DueText(DaysLater(on, 7)); }, 60000))
        << StandingWakeDue(main);

    PostMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    Process told = run.StartCopy(kWokenArgument);
    PostMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_TRUE(told.WaitForExit(kStartTimeoutMs)) << "the copy the task started stays";
    EXPECT_TRUE(WaitFor([&] { return NightLog(run).find(" resumed by=wake-timer") != std::string::npos; }))
        << NightLog(run);
    EXPECT_TRUE(StaysFalse([&] { return Count(NightLog(run), " resumed by=") > 1; }, 3000)) << NightLog(run);
    EXPECT_EQ(run.Proc().Windows(ZELVAR_MAIN_CLASS).size(), 1u);
}

// The wake task stays when the program exits (an update restart, a crash)
// and goes when the scheduler stops with no other wake left. Wine keeps a
// task's settings, so they are read back too.
TEST_F(PromiseTest, TheWakeTaskOutlivesTheProgramAndGoesWithTheScheduler) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    struct ComUser {
        ~ComUser() { CoUninitialize(); }
    } com;
    AppRun run(L"promise_wake_task");
    WriteWakeOnly(run, DaysLater(LocalTimeIn(0), 1));
    const std::wstring name = WakeTaskName(test::UserSidOfThisProcess());
    HWND main = StartOnPlanPage(run, "allclose=0\r\nresetafteron=0\r\nactsheduler=1\r\n");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitFor([&] { return WakeTaskState(main) == 1; })) << WakeTaskState(main);
    const test::HeldTask held = test::ReadBackTask(name);
    EXPECT_TRUE(held.found);
    EXPECT_EQ(held.wakeToRun, VARIANT_TRUE);
    ASSERT_TRUE(run.ExitFromTray());
    EXPECT_TRUE(test::ReadBackTask(name).found) << "the wake went with the program";

    // The task's action at a wake moment with the program gone: the copy it
    // starts ends at once, and the program comes up as at logon and runs the
    // tasks after a wake, once.
    Process launcher = run.StartCopy(kWokenArgument);
    EXPECT_TRUE(launcher.WaitForExit(kStartTimeoutMs)) << "the task's own process stays";
    EXPECT_TRUE(
        WaitFor([&] { return NightLog(run).find(" resumed by=wake-task") != std::string::npos; }, kStartTimeoutMs))
        << NightLog(run);
    EXPECT_EQ(Count(NightLog(run), " resumed by="), 1u) << NightLog(run);
    for (HWND w : WindowsTitled(kMainCaption)) PostMenuCommand(w, IDM_N2_EXIT);
    EXPECT_TRUE(WaitFor([] { return WindowsTitled(kMainCaption).empty(); }, kCloseTimeoutMs));

    main = StartOnPlanPage(run, "allclose=0\r\nresetafteron=0\r\nactsheduler=1\r\n");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitFor([&] { return WakeTaskState(main) == 1; })) << WakeTaskState(main);
    SelectNode(run.Control(IDC_TREEVIEW1), 3);
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
    EXPECT_TRUE(WaitFor([&] { return WakeTaskState(main) == 3; })) << WakeTaskState(main);
    EXPECT_FALSE(test::ReadBackTask(name).found);
    ASSERT_TRUE(run.ExitFromTray());
}

}  // namespace
}  // namespace zelvar::e2e
