// The windows on screens of 96, 144 and 192 dots per inch (Wine's LogPixels):
// each laid out at its design size times the scale, every page in every
// language without a text cut off, with screenshots. And the windows in a
// dark and a light high-contrast theme, switched while the program runs.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

#include "driver.h"

#include <commctrl.h>

#include "app/test_seams.h"
#include "plan_steps.h"
#include "remote_pickers.h"

namespace zelvar::e2e {
namespace {

const char* const kLanguageNames[3] = {"ru", "en", "de"};
const int kPanels[6] = {IDC_PANEL1, IDC_PANEL2, IDC_PANEL4, IDC_P_SHEDULER, IDC_PANEL5, IDC_PANEL7};

void SetLogPixels(DWORD dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    RegCloseKey(key);
}

std::wstring Shot(const std::string& what, int dpi, int language) {
    const std::string name = what + "_" + std::to_string(dpi) + "_" + kLanguageNames[language];
    return std::wstring(name.begin(), name.end());
}

class DpiTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        RemoveRunValues();
        SetLogPixels(static_cast<DWORD>(GetParam()));
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_PROBE", nullptr);
        SetLogPixels(96);
        RemoveRunValues();
    }
    double Scale() const { return GetParam() / 96.0; }

    HWND Start(AppRun& run, int language) {
        run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nlogosound=0\r\nautoupd=0\r\nallclose=0\r\nlng=" +
                        std::to_string(language) + "\r\n");
        return run.MainIfUp(run.StartUp());
    }

    // Within 2 % of the design size times the scale.
    void ExpectClientSize(HWND window, int designW, int designH, const char* what) {
        RECT rc{};
        GetClientRect(window, &rc);
        EXPECT_NEAR(rc.right, designW * Scale(), designW * Scale() * 0.02 + 1) << what << " width at " << GetParam();
        EXPECT_NEAR(rc.bottom, designH * Scale(), designH * Scale() * 0.02 + 1) << what << " height at " << GetParam();
    }

    // No text of the window cut, every control that takes the focus named
    // for a screen reader, and Tab going in the reading order.
    void ExpectSound(HWND main, HWND window, const std::string& what) {
        EXPECT_EQ(ProgramFault(main, window, 0), 0) << "a text cut on " << what;
        EXPECT_EQ(ProgramFault(main, window, kTestFindUnnamed), 0) << "a control without a name on " << what;
        EXPECT_EQ(ProgramFault(main, window, kTestFindOutOfOrder), 0) << "Tab out of the reading order on " << what;
    }
};

TEST_P(DpiTest, EveryPageInEveryLanguageHasItsScaledSizeAndNoTextCut) {
    // The running scheduler and the armed plan with the line about the wake
    // and its button: in English wake timers off, in German hibernation off.
    const wchar_t* const wakeProbes[3] = {nullptr, L"battery=1,ac=off,dc=off", L"hiberfile=0"};
    for (int language = 0; language < 3; ++language) {
        AppRun run(L"dpi_pages");
        SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_PROBE", wakeProbes[language]);
        SYSTEMTIME now{};
        GetLocalTime(&now);
        const std::string tomorrow = std::to_string((now.wDayOfWeek == 0 ? 7 : now.wDayOfWeek) % 7 + 1);
        WriteFileBytes(run.PathOf(L"scheduler.ini"),
                       "[Week]\r\noff_check2_" + tomorrow + "=1\r\noff_time2_" + tomorrow + "=7:30:00\r\n");
        HWND main = Start(run, language);
        ASSERT_NE(main, nullptr);
        ExpectClientSize(main, 507, 284, "main window");
        HWND tree = run.Control(IDC_TREEVIEW1);
        for (int node = 0; node < 6; ++node) {
            SelectNode(tree, node);
            ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(kPanels[node])); }));
            ExpectClientSize(run.Control(kPanels[node]), 300, 259, "page");
            ExpectSound(main, main, "page " + std::to_string(node) + " in " + kLanguageNames[language]);
            SaveScreenshot(main, Shot("dpi_page" + std::to_string(node), GetParam(), language));
        }
        // The scheduler's other face and the armed plan (an hour ahead, so
        // nothing comes of it).
        SelectNode(tree, 3);
        ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
        ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL8)); }));
        EXPECT_EQ(OwnVisible(run.Control(IDC_BUTTON_WAKEFIXSCHEDULE)), wakeProbes[language] != nullptr);
        ExpectSound(main, main, std::string("the running scheduler in ") + kLanguageNames[language]);
        SaveScreenshot(main, Shot("dpi_scheduler_running", GetParam(), language));
        ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
        SelectNode(tree, 2);
        ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL4)); }));
        const SYSTEMTIME wake = LocalTimeIn(7200);
        ArmPlanIn(run, 3600, nullptr, &wake);
        EXPECT_EQ(OwnVisible(run.Control(IDC_BUTTON_WAKEFIXPLAN)), wakeProbes[language] != nullptr);
        ExpectSound(main, main, std::string("the armed plan in ") + kLanguageNames[language]);
        SaveScreenshot(main, Shot("dpi_plan_armed", GetParam(), language));
        ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON5)));
        ASSERT_TRUE(run.ExitFromTray());
    }
}

