// The weekly scheduler through the real controls of the test build: the
// schedule file as the day editor writes it, the copy dialog, start and stop
// with the week grid, and whole scheduled nights with the recorded power
// actions, including a window thread held across the trigger.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "driver.h"
#include "scenario.h"

#include <commctrl.h>

#include "app/test_seams.h"
#include "plan_steps.h"
#include "remote_pickers.h"

namespace zelvar::e2e {
namespace {

const wchar_t* const kLanguageFiles[3] = {L"Russian.ini", L"English.ini", L"Deutsch.ini"};
const char* const kLanguageNames[3] = {"ru", "en", "de"};

int IsoWeekday(const SYSTEMTIME& t) { return t.wDayOfWeek == 0 ? 7 : t.wDayOfWeek; }

// 24-hour "H:mm:ss": the file's readers take it under every regional format.
std::wstring TimeText(const SYSTEMTIME& t) {
    wchar_t text[16];
    swprintf(text, 16, L"%u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
    return text;
}

constexpr wchar_t kPolicyKey[] = L"SOFTWARE\\Policies\\Zelvar";
constexpr wchar_t kPolicyWeekKey[] = L"SOFTWARE\\Policies\\Zelvar\\Week";

void SetPolicy(HKEY root, const wchar_t* key, const std::wstring& name, const std::wstring& text) {
    RegSetKeyValueW(root, key, name.c_str(), REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}
void SetPolicy(HKEY root, const wchar_t* key, const std::wstring& name, DWORD number) {
    RegSetKeyValueW(root, key, name.c_str(), REG_DWORD, &number, sizeof number);
}
void RemovePolicies() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteTreeW(root, kPolicyKey);
}
// As Windows announces a refresh of Group Policy to every top-level window.
void BroadcastPolicyChange() {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Policy"), SMTO_ABORTIFHUNG,
                        5000, &result);
}
// A 24-hour time of day as this PC's regional long time format shows it.
std::wstring LocaleTime(int hour, int minute) {
    SYSTEMTIME t{2026, 1, 0, 1, static_cast<WORD>(hour), static_cast<WORD>(minute), 0, 0};
    wchar_t text[64] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, text, 64);
    return text;
}

class SchedulerTest : public CleanScenario {
protected:
    // No policy of the organisation before or after a scenario.
    void SetUp() override {
        CleanScenario::SetUp();
        RemovePolicies();
    }
    void TearDown() override {
        RemovePolicies();
        CleanScenario::TearDown();
    }

    std::wstring Schedule(const AppRun& run, const std::wstring& key) const {
        return ReadIni(run.PathOf(L"scheduler.ini"), L"Week", key);
    }
    void WriteSchedule(const AppRun& run, const std::string& lines) const {
        WriteFileBytes(run.PathOf(L"scheduler.ini"), "[Week]\r\n" + lines);
    }
    std::wstring Lang(const AppRun& run, int language, const std::string& key) const {
        return ReadUtf8IniValue(run.PathOf(L"languages\\") + kLanguageFiles[language], key);
    }

    HWND Start(AppRun& run, bool schedulerRunning, int language = 1, const std::string& extra = "") {
        run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nlogosound=0\r\nautoupd=0\r\nallclose=0\r\nlng=" +
                        std::to_string(language) + "\r\nactsheduler=" + (schedulerRunning ? "1" : "0") + "\r\n" +
                        extra);
        return run.MainIfUp(run.StartUp());
    }

    // The scheduler page, as the tree opens it.
    void OpenSchedulerPage(AppRun& run) {
        SelectNode(run.Control(IDC_TREEVIEW1), 3);
        WaitFor([&] { return OwnVisible(run.Control(IDC_P_SHEDULER)); });
    }

    HWND DayButton(AppRun& run, int day) { return run.Control(IDC_DAYBUTTON_FIRST + day - 1); }
    std::wstring Grid(AppRun& run) { return TextOf(run.Control(IDC_STRINGGRID1)); }
    // The grid's row of a day: "<short name>\t<off>\t<on>", marks included.
    std::wstring GridRow(AppRun& run, int day) {
        std::wistringstream rows(Grid(run));
        std::wstring row;
        for (int i = 0; i <= day && std::getline(rows, row);) ++i;
        if (!row.empty() && row.back() == L'\r') row.pop_back();
        return row;
    }

    HWND CopyDialog(AppRun& run) { return run.Proc().VisibleWindow(ZELVAR_SHEDDAYS_CLASS); }

