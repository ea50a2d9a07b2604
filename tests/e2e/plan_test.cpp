// The one-shot plan through the real controls of the test build: the
// countdown, the recorded power action, the tasks after the resume, the
// cancels and the restart after a wake. The test build records its power
// actions in power_actions.log and returns at once, as a resume would.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "driver.h"
#include "scenario.h"
#include "plan_steps.h"
#include "remote_pickers.h"

namespace zelvar::e2e {
namespace {

class PlanTest : public CleanScenario {
protected:
    HWND StartOnPlanPage(AppRun& run, bool closePrograms = false, bool restartAfterWake = false) {
        return e2e::StartOnPlanPage(run, std::string("allclose=") + (closePrograms ? "1" : "0") +
                                             "\r\nresetafteron=" + (restartAfterWake ? "1" : "0") + "\r\n");
    }

    // The restart countdown after a resume, as its opening showed it: the 60
    // seconds no countdown before a power action shows.
    bool RestartCountdownOpened(AppRun& run) { return run.Countdown().shown == L"00:60"; }

    bool Logged(AppRun& run, const std::string& action) {
        for (const auto& e : RecordedPowerActions(run))
            if (e.action == action) return true;
        return false;
    }
    std::optional<SYSTEMTIME> LoggedAt(AppRun& run, const std::string& action) {
        for (const auto& e : RecordedPowerActions(run))
            if (e.action == action) return e.at;
        return std::nullopt;
    }