TEST_P(DpiTest, TheCountdownTheAboutWindowAndTheCopyDialogScaleToo) {
    AppRun run(L"dpi_windows");
    HWND main = Start(run, 2);
    ASSERT_NE(main, nullptr);

    // About: as wide as its logo plus 12, scaled.
    PostMenuCommand(main, IDM_N3_ABOUT);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = run.Proc().VisibleWindow(ZELVAR_ABOUT_CLASS)) != nullptr; }));
    Sync(about);
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_NEAR(client.right, (266 + 12) * Scale(), (266 + 12) * Scale() * 0.02 + 1);
    ExpectSound(main, about, "the about window");
    SaveScreenshot(about, Shot("dpi_about", GetParam(), 2));
    ASSERT_TRUE(Click(FindControl(about, IDC_ABOUT_PNGBUTTON1)));

    // The copy dialog.
    SelectNode(run.Control(IDC_TREEVIEW1), 3);
    if (!IsChecked(run.Control(IDC_CHECKBOX8))) {
        ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX8)));
    }
    PostClick(run.Control(IDC_PNGBUTTON6));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = run.Proc().VisibleWindow(ZELVAR_SHEDDAYS_CLASS)) != nullptr; }));
    ExpectSound(main, dialog, "the copy dialog");
    SaveScreenshot(dialog, Shot("dpi_copy_dialog", GetParam(), 2));
    PostMouseClick(FindControl(dialog, IDC_SHEDDAYS_IMAGE1));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != FALSE; }));

    // The countdown of a plan, once the other windows are done.
    SelectNode(run.Control(IDC_TREEVIEW1), 2);
    ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL4)); }));
    ArmPlanIn(run, kFullCountdownLeadSeconds);
    SaveScreenshot(main, Shot("hc_dark_plan_armed", 96, 1));
    ASSERT_TRUE(WaitFor([&] { return CountOpened(run); }, kAtOffTimeoutMs));
    HWND count = CountWindow(run);
    ExpectClientSize(count, 254, 97, "countdown");
    ExpectSound(main, count, "the countdown");
    SaveScreenshot(count, Shot("dpi_countdown", GetParam(), 2));
    PostMouseClick(FindControl(count, IDC_COUNT_IMAGE2));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(count); }));
}

INSTANTIATE_TEST_SUITE_P(AtThreeDensities, DpiTest, ::testing::Values(96, 144, 192));

// The system colours a high-contrast theme sets, as Windows' "High Contrast
// Black" and "High Contrast White" have them. Wine reports no high contrast:
// the test build's stand-in says it is on.
const int kThemeColours[] = {COLOR_WINDOW,  COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                             COLOR_BTNFACE, COLOR_BTNTEXT,    COLOR_GRAYTEXT,  COLOR_HOTLIGHT};
const COLORREF kHighContrastBlack[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(26, 235, 255), RGB(0, 0, 0),
                                       RGB(0, 0, 0), RGB(255, 255, 255), RGB(63, 242, 0),   RGB(255, 255, 0)};
const COLORREF kHighContrastWhite[] = {RGB(255, 255, 255), RGB(0, 0, 0), RGB(55, 0, 110), RGB(255, 255, 255),
                                       RGB(255, 255, 255), RGB(0, 0, 0), RGB(96, 0, 0),   RGB(0, 0, 159)};
constexpr int kThemeColourCount = static_cast<int>(std::size(kThemeColours));

class HighContrastTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveRunValues();
        for (int i = 0; i < kThemeColourCount; ++i) saved_[i] = GetSysColor(kThemeColours[i]);
    }
    void TearDown() override {
        SetSysColors(kThemeColourCount, kThemeColours, saved_);
        RemoveRunValues();
    }
    static void SetTheme(const COLORREF (&colours)[kThemeColourCount]) {
        SetSysColors(kThemeColourCount, kThemeColours, colours);
    }
    // Switches the program's stand-in for high contrast, with the theme's
    // colours for its copy of them.
    static void SwitchHighContrast(HWND main, bool on, const COLORREF (&colours)[kThemeColourCount]) {
        std::wstring pairs;
        for (int i = 0; i < kThemeColourCount; ++i)
            pairs += std::to_wstring(kThemeColours[i]) + L"=" + std::to_wstring(colours[i]) + L" ";
        const ATOM atom = GlobalAddAtomW(pairs.c_str());
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutW(main, kTestSetHighContrastMessage, on ? 1 : 0, atom, SMTO_NORMAL, kStateTimeoutMs,
                                      &answer),
                  0);
        GlobalDeleteAtom(atom);
    }
    // The main window's own background, right of the name in the title strip.
    static bool BackgroundBecomes(HWND main, COLORREF colour) {
        BringToFront(main);
        RECT client{};
        GetClientRect(main, &client);
        return WaitFor([&] { return ScreenPixel(main, client.right - 40, 3) == colour; });
    }
    // Every page, the about window and the copy dialog, each on a screenshot.
    static void ShootEveryWindow(AppRun& run, const std::string& theme) {
        HWND main = run.Main();
        HWND tree = run.Control(IDC_TREEVIEW1);
        for (int node = 0; node < 6; ++node) {
            SelectNode(tree, node);
            ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(kPanels[node])); }));
            SaveScreenshot(main, Shot(theme + "_page" + std::to_string(node), 96, 1));
        }
        // The week grid shows while the scheduler runs, tomorrow's power-down and wake marked.
        SelectNode(tree, 3);
        ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
        ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL8)); }));
        SaveScreenshot(main, Shot(theme + "_scheduler_running", 96, 1));
        ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
        PostMenuCommand(main, IDM_N3_ABOUT);
        HWND about = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (about = run.Proc().VisibleWindow(ZELVAR_ABOUT_CLASS)) != nullptr; }));
        SaveScreenshot(about, Shot(theme + "_about", 96, 1));
        ASSERT_TRUE(Click(FindControl(about, IDC_ABOUT_PNGBUTTON1)));
        SelectNode(tree, 3);
        if (!IsChecked(run.Control(IDC_CHECKBOX8))) {
            ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX8)));
        }
        PostClick(run.Control(IDC_PNGBUTTON6));
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (dialog = run.Proc().VisibleWindow(ZELVAR_SHEDDAYS_CLASS)) != nullptr; }));
        SaveScreenshot(dialog, Shot(theme + "_copy_dialog", 96, 1));
        PostMouseClick(FindControl(dialog, IDC_SHEDDAYS_IMAGE1));
        ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != FALSE; }));
    }
    COLORREF saved_[kThemeColourCount] = {};
};

TEST_F(HighContrastTest, EveryWindowTakesTheSystemsColoursAndFollowsASwitchWhileRunning) {
    SetTheme(kHighContrastBlack);
    AppRun run(L"high_contrast");
    run.SetEnvironment(L"ZELVAR_TEST_HIGH_CONTRAST", L"1");
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::string tomorrow = std::to_string((now.wDayOfWeek == 0 ? 7 : now.wDayOfWeek) % 7 + 1);
    WriteFileBytes(run.PathOf(L"scheduler.ini"), "[Week]\r\noff_check1_" + tomorrow + "=1\r\noff_time1_" + tomorrow +
                                                     "=7:30:00\r\noff_check2_" + tomorrow + "=1\r\noff_time2_" +
                                                     tomorrow + "=8:30:00\r\n");
    run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nlogosound=0\r\nautoupd=0\r\nallclose=0\r\nlng=1\r\n");
    HWND main = run.MainIfUp(run.StartUp());
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(BackgroundBecomes(main, RGB(0, 0, 0)));
    ShootEveryWindow(run, "hc_dark");

    // The countdown in the dark theme, then the light one switched on while
    // it counts: every window of the program follows.
    SelectNode(run.Control(IDC_TREEVIEW1), 2);
    ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL4)); }));
    ArmPlanIn(run, kFullCountdownLeadSeconds);
    SaveScreenshot(main, Shot("hc_dark_plan_armed", 96, 1));
    ASSERT_TRUE(WaitFor([&] { return CountOpened(run); }, kAtOffTimeoutMs));
    HWND count = CountWindow(run);
    SaveScreenshot(count, Shot("hc_dark_countdown", 96, 1));
    SetTheme(kHighContrastWhite);
    SwitchHighContrast(main, true, kHighContrastWhite);
    EXPECT_TRUE(BackgroundBecomes(main, RGB(255, 255, 255)));
    SaveScreenshot(count, Shot("hc_light_countdown", 96, 1));
    PostMouseClick(FindControl(count, IDC_COUNT_IMAGE2));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(count); }));
    ShootEveryWindow(run, "hc_light");

    // High contrast off: the program's own colours again.
    SwitchHighContrast(main, false, saved_);
    EXPECT_TRUE(BackgroundBecomes(main, RGB(72, 42, 90)));
    ASSERT_TRUE(run.ExitFromTray());
}

}  // namespace
}  // namespace zelvar::e2e