    // Once the program is up and its work on the page done: today's off
    // moment lead seconds from the clock (and what lines(off) adds) written
    // to the schedule, and the scheduler started from its page. The editor
    // is first put on a day these lines leave alone, since Start saves it.
    void StartScheduleIn(AppRun& run, int leadSeconds, SYSTEMTIME& off,
                         const std::function<std::string(const SYSTEMTIME&)>& lines = nullptr) {
        OpenSchedulerPage(run);
        ASSERT_TRUE(Click(DayButton(run, (IsoWeekday(NowLocal()) + 3) % 7 + 1)));
        off = LocalTimeIn(leadSeconds);
        const std::string day = std::to_string(IsoWeekday(off));
        const std::wstring offText = TimeText(off);
        WriteSchedule(run, "off_check1_" + day + "=1\r\noff_time1_" + day + "=" +
                               std::string(offText.begin(), offText.end()) + "\r\n" + (lines ? lines(off) : ""));
        ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
        ASSERT_TRUE(OwnVisible(run.Control(IDC_PANEL8)));
    }
};

TEST_F(SchedulerTest, AFirstStartWritesDayOneWithTheDefaultsAndShowsToday) {
    AppRun run(L"scheduler_first_start");
    HWND main = Start(run, false);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(run.PathOf(L"scheduler.ini")).has_value(); }));
    // Exactly day 1's four keys, with the defaults as the editor shows them.
    std::wstring keys;
    for (int day = 1; day <= 7; ++day)
        for (const wchar_t* prefix : {L"off_check1_", L"off_time1_", L"off_check2_", L"off_time2_"}) {
            const std::wstring key = prefix + std::to_wstring(day);
            if (Schedule(run, key) != kMissing) keys += key + L" ";
        }
    EXPECT_EQ(keys, L"off_check1_1 off_time1_1 off_check2_1 off_time2_1 ");
    EXPECT_EQ(Schedule(run, L"off_check1_1"), L"0");
    EXPECT_EQ(Schedule(run, L"off_check2_1"), L"0");
    // The times as the program's locale writes them (whatever the form, they read as these).
    EXPECT_NE(Schedule(run, L"off_time1_1").find(L"8:00:00"), std::wstring::npos);
    EXPECT_TRUE(Schedule(run, L"off_time2_1").find(L"20:00:00") != std::wstring::npos ||
                Schedule(run, L"off_time2_1").find(L"8:00:00 PM") != std::wstring::npos)
        << Schedule(run, L"off_time2_1");
    // The editor shows today.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_EQ(TextOf(run.Control(IDC_LABEL22)), Lang(run, 1, std::string("w").append(std::to_string(IsoWeekday(now)))));
    EXPECT_EQ(TextOf(run.Control(IDC_PNGBUTTON8)), Lang(run, 1, "startsheduler"));
    EXPECT_FALSE(OwnVisible(run.Control(IDC_PANEL8)));
    EXPECT_TRUE(OwnVisible(run.Control(IDC_CHECKBOX8)));
}