    // The page is back in its editing view with both ticks cleared.
    void ExpectEditingView(AppRun& run) {
        EXPECT_FALSE(OwnVisible(run.Control(IDC_PANEL6)));
        EXPECT_TRUE(OwnVisible(run.Control(IDC_PNGBUTTON2)));
        EXPECT_FALSE(OwnVisible(run.Control(IDC_PNGBUTTON5)));
        EXPECT_FALSE(IsChecked(run.Control(IDC_CHECKBOX3)));
        EXPECT_FALSE(IsChecked(run.Control(IDC_CHECKBOX1)));
        EXPECT_TRUE(IsWindowEnabled(run.Control(IDC_CHECKBOX3)));
    }
};

TEST_F(PlanTest, HibernateWithWakeCountsDownAndRunsTheResumeTasks) {
    AppRun run(L"plan_hibernate");
    HWND main = StartOnPlanPage(run);
    ASSERT_NE(main, nullptr);
    // A start-up program listed after the start is started after the resume.
    const std::wstring helper = DriverFolder() + L"titled_window.exe";
    ASSERT_TRUE(WritePrivateProfileStringW(L"OPTIONS", L"autoexe", helper.c_str(), run.ConfigPath().c_str()));

    // The wake two minutes and more after the off moment, as the plan check asks.
    const SYSTEMTIME wake = LocalTimeIn(300);
    EnterPlan(run, LocalTimeIn(kFullCountdownLeadSeconds), &wake);
    SaveScreenshot(main, L"plan_editing_with_wake");
    SYSTEMTIME off{};
    ArmPlanIn(run, kFullCountdownLeadSeconds, &off, &wake);
    EXPECT_EQ(TextOf(run.Control(IDC_LABEL10)), ReadUtf8IniValue(run.PathOf(L"languages\\English.ini"), "pconinfo"));
    EXPECT_TRUE(OwnVisible(run.Control(IDC_LABEL11)));
    SaveScreenshot(main, L"plan_armed");

    // The countdown opens 31 seconds before the off moment showing "00:30", not earlier.
    ASSERT_TRUE(WaitFor([&] { return CountOpened(run); }, kAtOffTimeoutMs)) << "no countdown window";
    const double countdownLead = SecondsBetween(off, NowLocal()) + SecondsSince(run.Countdown().at);
    SaveScreenshot(CountWindow(run), L"countdown_30");
    EXPECT_EQ(run.Countdown().shown, L"00:30");
    EXPECT_LT(countdownLead, 32.5);

    ASSERT_TRUE(WaitFor([&] { return Logged(run, "Hibernate"); }, kAtOffTimeoutMs)) << "nothing recorded";
    const double actionDelay = SecondsBetween(*LoggedAt(run, "Hibernate"), off);
    EXPECT_GE(actionDelay, -0.05);
    EXPECT_LT(actionDelay, 1.5);
    std::printf("[ measure  ] countdown shown %.2f s before the off moment, action %.3f s after it\n", countdownLead,
                actionDelay);

    // Resume: ticks cleared, editing view, pickers at the present, the
    // start-up program started, the countdown window hidden.
    ASSERT_TRUE(WaitFor([&] { return !OwnVisible(run.Control(IDC_PANEL6)); }));
    ExpectEditingView(run);
    EXPECT_FALSE(CountShown(run));
    for (int id : {IDC_DATETIMEPICKER1, IDC_DATETIMEPICKER2, IDC_DATETIMEPICKER3, IDC_DATETIMEPICKER4}) {
        auto value = PickerTime(run.Control(id));
        ASSERT_TRUE(value);
        EXPECT_LT(std::abs(SecondsBetween(*value, NowLocal())), 5.0) << id;
    }
    EXPECT_TRUE(WaitFor([] { return !WindowsTitled(kTitledHelper).empty(); }, 10000)) << "start-up program not started";
    EXPECT_EQ(RecordedPowerActions(run).size(), 1u);
    EXPECT_TRUE(run.Proc().Running());
}

TEST_F(PlanTest, CancelInTheCountdownWindowDropsThePlan) {
    AppRun run(L"plan_cancel_countdown");
    ASSERT_NE(StartOnPlanPage(run), nullptr);
    SYSTEMTIME off{};
    ArmPlanIn(run, kFullCountdownLeadSeconds, &off);
    ASSERT_TRUE(WaitFor([&] { return CountOpened(run); }, kAtOffTimeoutMs));
    PostMouseClick(FindControl(CountWindow(run), IDC_COUNT_IMAGE2));
    ASSERT_TRUE(WaitFor([&] { return !OwnVisible(run.Control(IDC_PANEL6)); }));
    ExpectEditingView(run);
    EXPECT_FALSE(CountShown(run));
    // Nothing happens at the off moment either, not even a countdown that opens and closes again.
    EXPECT_TRUE(StaysFalse([&] { return Logged(run, "Hibernate") || CountOpened(run, 2); },
                           static_cast<DWORD>(SecondsBetween(off, NowLocal()) * 1000 + 1500)));
}

TEST_F(PlanTest, CancelOnThePageWhileWaitingDropsThePlan) {
    AppRun run(L"plan_cancel_page");
    ASSERT_NE(StartOnPlanPage(run), nullptr);
    EnterPlan(run, LocalTimeIn(kSoonLeadSeconds), nullptr);
    SaveScreenshot(run.Main(), L"plan_editing_without_wake");
    SYSTEMTIME off{};
    ArmPlanIn(run, kSoonLeadSeconds, &off);
    SaveScreenshot(run.Main(), L"plan_armed_without_wake");
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON5)));
    ASSERT_TRUE(WaitFor([&] { return !OwnVisible(run.Control(IDC_PANEL6)); }));
    ExpectEditingView(run);
    EXPECT_TRUE(StaysFalse([&] { return Logged(run, "Hibernate"); },
                           static_cast<DWORD>(SecondsBetween(off, NowLocal()) * 1000 + 1500)));
}

TEST_F(PlanTest, PowerOffWithoutWakeClosesTitledProgramsAndEndsTheCycle) {
    AppRun run(L"plan_poweroff");
    // Programs of the user: one with a titled window, one whose only window has no title.
    Process titled = StartProcess(DriverFolder() + L"titled_window.exe", DriverFolder());
    Process untitled = StartProcess(DriverFolder() + L"untitled_window.exe", DriverFolder());
    ASSERT_TRUE(titled && untitled);
    ASSERT_TRUE(titled.WaitForWindow(nullptr, kTitledHelper));
    ASSERT_TRUE(WaitFor([&] { return !untitled.Windows().empty(); }));

    HWND main = StartOnPlanPage(run, true);
    ASSERT_NE(main, nullptr);
    SelectComboItem(run.Control(IDC_COMBOBOX2), 0);  // power off
    ASSERT_EQ(ComboSelection(run.Control(IDC_COMBOBOX2)), 0);
    ArmPlanIn(run, kSoonLeadSeconds);
    ASSERT_TRUE(WaitFor([&] { return Logged(run, "PowerOff"); }, kAtOffTimeoutMs));

    ASSERT_TRUE(titled.WaitForExit(5000)) << "the titled program was not closed";
    EXPECT_EQ(titled.ExitCode().value_or(0), 4u);
    EXPECT_TRUE(untitled.Running()) << "a program without a titled window was closed";
    EXPECT_TRUE(run.Proc().Running()) << "the program closed itself";
    // After a power-off request nothing else runs: the page stays armed.
    EXPECT_TRUE(StaysFalse([&] { return !OwnVisible(run.Control(IDC_PANEL6)); }, 1000));
    EXPECT_EQ(RecordedPowerActions(run).size(), 1u);
}

