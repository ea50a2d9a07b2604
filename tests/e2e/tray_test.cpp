// What the tray tells and what the pages say about the wake: the tooltip and
// the "planned" icon follow the plan, the scheduler and the language; a wake
// that cannot happen on this machine (the test build takes the probe's
// values from ZELVAR_TEST_WAKE_PROBE) is named on the page, and the plan and
// the scheduler go on all the same; the button beside the line removes the
// cause (the test build records the fix and probes the fixed values), or
// says why it could not (ZELVAR_TEST_WAKE_FIX). A wake task the Task
// Scheduler refused (ZELVAR_TEST_WAKE_TASK) is named the same way.
#include <gtest/gtest.h>

#include "driver.h"

#include <commctrl.h>

#include "app/test_seams.h"
#include "plan_steps.h"
#include "remote_pickers.h"

namespace zelvar::e2e {
namespace {

std::wstring TrayTip(HWND main) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(main, L"ZelvarTrayTip")));
    wchar_t text[256] = {};
    if (!atom || !GlobalGetAtomNameW(atom, text, 256)) return L"<none>";
    return text;
}

bool TrayPlanned(HWND main) { return reinterpret_cast<UINT_PTR>(GetPropW(main, L"ZelvarTrayPlanned")) == 1; }

// A language text up to its "%1".
std::wstring Before(const std::wstring& text) { return text.substr(0, text.find(L"%1")); }

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveRunValues(); }
    void TearDown() override {
        SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_PROBE", nullptr);
        SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_FIX", nullptr);
        SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_TASK", nullptr);
        RemoveRunValues();
    }
    HWND Start(AppRun& run, const std::string& language = "lng=1\r\n") {
        run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nlogosound=0\r\nautoupd=0\r\nallclose=0\r\n" +
                        language);
        return run.MainIfUp(run.StartUp());
    }
    int CutText(HWND main) {
        DWORD_PTR id = 0;
        SendMessageTimeoutW(main, kTestFindCutTextMessage, reinterpret_cast<WPARAM>(main), 0, SMTO_NORMAL,
                            kStateTimeoutMs, &id);
        return static_cast<int>(static_cast<LRESULT>(id));
    }
    std::wstring Lang(const AppRun& run, const wchar_t* file, const std::string& key) {
        return ReadUtf8IniValue(run.PathOf(L"languages\\") + file, key);
    }
    // A plan an hour ahead with a wake two hours ahead, applied.
    void ArmPlanWithWake(AppRun& run) {
        SelectNode(run.Control(IDC_TREEVIEW1), 2);
        ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX3)));
        const SYSTEMTIME off = LocalTimeIn(3600), wake = LocalTimeIn(7200);
        ASSERT_TRUE(SetPickerTime(run.Control(IDC_DATETIMEPICKER1), off));
        ASSERT_TRUE(SetPickerTime(run.Control(IDC_DATETIMEPICKER2), off));
        ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX1)));
        ASSERT_TRUE(SetPickerTime(run.Control(IDC_DATETIMEPICKER3), wake));
        ASSERT_TRUE(SetPickerTime(run.Control(IDC_DATETIMEPICKER4), wake));
        PostClick(run.Control(IDC_PNGBUTTON2));
        ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL6)); }));
    }
};