TEST_F(SchedulerTest, SwitchingDaysSavesTheDayLeftAndAnUntickedTimeComesBack) {
    AppRun run(L"scheduler_days");
    HWND main = Start(run, false);
    ASSERT_NE(main, nullptr);
    OpenSchedulerPage(run);
    // Monday: off ticked at 21:15:00.
    ASSERT_TRUE(Click(DayButton(run, 1)));
    ASSERT_TRUE(WaitFor([&] { return TextOf(run.Control(IDC_LABEL22)) == Lang(run, 1, "w1"); }));
    if (!IsChecked(run.Control(IDC_CHECKBOX8))) {
        ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX8)));
    }
    SYSTEMTIME evening{2026, 1, 0, 1, 21, 15, 0, 0};
    ASSERT_TRUE(SetPickerTime(run.Control(IDC_DATETIMEPICKER5), evening));
    // Friday: Monday's four keys are written.
    ASSERT_TRUE(Click(DayButton(run, 5)));
    EXPECT_EQ(Schedule(run, L"off_check1_1"), L"1");
    EXPECT_NE(Schedule(run, L"off_time1_1").find(L"9:15:00"), std::wstring::npos) << Schedule(run, L"off_time1_1");
    EXPECT_EQ(Schedule(run, L"off_check2_1"), L"0");
    EXPECT_NE(Schedule(run, L"off_time2_1"), kMissing);
    EXPECT_EQ(TextOf(run.Control(IDC_LABEL22)), Lang(run, 1, "w5"));

    // Back on Monday, untick: the time stays in the file and comes back with the tick.
    ASSERT_TRUE(Click(DayButton(run, 1)));
    ASSERT_TRUE(IsChecked(run.Control(IDC_CHECKBOX8)));
    ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX8)));
    ASSERT_TRUE(Click(DayButton(run, 3)));
    EXPECT_EQ(Schedule(run, L"off_check1_1"), L"0");
    EXPECT_NE(Schedule(run, L"off_time1_1").find(L"9:15:00"), std::wstring::npos);
    ASSERT_TRUE(Click(DayButton(run, 1)));
    EXPECT_FALSE(IsChecked(run.Control(IDC_CHECKBOX8)));
    ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX8)));
    const auto shown = PickerTime(run.Control(IDC_DATETIMEPICKER5));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->wHour, 21);
    EXPECT_EQ(shown->wMinute, 15);
    // A time the file cannot read shows the default, with no message.
    ASSERT_TRUE(run.ExitFromTray());
    WriteSchedule(run, "off_check1_2=1\r\noff_time1_2=25:99:00\r\noff_check2_2=yes\r\noff_time2_2=\r\n");
    main = Start(run, false);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Click(DayButton(run, 2)));
    EXPECT_TRUE(IsChecked(run.Control(IDC_CHECKBOX8)));
    EXPECT_TRUE(IsChecked(run.Control(IDC_CHECKBOX9)));  // "yes" shows ticked in the editor
    EXPECT_EQ(PickerTime(run.Control(IDC_DATETIMEPICKER5))->wHour, 8);
    EXPECT_EQ(PickerTime(run.Control(IDC_DATETIMEPICKER6))->wHour, 20);
    EXPECT_TRUE(run.Proc().Windows(kDialogClass).empty());
}

TEST_F(SchedulerTest, StartAndStopSwitchTheFacesWriteTheStateAndMarkTheNextCells) {
    AppRun run(L"scheduler_grid");
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const int today = IsoWeekday(now);
    const int offDay = (today + 1) % 7 + 1, onDay = today % 7 + 1;  // the day after tomorrow, tomorrow
    std::ostringstream file;
    file << "off_check1_" << offDay << "=1\r\noff_time1_" << offDay << "=12:00:00\r\n"
         << "off_check2_" << onDay << "=1\r\noff_time2_" << onDay << "=6:00:00\r\n"
         << "off_check2_" << offDay << "=0\r\noff_time2_" << offDay << "=7:00:00\r\n";
    WriteSchedule(run, file.str());
    HWND main = Start(run, false);
    ASSERT_NE(main, nullptr);
    OpenSchedulerPage(run);
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
    EXPECT_EQ(run.Config(L"actsheduler"), L"1");
    EXPECT_TRUE(OwnVisible(run.Control(IDC_PANEL8)));
    EXPECT_FALSE(OwnVisible(run.Control(IDC_CHECKBOX8)));
    EXPECT_FALSE(OwnVisible(run.Control(IDC_PWEEK)));
    EXPECT_EQ(TextOf(run.Control(IDC_PNGBUTTON8)), Lang(run, 1, "stopsheduler"));
    // The ticked times, as stored; the next off and the next wake marked.
    EXPECT_EQ(GridRow(run, 0),
              Lang(run, 1, "daysheduler") + L"\t" + Lang(run, 1, "offsheduler") + L"\t" + Lang(run, 1, "onsheduler"));
    EXPECT_EQ(GridRow(run, offDay), Lang(run, 1, "ws" + std::to_string(offDay)) + L"\t12:00:00 [next off]\t");
    EXPECT_EQ(GridRow(run, onDay), Lang(run, 1, "ws" + std::to_string(onDay)) + L"\t\t6:00:00 [next on]");
    SaveScreenshot(main, L"scheduler_running_en");

    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
    EXPECT_EQ(run.Config(L"actsheduler"), L"0");
    EXPECT_FALSE(OwnVisible(run.Control(IDC_PANEL8)));
    EXPECT_TRUE(OwnVisible(run.Control(IDC_CHECKBOX8)));
    EXPECT_EQ(TextOf(run.Control(IDC_PNGBUTTON8)), Lang(run, 1, "startsheduler"));
}