TEST_F(PlanTest, ProgramsSurviveWhenClosingIsOffAndHibernateIsTheChoice) {
    AppRun run(L"plan_keep_programs");
    Process titled = StartProcess(DriverFolder() + L"titled_window.exe", DriverFolder());
    ASSERT_TRUE(titled.WaitForWindow(nullptr, kTitledHelper));
    ASSERT_NE(StartOnPlanPage(run, false), nullptr);
    ASSERT_EQ(ComboSelection(run.Control(IDC_COMBOBOX2)), 1);  // hibernate after every language application
    ArmPlanIn(run, kSoonLeadSeconds);
    ASSERT_TRUE(WaitFor([&] { return Logged(run, "Hibernate"); }, kAtOffTimeoutMs));
    ASSERT_TRUE(WaitFor([&] { return !OwnVisible(run.Control(IDC_PANEL6)); }));
    ExpectEditingView(run);
    EXPECT_TRUE(titled.Running());
}

TEST_F(PlanTest, RestartAfterWakeComesSixtySecondsAfterTheResume) {
    AppRun run(L"plan_restart");
    ASSERT_NE(StartOnPlanPage(run, false, true), nullptr);
    ArmPlanIn(run, kSoonLeadSeconds);
    ASSERT_TRUE(WaitFor([&] { return Logged(run, "Hibernate"); }, kAtOffTimeoutMs));
    ASSERT_TRUE(WaitFor([&] { return RestartCountdownOpened(run); }));
    SaveScreenshot(CountWindow(run), L"countdown_60");
    ASSERT_TRUE(WaitFor([&] { return Logged(run, "Restart"); }, 70000)) << "no restart";
    const double gap = SecondsBetween(*LoggedAt(run, "Restart"), *LoggedAt(run, "Hibernate"));
    EXPECT_NEAR(gap, 60.0, 2.0);
    std::printf("[ measure  ] restart %.2f s after the resume\n", gap);
}

TEST_F(PlanTest, CancelledRestartCountdownRestartsNothing) {
    AppRun run(L"plan_restart_cancel");
    ASSERT_NE(StartOnPlanPage(run, false, true), nullptr);
    ArmPlanIn(run, kSoonLeadSeconds);
    ASSERT_TRUE(WaitFor([&] { return Logged(run, "Hibernate"); }, kAtOffTimeoutMs));
    ASSERT_TRUE(WaitFor([&] { return RestartCountdownOpened(run); }));
    PostMouseClick(FindControl(CountWindow(run), IDC_COUNT_IMAGE2));
    ASSERT_TRUE(WaitFor([&] { return !CountShown(run); }));
    EXPECT_TRUE(StaysFalse([&] { return Logged(run, "Restart"); }, 62000));
}

TEST_F(PlanTest, InvalidPlanShowsTheMessageAndChangesNothing) {
    AppRun run(L"plan_invalid");
    ASSERT_NE(StartOnPlanPage(run), nullptr);
    EnterPlan(run, LocalTimeIn(-86400), nullptr);  // yesterday
    PostClick(run.Control(IDC_PNGBUTTON2));
    HWND box = run.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(TextOf(box), kApplicationTitle);
    EXPECT_EQ(DialogText(box), ReadUtf8IniValue(run.PathOf(L"languages\\English.ini"), "mswrongdt"));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_FALSE(OwnVisible(run.Control(IDC_PANEL6)));
    EXPECT_TRUE(IsChecked(run.Control(IDC_CHECKBOX3)));
    EXPECT_TRUE(OwnVisible(run.Control(IDC_PNGBUTTON2)));
    EXPECT_FALSE(Logged(run, "Hibernate") || Logged(run, "PowerOff"));
}

