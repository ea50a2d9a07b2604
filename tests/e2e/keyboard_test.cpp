// The main window from the keyboard alone, as a user without a mouse works
// it: Tab and Shift+Tab through every page in reading order, arrows in the
// tree, Space on boxes and buttons, Enter for the page's apply button, Esc
// into the tray.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"

#include <shellapi.h>

#include "plan_steps.h"
#include "remote_pickers.h"

namespace zelvar::e2e {
namespace {

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveRunValues(); }
    void TearDown() override { RemoveRunValues(); }

    HWND StartSettled(AppRun& run, const std::string& extra = "") {
        run.WriteConfig(
            "[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nlogosound=0\r\nautoupd=0\r\nallclose=0\r\nlng=1\r\n" + extra);
        HWND main = run.MainIfUp(run.StartUp());
        if (!main || !BringToFront(main)) return nullptr;
        return main;
    }

    // Presses the key and waits until the focus has moved off `from`.
    HWND FocusAfter(HWND main, WORD vk, bool shift = false) {
        const HWND from = FocusedControl(main);
        PressKey(vk, shift);
        WaitFor([&] { return FocusedControl(main) != from; });
        return FocusedControl(main);
    }

    // The controls Tab reaches from the tree, by id, until it is back at the tree.
    std::vector<int> TabWalk(HWND main, bool backwards = false) {
        std::vector<int> ids;
        for (int i = 0; i < 20; ++i) {
            HWND focus = FocusAfter(main, VK_TAB, backwards);
            const int id = focus ? GetDlgCtrlID(focus) : 0;
            if (id == IDC_TREEVIEW1 || id == 0) break;
            ids.push_back(id);
        }
        return ids;
    }

    bool SelectPage(AppRun& run, HWND main, int panelId) {
        // Down in the tree moves to the next page.
        PressKey(VK_DOWN);
        return WaitFor([&] { return OwnVisible(run.Control(panelId)); }) &&
               FocusedControl(main) == run.Control(IDC_TREEVIEW1);
    }
};