TEST_F(TrayTest, TheTooltipAndTheIconFollowThePlanTheSchedulerAndTheLanguage) {
    AppRun run(L"tray_status");
    // Tomorrow's off at 22:00 for the scheduler.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const int tomorrow = (now.wDayOfWeek == 0 ? 7 : now.wDayOfWeek) % 7 + 1;
    WriteFileBytes(run.PathOf(L"scheduler.ini"), "[Week]\r\noff_check1_" + std::to_string(tomorrow) +
                                                     "=1\r\noff_time1_" + std::to_string(tomorrow) + "=22:00:00\r\n");
    HWND main = Start(run);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitFor([&] { return TrayTip(main) == L"Zelvar"; })) << TrayTip(main);
    EXPECT_FALSE(TrayPlanned(main));

    ArmPlanWithWake(run);
    // The armed view shows before the tray is told: wait for the tooltip.
    EXPECT_TRUE(WaitFor([&] { return TrayTip(main) != L"Zelvar"; })) << TrayTip(main);
    const std::wstring armed = TrayTip(main);
    EXPECT_EQ(armed.rfind(L"Zelvar: ", 0), 0u) << armed;
    EXPECT_NE(armed.find(Before(Lang(run, L"English.ini", "trayhibernate"))), std::wstring::npos) << armed;
    EXPECT_NE(armed.find(Before(Lang(run, L"English.ini", "traywake"))), std::wstring::npos) << armed;
    EXPECT_NE(armed.find(Lang(run, L"English.ini", "trayplan")), std::wstring::npos) << armed;
    EXPECT_LE(armed.size(), 127u);
    EXPECT_TRUE(TrayPlanned(main));
    PostClick(run.Control(IDC_PNGBUTTON5));
    ASSERT_TRUE(WaitFor([&] { return !OwnVisible(run.Control(IDC_PANEL6)); }));
    EXPECT_TRUE(WaitFor([&] { return TrayTip(main) == L"Zelvar"; })) << TrayTip(main);
    EXPECT_FALSE(TrayPlanned(main));

    // The scheduler started: its off moment, named as the schedule's.
    SelectNode(run.Control(IDC_TREEVIEW1), 3);
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
    const std::wstring scheduled = TrayTip(main);
    EXPECT_NE(scheduled.find(Lang(run, L"English.ini", "trayschedule")), std::wstring::npos) << scheduled;
    EXPECT_NE(scheduled.find(Lang(run, L"English.ini", "ws" + std::to_string(tomorrow))), std::wstring::npos)
        << scheduled;
    EXPECT_TRUE(TrayPlanned(main));
    // In another language once it is applied.
    SelectComboItem(run.Control(IDC_COMBOBOX1), 2);
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON3)));
    EXPECT_NE(TrayTip(main).find(Lang(run, L"Deutsch.ini", "trayschedule")), std::wstring::npos) << TrayTip(main);
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
    EXPECT_EQ(TrayTip(main), L"Zelvar");
    EXPECT_FALSE(TrayPlanned(main));
}

