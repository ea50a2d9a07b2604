// The main window seen from outside: the six pages in the three languages,
// the tree, applying a language, the tray menu and the start-up list.
#include <gtest/gtest.h>

#include "driver.h"
#include "scenario.h"

#include <commctrl.h>

namespace zelvar::e2e {
namespace {

const int kPanels[6] = {IDC_PANEL1, IDC_PANEL2, IDC_PANEL4, IDC_P_SHEDULER, IDC_PANEL5, IDC_PANEL7};
const wchar_t* const kLanguageFiles[3] = {L"Russian.ini", L"English.ini", L"Deutsch.ini"};
const char* const kLanguageNames[3] = {"ru", "en", "de"};

int VisiblePanel(const AppRun& run) {
    int shown = -1, count = 0;
    for (int i = 0; i < 6; ++i)
        if (OwnVisible(run.Control(kPanels[i]))) {
            shown = i;
            ++count;
        }
    return count == 1 ? shown : -2;
}

class WindowTest : public CleanScenario {
protected:
    HWND StartSettled(AppRun& run, int language, const std::string& extra = "") {
        run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nlogosound=0\r\nautoupd=0\r\nlng=" +
                        std::to_string(language) + "\r\n" + extra);
        return run.MainIfUp(run.StartUp());
    }
    std::wstring Lang(const AppRun& run, int language, const char* key) {
        return ReadUtf8IniValue(run.PathOf(L"languages\\") + kLanguageFiles[language], key);
    }
};

TEST_F(WindowTest, TheTreeShowsEachPageInEachLanguage) {
    for (int language = 0; language < 3; ++language) {
        AppRun run(L"pages");
        HWND main = StartSettled(run, language);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(VisiblePanel(run), 0);  // the options page first
        EXPECT_EQ(TextOf(main), kMainCaption);
        HWND tree = run.Control(IDC_TREEVIEW1);
        for (int node = 0; node < 6; ++node) {
            SelectNode(tree, node);
            ASSERT_TRUE(WaitFor([&] { return VisiblePanel(run) == node; })) << "node " << node;
            Sync(main);
            RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            Sync(main);
            std::string name = std::string("page") + std::to_string(node) + "_" + kLanguageNames[language];
            SaveScreenshot(main, std::wstring(name.begin(), name.end()));
        }
        EXPECT_EQ(TextOf(run.Control(IDC_CHECKBOX2)), Lang(run, language, "startwindows"));
        EXPECT_EQ(TextOf(run.Control(IDC_LABEL1)), Lang(run, language, "startexeintro"));
        ASSERT_TRUE(run.ExitFromTray());
    }
}

TEST_F(WindowTest, ApplyPutsTheChosenLanguageOnEveryTextAndSelectsHibernate) {
    AppRun run(L"apply_language");
    HWND main = StartSettled(run, 1);
    ASSERT_NE(main, nullptr);
    SelectComboItem(run.Control(IDC_COMBOBOX2), 0);  // power off chosen before
    SelectComboItem(run.Control(IDC_COMBOBOX1), 2);  // Deutsch, not applied yet
    EXPECT_EQ(TextOf(run.Control(IDC_CHECKBOX4)), Lang(run, 1, "starttray"));
    // Pages first visited now are made in the language applied, not the one chosen.
    EXPECT_EQ(TextOf(run.Control(IDC_LABEL1)), Lang(run, 1, "startexeintro"));
    EXPECT_EQ(TextOf(run.Control(IDC_PNGBUTTON8)), Lang(run, 1, "startsheduler"));
    for (int pass = 0; pass < 2; ++pass) {  // twice gives the same texts
        ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON3)));
        const std::pair<int, const char*> texts[] = {
            {IDC_CHECKBOX2, "startwindows"},
            {IDC_CHECKBOX4, "starttray"},
            {IDC_CHECKBOX5, "closeapplications"},
            {IDC_CHECKBOX6, "logosound"},
            {IDC_LABEL19, "autoupdate"},
            {IDC_LABEL24, "resetafteron"},
            {IDC_LABEL2, "languageintro"},
            {IDC_PNGBUTTON3, "apply"},
            {IDC_CHECKBOX3, "pcoff"},
            {IDC_CHECKBOX1, "pcon"},
            {IDC_LABEL3, "date"},
            {IDC_LABEL4, "time"},
            {IDC_PNGBUTTON2, "apply"},
            {IDC_PNGBUTTON5, "cancel"},
            {IDC_LABEL7, "pcoffinfo"},
            {IDC_LABEL10, "pconinfo"},
            {IDC_LABEL1, "startexeintro"},
            {IDC_PNGBUTTON1, "add"},
            {IDC_PNGBUTTON4, "remove"},
            {IDC_PNGBUTTON8, "startsheduler"},
            {IDC_LABEL23, "history"},
        };
        for (const auto& [id, key] : texts) EXPECT_EQ(TextOf(run.Control(id)), Lang(run, 2, key)) << key;
        // The day editor shows today, by its full name in the new language.
        SYSTEMTIME today{};
        GetLocalTime(&today);
        std::string weekday = "w";
        weekday += std::to_string(today.wDayOfWeek == 0 ? 7 : today.wDayOfWeek);
        EXPECT_EQ(TextOf(run.Control(IDC_LABEL22)), Lang(run, 2, weekday.c_str()));
        EXPECT_EQ(ComboSelection(run.Control(IDC_COMBOBOX2)), 1);
        EXPECT_EQ(TextOf(main), kMainCaption);
    }
    // The choice reaches the file with the next save.
    ASSERT_TRUE(run.ExitFromTray());
    EXPECT_EQ(run.Config(L"lng"), L"2");
}