TEST_F(SchedulerTest, TheCopyDialogWritesOnlyTheTickedDaysAndKeepsItsTicks) {
    AppRun run(L"scheduler_copy");
    HWND main = Start(run, false);
    ASSERT_NE(main, nullptr);
    OpenSchedulerPage(run);
    ASSERT_TRUE(Click(DayButton(run, 7)));  // Sunday, so none of the copied days is the one in the editor
    if (!IsChecked(run.Control(IDC_CHECKBOX8))) {
        ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX8)));
    }
    SYSTEMTIME late{2026, 1, 0, 1, 22, 30, 0, 0};
    ASSERT_TRUE(SetPickerTime(run.Control(IDC_DATETIMEPICKER5), late));
    ASSERT_TRUE(Click(DayButton(run, 6)));  // Sunday saved; Saturday in the editor
    auto allKeys = [&] {
        std::vector<std::wstring> values;
        for (int day = 1; day <= 7; ++day)
            for (const wchar_t* prefix : {L"off_check1_", L"off_time1_", L"off_check2_", L"off_time2_"})
                values.push_back(Schedule(run, prefix + std::to_wstring(day)));
        return values;
    };
    ASSERT_TRUE(Click(DayButton(run, 7)));
    const std::vector<std::wstring> before = allKeys();
    const std::wstring copied = Schedule(run, L"off_time1_7");

    PostClick(run.Control(IDC_PNGBUTTON6));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = CopyDialog(run)) != nullptr; })) << "no copy dialog";
    EXPECT_FALSE(IsWindowEnabled(main)) << "the main window stays usable under the modal dialog";
    EXPECT_EQ(TextOf(FindControl(dialog, IDC_SHEDDAYS_LABEL4)), Lang(run, 1, "pcoffat"));
    for (int day = 1; day <= 7; ++day)
        EXPECT_TRUE(IsChecked(FindControl(dialog, IDC_SHEDDAYS_CHECKBOX_FIRST + day - 1)));
    for (int day : {2, 4, 6, 7}) ASSERT_TRUE(Click(FindControl(dialog, IDC_SHEDDAYS_CHECKBOX_FIRST + day - 1)));
    SaveScreenshot(dialog, L"copy_dialog_en");
    PostClick(FindControl(dialog, IDC_SHEDDAYS_PNGBUTTON3));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != FALSE; }));

    std::vector<std::wstring> expected = before;
    for (int day : {1, 3, 5}) {
        expected[static_cast<size_t>((day - 1) * 4)] = L"1";
        expected[static_cast<size_t>((day - 1) * 4 + 1)] = copied;
    }
    EXPECT_EQ(allKeys(), expected);

    // The ticks survive a second opening; its close glyph writes nothing.
    PostClick(run.Control(IDC_PNGBUTTON6));
    ASSERT_TRUE(WaitFor([&] { return (dialog = CopyDialog(run)) != nullptr; }));
    for (int day = 1; day <= 7; ++day)
        EXPECT_EQ(IsChecked(FindControl(dialog, IDC_SHEDDAYS_CHECKBOX_FIRST + day - 1)), day % 2 == 1 && day != 7)
            << "day " << day;
    ASSERT_TRUE(Click(FindControl(dialog, IDC_SHEDDAYS_CHECKBOX_FIRST + 1)));  // Tuesday ticked, then closed
    PostMouseClick(FindControl(dialog, IDC_SHEDDAYS_IMAGE1));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    EXPECT_EQ(allKeys(), expected);
}