TEST_F(TrayTest, AWakeThatCannotHappenIsNamedAndThePlanAndTheSchedulerGoOn) {
    const wchar_t* const files[3] = {L"Russian.ini", L"English.ini", L"Deutsch.ini"};
    // Hibernation off, and the longest line of each language: timers off on mains and on battery.
    // The fix: in Russian declined (hibernation) or refused (timers), in English made from the
    // plan page, in German from the scheduler's.
    for (const auto& [probe, key, fixKey, fixed, refusal, refusalKey] :
         {std::tuple{L"s4=1,hiberfile=0", "wakehibernationoff", "wakefixhibernation", "SwitchHibernationOn", L"cancel",
                     "wakefixdeclined"},
          std::tuple{L"s4=1,hiberfile=1,battery=1,ac=off,dc=off", "wakeoffboth", "wakefixtimers",
                     "AllowWakeTimers(ac,dc)", L"refuse", "wakefixdenied"}})
        for (int language = 0; language < 3; ++language) {
            AppRun run(L"wake_readiness");
            SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_PROBE", probe);
            SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_FIX", language == 0 ? refusal : nullptr);
            SYSTEMTIME now{};
            GetLocalTime(&now);
            const int tomorrow = (now.wDayOfWeek == 0 ? 7 : now.wDayOfWeek) % 7 + 1;
            WriteFileBytes(run.PathOf(L"scheduler.ini"), "[Week]\r\noff_check2_" + std::to_string(tomorrow) +
                                                             "=1\r\noff_time2_" + std::to_string(tomorrow) +
                                                             "=7:30:00\r\n");
            HWND main = Start(run, "lng=" + std::to_string(language) + "\r\n");
            ASSERT_NE(main, nullptr);
            const std::wstring line = Lang(run, files[language], key);
            const std::wstring shot = std::wstring(L"wake_readiness_") +
                                      (key[4] == 'h' ? L"hibernation_" : L"timers_") + std::to_wstring(language);
            // The fix from the page's button: its line and the button go, the fix is recorded.
            auto fixFrom = [&](int button, int label) {
                PostClick(run.Control(button));
                // The line and its button go one after the other: wait for both.
                EXPECT_TRUE(WaitFor([&] {
                    return !OwnVisible(run.Control(label)) && !OwnVisible(run.Control(button));
                })) << key
                    << " in " << language;
                const auto actions = RecordedPowerActions(run);
                EXPECT_TRUE(actions.size() == 1 && actions[0].action == fixed) << actions.size();
            };
            ArmPlanWithWake(run);
            EXPECT_TRUE(OwnVisible(run.Control(IDC_LABEL_WAKEPLAN)));
            EXPECT_EQ(TextOf(run.Control(IDC_LABEL_WAKEPLAN)), line);
            EXPECT_TRUE(OwnVisible(run.Control(IDC_BUTTON_WAKEFIXPLAN)));
            EXPECT_EQ(TextOf(run.Control(IDC_BUTTON_WAKEFIXPLAN)), Lang(run, files[language], fixKey));
            EXPECT_EQ(CutText(main), 0) << key << " in " << language;
            SaveScreenshot(main, shot + L"_plan");
            if (language == 1) fixFrom(IDC_BUTTON_WAKEFIXPLAN, IDC_LABEL_WAKEPLAN);
            PostClick(run.Control(IDC_PNGBUTTON5));
            ASSERT_TRUE(WaitFor([&] { return !OwnVisible(run.Control(IDC_PANEL6)); }));

            SelectNode(run.Control(IDC_TREEVIEW1), 3);
            ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
            EXPECT_EQ(run.Config(L"actsheduler"), L"1");
            // Fixed from the plan page, the scheduler's wake has nothing in its way either.
            EXPECT_EQ(OwnVisible(run.Control(IDC_LABEL_WAKESCHEDULE)), language != 1);
            if (language != 1) {
                EXPECT_EQ(TextOf(run.Control(IDC_LABEL_WAKESCHEDULE)), line);
                EXPECT_EQ(TextOf(run.Control(IDC_BUTTON_WAKEFIXSCHEDULE)), Lang(run, files[language], fixKey));
                EXPECT_EQ(CutText(main), 0) << key << " in " << language;
                SaveScreenshot(main, shot + L"_scheduler");
            }
            if (language == 2) fixFrom(IDC_BUTTON_WAKEFIXSCHEDULE, IDC_LABEL_WAKESCHEDULE);
            if (language == 0) {
                // Declined or refused: said in a box, and the line stays, nothing recorded.
                PostClick(run.Control(IDC_BUTTON_WAKEFIXSCHEDULE));
                HWND box = run.WaitForMessageBox();
                ASSERT_NE(box, nullptr);
                EXPECT_NE(DialogText(box).find(Lang(run, files[language], refusalKey)), std::wstring::npos)
                    << DialogText(box);
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kCloseTimeoutMs));
                EXPECT_TRUE(OwnVisible(run.Control(IDC_LABEL_WAKESCHEDULE)));
                EXPECT_TRUE(RecordedPowerActions(run).empty());
            }
            ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
            EXPECT_FALSE(OwnVisible(run.Control(IDC_LABEL_WAKESCHEDULE)));
            ASSERT_TRUE(run.ExitFromTray());
        }

    // The Task Scheduler refuses the wake task: the wake holds only while the
    // program runs, which the page says once the refusal came; nothing to fix
    // from here, and the log says why.
    SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_PROBE", L"s4=1,hiberfile=1");
    SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_FIX", nullptr);
    SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_TASK", L"refuse");
    for (int language = 0; language < 3; ++language) {
        AppRun run(L"wake_task_refused");
        HWND main = Start(run, "lng=" + std::to_string(language) + "\r\n");
        ASSERT_NE(main, nullptr);
        ArmPlanWithWake(run);
        const std::wstring line = Lang(run, files[language], "wakeonlywhilerunning");
        EXPECT_TRUE(WaitFor([&] { return TextOf(run.Control(IDC_LABEL_WAKEPLAN)) == line; })) << language;
        EXPECT_FALSE(OwnVisible(run.Control(IDC_BUTTON_WAKEFIXPLAN)));
        EXPECT_EQ(CutText(main), 0) << "in " << language;
        SaveScreenshot(main, L"wake_readiness_task_" + std::to_wstring(language) + L"_plan");
        ASSERT_TRUE(run.ExitFromTray());
        const std::string log = ReadFileBytes(run.PathOf(L"zelvar.log")).value_or("");
        EXPECT_NE(log.find(" wake task refused step=register code=0x80070005"), std::string::npos) << log;
    }
}

}  // namespace
}  // namespace zelvar::e2e