TEST_F(WindowTest, TheTrayMenuOpensThePagesTheAboutWindowAndExits) {
    AppRun run(L"tray_menu");
    HWND main = StartSettled(run, 1);
    ASSERT_NE(main, nullptr);
    // The close glyph hides the window into the tray; "open" brings it back.
    PostMouseClick(run.Control(IDC_IMAGE1));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    PostMenuCommand(main, IDM_N1_OPEN);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    // "Switch off" opens the one-shot page, also from the tray.
    PostMouseClick(run.Control(IDC_IMAGE1));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    PostMenuCommand(main, IDM_N4_ONOFF);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) && VisiblePanel(run) == 2; }));
    // "About" shows the about window, its caption already in a language
    // chosen in the list but not applied.
    SelectComboItem(run.Control(IDC_COMBOBOX1), 2);
    PostMenuCommand(main, IDM_N3_ABOUT);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = run.Proc().VisibleWindow(ZELVAR_ABOUT_CLASS)) != nullptr; }));
    EXPECT_TRUE(WaitFor([&] { return TextOf(about) == Lang(run, 2, "menuabout"); }));
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 266 + 12);  // as wide as its logo plus 12
    EXPECT_EQ(TextOf(FindControl(about, IDC_ABOUT_LABEL3)), kMainCaption);
    SaveScreenshot(about, L"about_window");
    ASSERT_TRUE(Click(FindControl(about, IDC_ABOUT_PNGBUTTON1)));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(about); }));
    // "Exit" ends the program.
    PostMenuCommand(main, IDM_N2_EXIT);
    EXPECT_TRUE(run.Proc().WaitForExit(kCloseTimeoutMs));
}

TEST_F(WindowTest, AStartUpProgramAddedToTheListStartsOnceAtTheNextStart) {
    AppRun run(L"startup_list");
    HWND main = StartSettled(run, 1);
    ASSERT_NE(main, nullptr);
    const std::wstring program = DriverFolder() + L"titled_window.exe";
    // Add through the file dialog, as the user does.
    PostClick(run.Control(IDC_PNGBUTTON1));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = run.Proc().VisibleWindow(kDialogClass)) != nullptr; }));
    HWND name = FindControl(dialog, 0x47C);  // the file name box of the open dialog
    ASSERT_NE(name, nullptr);
    SetText(name, program);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return ListBoxItems(run.Control(IDC_LISTBOX1)).size() == 1; }));
    EXPECT_EQ(_wcsicmp(ListBoxItems(run.Control(IDC_LISTBOX1))[0].c_str(), program.c_str()), 0);
    EXPECT_TRUE(OwnVisible(run.Control(IDC_PNGBUTTON4)));
    EXPECT_EQ(_wcsicmp(run.Config(L"autoexe").c_str(), program.c_str()), 0);  // saved at once
    ASSERT_TRUE(run.ExitFromTray());
    EXPECT_TRUE(WindowsTitled(kTitledHelper).empty());

    // The next start starts it, once.
    {
        AppRun* again = &run;
        ASSERT_TRUE(again->StartUp());
        ASSERT_TRUE(WaitFor([] { return WindowsTitled(kTitledHelper).size() == 1; }, 10000));
        ASSERT_TRUE(again->ExitFromTray());
    }
    // A start while it still runs does not start it again (the start-up
    // programs are started by the time the program is up).
    ASSERT_TRUE(run.StartUp());
    EXPECT_TRUE(StaysFalse([] { return WindowsTitled(kTitledHelper).size() > 1; }, 3000));
    ASSERT_TRUE(run.ExitFromTray());
}

TEST_F(WindowTest, WindowsEndingTheSessionIsAllowedAndSavesTheOptions) {
    AppRun run(L"end_session");
    HWND main = StartSettled(run, 1, "resetafteron=0\r\n");
    ASSERT_NE(main, nullptr);
    // The restart option has no save of its own: only a close writes it.
    ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX10)));
    EXPECT_EQ(run.Config(L"resetafteron"), L"0");
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer));
    EXPECT_EQ(run.Config(L"resetafteron"), L"1");
    EXPECT_EQ(run.Config(L"fs"), L"0");
}

}  // namespace
}  // namespace zelvar::e2e