TEST_F(KeyboardTest, EveryPageIsWalkedInReadingOrderAndWorksWithoutAMouse) {
    AppRun run(L"keyboard");
    HWND main = StartSettled(run);
    ASSERT_NE(main, nullptr);
    // The window opens with the focus on the tree.
    ASSERT_TRUE(WaitFor([&] { return FocusedControl(main) == run.Control(IDC_TREEVIEW1); }))
        << "focus on " << GetDlgCtrlID(FocusedControl(main));

    // Options: the six boxes; Space ticks a box and saves as a click does.
    const std::vector<int> options = {IDC_CHECKBOX2, IDC_CHECKBOX4, IDC_CHECKBOX5,
                                      IDC_CHECKBOX6, IDC_CHECKBOX7, IDC_CHECKBOX10};
    EXPECT_EQ(TabWalk(main), options);
    std::vector<int> back = TabWalk(main, true);
    EXPECT_EQ(std::vector<int>(back.rbegin(), back.rend()), options);
    FocusAfter(main, VK_TAB);
    FocusAfter(main, VK_TAB);
    ASSERT_EQ(FocusedControl(main), run.Control(IDC_CHECKBOX4));
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return run.Config(L"tray") == L"1"; }))
        << "Space did not tick and save: ticked " << IsChecked(run.Control(IDC_CHECKBOX4)) << ", focus on "
        << GetDlgCtrlID(FocusedControl(main)) << ", in the foreground " << (GetForegroundWindow() == main);
    EXPECT_TRUE(IsChecked(run.Control(IDC_CHECKBOX4)));
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return run.Config(L"tray") == L"0"; })) << "Space did not untick and save";
    SaveScreenshot(main, L"keyboard_focus_on_option");
    // Shift+Tab back to the tree.
    while (FocusedControl(main) != run.Control(IDC_TREEVIEW1) && FocusAfter(main, VK_TAB, true)) {}

    // Language: the list and its Apply; Enter on the list applies the language chosen with the arrows.
    ASSERT_TRUE(SelectPage(run, main, IDC_PANEL2));
    EXPECT_EQ(TabWalk(main), (std::vector<int>{IDC_COMBOBOX1, IDC_PNGBUTTON3}));
    ASSERT_EQ(FocusAfter(main, VK_TAB), run.Control(IDC_COMBOBOX1));
    PressKey(VK_DOWN);  // English -> Deutsch
    ASSERT_TRUE(WaitFor([&] { return ComboSelection(run.Control(IDC_COMBOBOX1)) == 2; }));
    const std::wstring german = ReadUtf8IniValue(run.PathOf(L"languages\\Deutsch.ini"), "apply");
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return TextOf(run.Control(IDC_PNGBUTTON3)) == german; })) << "Enter did not apply";
    EXPECT_EQ(FocusedControl(main), run.Control(IDC_COMBOBOX1)) << "Enter moved the focus";
    PressKey(VK_TAB, true);
    ASSERT_TRUE(WaitFor([&] { return FocusedControl(main) == run.Control(IDC_TREEVIEW1); }))
        << "focus on " << GetDlgCtrlID(FocusedControl(main));

    // One-shot plan: tick the off box, move the off date a year on, Enter
    // arms the plan, the focus lands on Cancel and Space cancels it.
    ASSERT_TRUE(SelectPage(run, main, IDC_PANEL4));
    EXPECT_EQ(TabWalk(main),
              (std::vector<int>{IDC_CHECKBOX3, IDC_DATETIMEPICKER1, IDC_DATETIMEPICKER2, IDC_PNGBUTTON2}));
    ASSERT_EQ(FocusAfter(main, VK_TAB), run.Control(IDC_CHECKBOX3));
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return IsChecked(run.Control(IDC_CHECKBOX3)); }));
    ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_CHECKBOX1)); }));
    ASSERT_EQ(FocusAfter(main, VK_TAB), run.Control(IDC_DATETIMEPICKER1));
    const std::optional<SYSTEMTIME> before = PickerTime(run.Control(IDC_DATETIMEPICKER1));
    ASSERT_TRUE(before);
    // Right walks the fields (month or day first, the year third in every
    // locale we ship for); Up moves the year on.
    for (int i = 0; i < 3; ++i) PressKey(VK_RIGHT);
    PressKey(VK_UP);
    ASSERT_TRUE(WaitFor([&] {
        const auto now = PickerTime(run.Control(IDC_DATETIMEPICKER1));
        return now && now->wYear == before->wYear + 1;
    })) << "the arrows did not move the year";
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL6)); })) << "Enter did not arm the plan";
    ASSERT_TRUE(WaitFor([&] { return FocusedControl(main) == run.Control(IDC_PNGBUTTON5); }))
        << "the focus is not on Cancel but on " << GetDlgCtrlID(FocusedControl(main));
    SaveScreenshot(main, L"keyboard_plan_armed");
    // While armed, Tab goes between the tree and Cancel.
    ASSERT_EQ(FocusAfter(main, VK_TAB), run.Control(IDC_TREEVIEW1));
    EXPECT_EQ(TabWalk(main), (std::vector<int>{IDC_PNGBUTTON5}));
    ASSERT_EQ(FocusAfter(main, VK_TAB), run.Control(IDC_PNGBUTTON5));
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return !OwnVisible(run.Control(IDC_PANEL6)); })) << "Space did not cancel";
    EXPECT_FALSE(IsChecked(run.Control(IDC_CHECKBOX3)));
    EXPECT_TRUE(WaitFor([&] { return FocusedControl(main) == run.Control(IDC_PNGBUTTON2); }));
    while (FocusedControl(main) != run.Control(IDC_TREEVIEW1) && FocusAfter(main, VK_TAB)) {}

    // Scheduler: the seven day buttons, the day's two rows, the start button.
    ASSERT_TRUE(SelectPage(run, main, IDC_P_SHEDULER));
    std::vector<int> scheduler;
    for (int d = 0; d < 7; ++d) scheduler.push_back(IDC_DAYBUTTON_FIRST + d);
    for (int id : {IDC_CHECKBOX8, IDC_DATETIMEPICKER5, IDC_PNGBUTTON6, IDC_CHECKBOX9, IDC_DATETIMEPICKER6,
                   IDC_PNGBUTTON7, IDC_PNGBUTTON8})
        scheduler.push_back(id);
    EXPECT_EQ(TabWalk(main), scheduler);

    // Start-up programs: the list and Add (Remove shows only with entries).
    ASSERT_TRUE(SelectPage(run, main, IDC_PANEL5));
    EXPECT_EQ(TabWalk(main), (std::vector<int>{IDC_LISTBOX1, IDC_PNGBUTTON1}));

    // About: the four links.
    ASSERT_TRUE(SelectPage(run, main, IDC_PANEL7));
    EXPECT_EQ(TabWalk(main), (std::vector<int>{IDC_LABEL13, IDC_LABEL16, IDC_LABEL23, IDC_LOGLINK}));

    // Esc hides the window into the tray, as the close glyph does.
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }, kCloseTimeoutMs)) << "Esc did not hide the window";
    EXPECT_TRUE(run.Proc().Running());
}