// The whole night with the recording build: the scheduler started once the
// program is up, today's off 50 s ahead and a wake 70 s after it.
TEST_F(SchedulerTest, AScheduledNightCountsDownHibernatesAndWatchesAgain) {
    AppRun run(L"scheduler_night");
    // A start-up program shows the resume tasks ran.
    const std::wstring helper = run.PathOf(L"titled_window.exe");
    CopyFileW((DriverFolder() + L"titled_window.exe").c_str(), helper.c_str(), FALSE);
    HWND main = Start(run, false, 1, "autoexe=" + std::string(helper.begin(), helper.end()) + "\r\n");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([] { return WindowsTitled(kTitledHelper).size() == 1; }, 10000));
    EndProcessesTitled(kTitledHelper);

    SYSTEMTIME off{}, wake{};
    StartScheduleIn(run, kFullCountdownLeadSeconds + 5, off, [&](const SYSTEMTIME&) {
        wake = LocalTimeIn(kFullCountdownLeadSeconds + 5 + 70);  // 70 s after the off moment
        const std::wstring wakeText = TimeText(wake);
        return "off_check2_" + std::to_string(IsoWeekday(wake)) + "=1\r\noff_time2_" +
               std::to_string(IsoWeekday(wake)) + "=" + std::string(wakeText.begin(), wakeText.end()) + "\r\n";
    });
    ASSERT_FALSE(HasFatalFailure());

    // The countdown opens 31 s before the moment showing "00:30", not earlier.
    ASSERT_TRUE(WaitFor([&] { return CountOpened(run); }, kAtOffTimeoutMs)) << "no countdown";
    const double lead = SecondsBetween(off, NowLocal()) + SecondsSince(run.Countdown().at);
    EXPECT_EQ(run.Countdown().shown, L"00:30");
    EXPECT_LT(lead, 32.5);
    ASSERT_TRUE(WaitFor([&] { return !RecordedPowerActions(run).empty(); }, kAtOffTimeoutMs)) << "nothing recorded";
    const auto actions = RecordedPowerActions(run);
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].action, "Hibernate");
    const double late = SecondsBetween(actions[0].at, off);
    EXPECT_GE(late, 0.0);
    EXPECT_LE(late, 1.5);
    std::printf("[ measure  ] scheduled countdown %.2f s before the off moment, hibernate %.3f s after it\n", lead,
                late);
    // The resume tasks: the countdown gone, the start-up program started again.
    EXPECT_TRUE(WaitFor([&] { return !CountShown(run); }));
    EXPECT_TRUE(WaitFor([] { return WindowsTitled(kTitledHelper).size() == 1; }, 10000));
    // Watching again: the off a week on (not marked today), the wake still ahead and marked...
    EXPECT_TRUE(WaitFor([&] { return GridRow(run, IsoWeekday(wake)).find(L"[next on]") != std::wstring::npos; }))
        << GridRow(run, IsoWeekday(wake));
    // ...until it comes while the machine runs: then it counts as met and the next is a week on.
    EXPECT_TRUE(
        WaitFor([&] { return GridRow(run, IsoWeekday(wake)).find(L"[next on]") == std::wstring::npos; }, 90000));
    EXPECT_EQ(RecordedPowerActions(run).size(), 1u);
    EXPECT_EQ(TextOf(run.Control(IDC_PNGBUTTON8)), Lang(run, 1, "stopsheduler"));
    // The night's lines in the log.
    const std::string log = ReadFileBytes(run.PathOf(L"zelvar.log")).value_or("");
    EXPECT_NE(log.find("source=schedule"), std::string::npos) << log;
    EXPECT_NE(log.find("action hibernate"), std::string::npos) << log;
    EXPECT_NE(log.find("end done"), std::string::npos) << log;
}