TEST_F(PlanTest, PlanPageAndCountdownInEachLanguage) {
    const char* const names[3] = {"ru", "en", "de"};
    for (int language = 0; language < 3; ++language) {
        const std::wstring suffix = std::wstring(L"_") + std::wstring(names[language], names[language] + 2);
        AppRun run(L"plan_looks");
        run.WriteConfig(
            "[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nallclose=0\r\nlogosound=0\r\nautoupd=0\r\n"
            "resetafteron=1\r\nlng=" +
            std::to_string(language) + "\r\n");
        ASSERT_TRUE(run.StartUp());
        HWND main = run.Main();
        PostMenuCommand(main, IDM_N4_ONOFF);
        ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL4)); }));

        // Editing without and with a wake, then armed with both moments.
        const SYSTEMTIME wake = LocalTimeIn(600);
        EnterPlan(run, LocalTimeIn(kFullCountdownLeadSeconds), nullptr);
        SaveScreenshot(main, L"plan_editing_without_wake" + suffix);
        EnterPlan(run, LocalTimeIn(kFullCountdownLeadSeconds), &wake);
        SaveScreenshot(main, L"plan_editing_with_wake" + suffix);
        ArmPlanIn(run, kFullCountdownLeadSeconds, nullptr, &wake);
        SaveScreenshot(main, L"plan_armed" + suffix);
        ASSERT_TRUE(WaitFor([&] { return CountOpened(run); }, kAtOffTimeoutMs));
        EXPECT_EQ(run.Countdown().shown, L"00:30");
        SaveScreenshot(CountWindow(run), L"countdown_30" + suffix);
        PostMouseClick(FindControl(CountWindow(run), IDC_COUNT_IMAGE2));
        ASSERT_TRUE(WaitFor([&] { return !OwnVisible(run.Control(IDC_PANEL6)); }));

        // A plan soon, then the restart countdown after the resume.
        ArmPlanIn(run, kSoonLeadSeconds);
        ASSERT_TRUE(WaitFor([&] { return RestartCountdownOpened(run); }, kAtOffTimeoutMs));
        SaveScreenshot(CountWindow(run), L"countdown_60" + suffix);
        PostMouseClick(FindControl(CountWindow(run), IDC_COUNT_IMAGE2));
        ASSERT_TRUE(WaitFor([&] { return !CountShown(run); }));
        ASSERT_TRUE(run.ExitFromTray());
        EXPECT_FALSE(Logged(run, "Restart"));
    }
}

TEST_F(PlanTest, ExitWhileACycleWaitsEndsTheWaitAndSaves) {
    AppRun run(L"plan_exit_waiting");
    ASSERT_NE(StartOnPlanPage(run), nullptr);
    const SYSTEMTIME off = LocalTimeIn(20);
    EnterPlan(run, off, nullptr);
    ApplyPlan(run);
    ASSERT_TRUE(run.ExitFromTray()) << "the waiting cycle kept the program alive";
    EXPECT_EQ(run.Proc().ExitCode().value_or(1), 0u);
    EXPECT_EQ(run.Config(L"fs"), L"0");
    EXPECT_FALSE(Logged(run, "Hibernate") || Logged(run, "PowerOff"));
}

TEST_F(PlanTest, ARefusedPowerActionIsShownAndTheProgramCarriesOn) {
    AppRun run(L"plan_power_refused");
    ASSERT_NE(StartOnPlanPage(run), nullptr);
    // The test build refuses every power action while this file exists.
    ASSERT_TRUE(WriteFileBytes(run.PathOf(L"power_fail.txt"), "refuse"));
    ArmPlanIn(run, kSoonLeadSeconds);
    HWND box = run.WaitForMessageBox(kAtOffTimeoutMs);
    ASSERT_NE(box, nullptr) << "no error shown";
    EXPECT_EQ(TextOf(box), kApplicationTitle);
    EXPECT_EQ(DialogText(box).rfind(L"System Error.  Code: 5.", 0), 0u) << DialogText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kCloseTimeoutMs));
    // The page stays armed; Cancel brings it back, and the program goes on.
    EXPECT_TRUE(OwnVisible(run.Control(IDC_PANEL6)));
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON5)));
    ExpectEditingView(run);
    EXPECT_TRUE(run.Proc().Running());
    EXPECT_TRUE(RecordedPowerActions(run).empty());
}

}  // namespace
}  // namespace zelvar::e2e