TEST_F(KeyboardTest, LabelsOfTheLastTwoOptionsTickTheirBoxesAndMessageBoxesGiveTheFocusBack) {
    AppRun run(L"keyboard_labels");
    // An entry that starts nothing, so the remove button is there.
    HWND main = StartSettled(run, "autoexe=C:\\nowhere\\nothing.exe\r\n");
    ASSERT_NE(main, nullptr);
    // A click on the caption label ticks its box, as the other boxes' captions do.
    PostMouseClick(run.Control(IDC_LABEL19));
    EXPECT_TRUE(WaitFor([&] { return IsChecked(run.Control(IDC_CHECKBOX7)); }));
    EXPECT_TRUE(WaitFor([&] { return run.Config(L"autoupd") == L"1"; }));
    PostMouseClick(run.Control(IDC_LABEL24));
    EXPECT_TRUE(WaitFor([&] { return IsChecked(run.Control(IDC_CHECKBOX10)); }));

    // Remove with no line selected shows a box; after it the focus is back on Remove.
    ASSERT_TRUE(BringToFront(main));
    while (FocusedControl(main) != run.Control(IDC_TREEVIEW1) && FocusAfter(main, VK_TAB)) {}
    for (int i = 0; i < 4; ++i) PressKey(VK_DOWN);
    ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL5)); }));
    ASSERT_EQ(FocusAfter(main, VK_TAB), run.Control(IDC_LISTBOX1));
    ASSERT_EQ(FocusAfter(main, VK_TAB), run.Control(IDC_PNGBUTTON1));
    ASSERT_EQ(FocusAfter(main, VK_TAB), run.Control(IDC_PNGBUTTON4));
    PressKey(VK_SPACE);
    HWND box = run.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kCloseTimeoutMs));
    EXPECT_TRUE(WaitFor([&] { return FocusedControl(main) == run.Control(IDC_PNGBUTTON4); }))
        << "the focus went to " << GetDlgCtrlID(FocusedControl(main));
}

TEST_F(KeyboardTest, TheTrayIconAndTheCountdownAnswerTheKeyboard) {
    AppRun run(L"keyboard_tray");
    HWND main = StartSettled(run);
    ASSERT_NE(main, nullptr);
    // The icon asks the shell for the current behaviour, as Windows' own do.
    ASSERT_TRUE(WaitFor([&] { return TrayVersion(main) != 0; }));
    EXPECT_EQ(TrayVersion(main), 4) << "the shell kept the oldest behaviour";

    // The menu key or Shift+F10 on it (WM_CONTEXTMENU) opens its menu, which
    // the arrows and Enter work: "Turn off the computer…" opens the plan page.
    // It comes before the window is ever hidden: under Wine the X server
    // tells of a window's lost focus in its own time, and when that comes
    // after the menu opened (the window shown again meanwhile), Wine cancels
    // the menu (WM_CANCELMODE), which Windows never does. Each key goes only
    // once the menu has taken the one before.
    ASSERT_FALSE(OwnVisible(run.Control(IDC_PANEL4)));
    int loops = MenuLoops(main);
    PostTrayNotify(main, WM_CONTEXTMENU);
    ASSERT_TRUE(WaitFor([&] { return MenuLoops(main) > loops; })) << "no menu";
    ASSERT_LT(MenuEnds(main), MenuLoops(main)) << "the menu closed before a key";
    PressKey(VK_DOWN);
    const auto menuState = [&] {
        return "item " + std::to_string(MenuItem(main)) + " selected, menu loops entered " +
               std::to_string(MenuLoops(main)) + ", left " + std::to_string(MenuEnds(main));
    };
    ASSERT_TRUE(WaitFor([&] { return MenuItem(main) == IDM_N1_OPEN; })) << "after Down: " << menuState();
    PressKey(VK_DOWN);
    ASSERT_TRUE(WaitFor([&] { return MenuItem(main) == IDM_N4_ONOFF; })) << "after Down: " << menuState();
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) && OwnVisible(run.Control(IDC_PANEL4)); }))
        << "the menu's second item did not open the plan page";
    // Esc closes the menu and nothing else happens.
    loops = MenuLoops(main);
    PostTrayNotify(main, WM_CONTEXTMENU);
    ASSERT_TRUE(WaitFor([&] { return MenuLoops(main) > loops; })) << "no menu";
    ASSERT_LT(MenuEnds(main), MenuLoops(main)) << "the menu closed before a key";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return MenuEnds(main) == MenuLoops(main); })) << "Esc left the menu open";
    EXPECT_TRUE(IsWindowVisible(main) && OwnVisible(run.Control(IDC_PANEL4)));

    // Enter or Space on the icon (NIN_KEYSELECT) brings the hidden window up
    // with the focus in it.
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }, kCloseTimeoutMs));
    PostTrayNotify(main, NIN_KEYSELECT);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) && FocusedControl(main) == run.Control(IDC_TREEVIEW1); }))
        << "Enter on the icon did not bring the window up";
    EXPECT_TRUE(run.Proc().Running());

    // The countdown takes the focus when it opens, on its cancel button, and
    // Enter cancels the plan as the button does.
    ASSERT_TRUE(BringToFront(main));
    ArmPlanIn(run, kFullCountdownLeadSeconds);
    ASSERT_TRUE(WaitFor([&] { return CountOpened(run); }, kAtOffTimeoutMs)) << "no countdown";
    HWND count = CountWindow(run);
    ASSERT_TRUE(WaitFor([&] { return FocusedControl(count) == FindControl(count, IDC_COUNT_IMAGE2); }))
        << "the focus is on " << GetDlgCtrlID(FocusedControl(count));
    SaveScreenshot(count, L"keyboard_countdown_focus");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(count); }, kCloseTimeoutMs)) << "Enter did not cancel";
    EXPECT_TRUE(WaitFor([&] { return !OwnVisible(run.Control(IDC_PANEL6)); })) << "the plan stayed armed";
    EXPECT_TRUE(RecordedPowerActions(run).empty());
}

}  // namespace
}  // namespace zelvar::e2e