// Also while the organisation keeps the scheduler running: the cancel gives up
// that power-down alone, and the scheduler goes on.
TEST_F(SchedulerTest, StopDuringItsCountdownAndTheCountdownsCancelPowerNothingDown) {
    for (const int variant : {0, 1, 2}) {
        const bool byStopButton = variant == 0, keptRunning = variant == 2;
        AppRun run(byStopButton ? L"scheduler_stop" : keptRunning ? L"scheduler_cancel_policy" : L"scheduler_cancel");
        SYSTEMTIME off{};
        HWND main = nullptr;
        if (keptRunning) {
            // Kept running by the organisation: it runs from the start, on a
            // schedule written before it, with room for a slow start.
            SetPolicy(HKEY_LOCAL_MACHINE, kPolicyKey, L"actsheduler", L"1");
            off = LocalTimeIn(kFullCountdownLeadSeconds + 15);
            const std::wstring offText = TimeText(off);
            WriteSchedule(run, "off_check1_" + std::to_string(IsoWeekday(off)) + "=1\r\noff_time1_" +
                                   std::to_string(IsoWeekday(off)) + "=" + std::string(offText.begin(), offText.end()) +
                                   "\r\n");
            main = Start(run, true);
            ASSERT_NE(main, nullptr);
        } else {
            main = Start(run, false);
            ASSERT_NE(main, nullptr);
            StartScheduleIn(run, kFullCountdownLeadSeconds, off);
            ASSERT_FALSE(HasFatalFailure());
        }
        ASSERT_TRUE(WaitFor([&] { return CountOpened(run); }, kAtOffTimeoutMs)) << "no countdown";
        if (byStopButton) {
            ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
            EXPECT_TRUE(WaitFor([&] { return !CountShown(run); })) << "Stop left the countdown up";
        } else {
            PostMouseClick(FindControl(CountWindow(run), IDC_COUNT_IMAGE2));
            ASSERT_TRUE(WaitFor([&] { return !CountShown(run); }));
        }
        if (keptRunning) {
            EXPECT_EQ(TextOf(run.Control(IDC_PNGBUTTON8)), Lang(run, 1, "stopsheduler"));
        } else {
            EXPECT_TRUE(WaitFor([&] { return run.Config(L"actsheduler") == L"0"; }))
                << (byStopButton ? "stop" : "cancel");
            EXPECT_TRUE(WaitFor([&] { return TextOf(run.Control(IDC_PNGBUTTON8)) == Lang(run, 1, "startsheduler"); }));
        }
        // Past the off moment: nothing recorded.
        EXPECT_TRUE(StaysFalse([&] { return !RecordedPowerActions(run).empty(); },
                               static_cast<DWORD>(SecondsBetween(off, LocalTimeIn(0)) * 1000) + 3000));
        if (keptRunning) {
            EXPECT_EQ(TextOf(run.Control(IDC_PNGBUTTON8)), Lang(run, 1, "stopsheduler"));
            EXPECT_EQ(run.Countdown().count, 1) << "the cancelled moment counted down again";
        }
        if (!byStopButton) {
            const std::string log = ReadFileBytes(run.PathOf(L"zelvar.log")).value_or("");
            EXPECT_NE(log.find("end cancelled-countdown"), std::string::npos) << log;
        }
        ASSERT_TRUE(run.ExitFromTray());
        RemovePolicies();
    }
}

TEST_F(SchedulerTest, AMomentPassedWhileTheThreadWasHeldIsSkippedAndTheNextWatched) {
    AppRun run(L"scheduler_held");
    HWND main = Start(run, false);
    ASSERT_NE(main, nullptr);
    SYSTEMTIME off{};
    int tomorrow = 0;
    StartScheduleIn(run, kFullCountdownLeadSeconds, off, [&](const SYSTEMTIME& at) {
        tomorrow = IsoWeekday(at) % 7 + 1;
        return "off_check1_" + std::to_string(tomorrow) + "=1\r\noff_time1_" + std::to_string(tomorrow) +
               "=21:00:00\r\n";
    });
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(WaitFor([&] { return GridRow(run, IsoWeekday(off)).find(L"[next off]") != std::wstring::npos; }));
    // Held from 20 s before the moment, well before its hand-over 10 s
    // before it, until 3 s after it.
    ASSERT_TRUE(WaitFor([&] { return SecondsBetween(off, NowLocal()) <= 20.0; }, kAtOffTimeoutMs));
    const double heldFrom = SecondsBetween(off, NowLocal());
    ASSERT_GT(heldFrom, 10.5) << "the driver came too late to hold the thread before the hand-over";
    PostMessageW(main, kTestHoldThreadMessage, static_cast<WPARAM>((heldFrom + 3.0) * 1000), 0);
    EXPECT_TRUE(
        StaysFalse([&] { return !RecordedPowerActions(run).empty(); }, static_cast<DWORD>((heldFrom + 10.0) * 1000)))
        << "a late power-down";
    // The passed moment skipped; the next one (tomorrow) watched and marked.
    EXPECT_TRUE(WaitFor([&] { return GridRow(run, tomorrow).find(L"[next off]") != std::wstring::npos; })) << Grid(run);
    EXPECT_FALSE(CountShown(run));
    const std::string log = ReadFileBytes(run.PathOf(L"zelvar.log")).value_or("");
    EXPECT_NE(log.find("end skipped"), std::string::npos) << log;
}

TEST_F(SchedulerTest, TheEditorTheGridAndTheCopyDialogInEachLanguage) {
    for (int language = 0; language < 3; ++language) {
        AppRun run(L"scheduler_languages");
        WriteSchedule(run,
                      "off_check1_1=1\r\noff_time1_1=22:00:00\r\noff_check2_2=1\r\noff_time2_2=7:30:00\r\n"
                      "off_check1_5=1\r\noff_time1_5=23:15:00\r\n");
        HWND main = Start(run, false, language);
        ASSERT_NE(main, nullptr);
        OpenSchedulerPage(run);
        ASSERT_TRUE(Click(DayButton(run, 1)));
        const std::string lang = kLanguageNames[language];
        SaveScreenshot(main, std::wstring(L"scheduler_editor_") + std::wstring(lang.begin(), lang.end()));
        PostClick(run.Control(IDC_PNGBUTTON6));
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (dialog = CopyDialog(run)) != nullptr; }));
        EXPECT_EQ(TextOf(FindControl(dialog, IDC_SHEDDAYS_LABEL2)), Lang(run, language, "copyother"));
        EXPECT_EQ(TextOf(FindControl(dialog, IDC_SHEDDAYS_CHECKBOX_FIRST)), Lang(run, language, "ws1"));
        SaveScreenshot(dialog, std::wstring(L"copy_dialog_") + std::wstring(lang.begin(), lang.end()));
        PostMouseClick(FindControl(dialog, IDC_SHEDDAYS_IMAGE1));
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
        ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != FALSE; }));
        ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
        ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL8)); }));
        SaveScreenshot(main, std::wstring(L"scheduler_grid_") + std::wstring(lang.begin(), lang.end()));
        ASSERT_TRUE(run.ExitFromTray());
    }
}

}  // namespace
}  // namespace zelvar::e2e

namespace zelvar::e2e {
namespace {

class PolicyTest : public SchedulerTest {};

// An organisation's week and options written before the start, a malformed
// value among them; then changed while the program runs.
TEST_F(PolicyTest, ThePolicyRunsItsWeekLockedKeepsTheFilesAndFollowsAChangeWithoutARestart) {
    AppRun run(L"policy");
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const int offDay = (IsoWeekday(now) + 1) % 7 + 1, onDay = IsoWeekday(now) % 7 + 1;  // after tomorrow, tomorrow
    const std::string off = std::to_string(offDay), on = std::to_string(onDay);
    // The user's own week: another off time that day, a wake time tomorrow without its tick
    // (as the editor writes it, so a save of the day leaves it as it is).
    const std::wstring ownWake = LocaleTime(6, 0);
    WriteSchedule(run, "off_check1_" + off + "=0\r\noff_time1_" + off + "=6:15:00\r\noff_check2_" + on +
                           "=0\r\noff_time2_" + on + "=" + std::string(ownWake.begin(), ownWake.end()) + "\r\n");
    SetPolicy(HKEY_LOCAL_MACHINE, kPolicyKey, L"actsheduler", 1);
    SetPolicy(HKEY_LOCAL_MACHINE, kPolicyKey, L"allclose", L"1");
    SetPolicy(HKEY_CURRENT_USER, kPolicyKey, L"autoupd", L"yes");  // malformed: the user's box stays free
    SetPolicy(HKEY_LOCAL_MACHINE, kPolicyWeekKey, L"off_check1_" + std::to_wstring(offDay), 1);
    SetPolicy(HKEY_LOCAL_MACHINE, kPolicyWeekKey, L"off_time1_" + std::to_wstring(offDay), L"23:30:00");
    SetPolicy(HKEY_LOCAL_MACHINE, kPolicyWeekKey, L"off_check2_" + std::to_wstring(onDay), L"1");
    SetPolicy(HKEY_LOCAL_MACHINE, kPolicyWeekKey, L"off_time2_" + std::to_wstring(onDay), L"25:00:00");  // malformed
    SetPolicy(HKEY_CURRENT_USER, kPolicyWeekKey, L"off_time1_" + std::to_wstring(offDay),
              L"20:00:00");  // the computer wins
    auto ownKeys = [&] {
        return Schedule(run, L"off_check1_" + std::to_wstring(offDay)) + L" " +
               Schedule(run, L"off_time1_" + std::to_wstring(offDay)) + L" " +
               Schedule(run, L"off_check2_" + std::to_wstring(onDay)) + L" " +
               Schedule(run, L"off_time2_" + std::to_wstring(onDay));
    };
    const std::wstring own = ownKeys();

    HWND main = Start(run, false);  // the user's own scheduler is stopped
    ASSERT_NE(main, nullptr);
    OpenSchedulerPage(run);
    // Running, with the policy's week (the malformed wake time gives way to the file's), the button locked.
    EXPECT_TRUE(OwnVisible(run.Control(IDC_PANEL8)));
    EXPECT_EQ(GridRow(run, offDay), Lang(run, 1, "ws" + off) + L"\t" + LocaleTime(23, 30) + L" [next off]\t");
    EXPECT_EQ(GridRow(run, onDay), Lang(run, 1, "ws" + on) + L"\t\t" + ownWake + L" [next on]");
    EXPECT_FALSE(IsWindowEnabled(run.Control(IDC_PNGBUTTON8)));
    EXPECT_EQ(TextOf(run.Control(IDC_LABEL_POLICY_SCHEDULER)), Lang(run, 1, "policymanaged"));
    EXPECT_TRUE(OwnVisible(run.Control(IDC_LABEL_POLICY_SCHEDULER)));
    SaveScreenshot(main, L"policy_scheduler_en");
    EXPECT_TRUE(IsChecked(run.Control(IDC_CHECKBOX5)));
    EXPECT_FALSE(IsWindowEnabled(run.Control(IDC_CHECKBOX5)));
    EXPECT_TRUE(IsWindowEnabled(run.Control(IDC_CHECKBOX7)));
    EXPECT_TRUE(OwnVisible(run.Control(IDC_LABEL_POLICY_OPTIONS)));
    EXPECT_EQ(run.Config(L"actsheduler"), L"0");
    HWND tree = run.Control(IDC_TREEVIEW1);
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL1)); })) SaveScreenshot(main, L"policy_options_en");
    OpenSchedulerPage(run);

    // The change: a new off time, the scheduler and the option set free again.
    const ULONGLONG changed = GetTickCount64();
    SetPolicy(HKEY_LOCAL_MACHINE, kPolicyWeekKey, L"off_time1_" + std::to_wstring(offDay), L"23:45:00");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPolicyKey, L"allclose");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPolicyKey, L"actsheduler");
    BroadcastPolicyChange();
    // The user's own state comes back: stopped, so the editor shows; the day the policy sets is locked in it.
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(run.Control(IDC_PNGBUTTON8)) != FALSE; }));
    std::printf("[ measure  ] policy change to the new schedule in force: %llu ms\n", GetTickCount64() - changed);
    EXPECT_EQ(TextOf(run.Control(IDC_PNGBUTTON8)), Lang(run, 1, "startsheduler"));
    EXPECT_FALSE(IsChecked(run.Control(IDC_CHECKBOX5)));
    EXPECT_TRUE(IsWindowEnabled(run.Control(IDC_CHECKBOX5)));
    EXPECT_FALSE(OwnVisible(run.Control(IDC_LABEL_POLICY_OPTIONS)));
    ASSERT_TRUE(Click(DayButton(run, offDay)));
    EXPECT_TRUE(IsChecked(run.Control(IDC_CHECKBOX8)));
    EXPECT_FALSE(IsWindowEnabled(run.Control(IDC_CHECKBOX8)));
    EXPECT_FALSE(IsWindowEnabled(run.Control(IDC_DATETIMEPICKER5)));
    EXPECT_TRUE(IsWindowEnabled(run.Control(IDC_CHECKBOX9)));
    const auto shown = PickerTime(run.Control(IDC_DATETIMEPICKER5));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->wHour * 100 + shown->wMinute, 2345);
    SaveScreenshot(main, L"policy_editor_en");
    // Started by the user, the scheduler works from the new week.
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
    EXPECT_EQ(GridRow(run, offDay), Lang(run, 1, "ws" + off) + L"\t" + LocaleTime(23, 45) + L" [next off]\t");

    // The files keep the user's own values, also through the save on exit.
    ASSERT_TRUE(run.ExitFromTray());
    EXPECT_EQ(ownKeys(), own);
    EXPECT_EQ(run.Config(L"allclose"), L"0");
    EXPECT_EQ(run.Config(L"actsheduler"), L"1");  // the user's own start, after the policy let go
    // Each malformed value once in the log, though the policy was read twice.
    const std::string log = ReadFileBytes(run.PathOf(L"zelvar.log")).value_or("");
    const std::string wake =
        "policy ignored HKLM\\SOFTWARE\\Policies\\Zelvar\\Week\\off_time2_" + on + ": not a time: 25:00:00";
    EXPECT_NE(log.find(wake), std::string::npos) << log;
    EXPECT_EQ(log.find(wake), log.rfind(wake)) << log;
    EXPECT_NE(log.find("HKCU\\SOFTWARE\\Policies\\Zelvar\\autoupd: not a tick: yes"), std::string::npos) << log;
}

}  // namespace
}  // namespace zelvar::e2e
