// The application shell seen from outside: first and later starts, the tray,
// the single running copy, exit, damaged and unwritable settings files.
#include <gtest/gtest.h>

#include "driver.h"

namespace zelvar::e2e {
namespace {

// "0" (Russian) for a Russian system locale, "2" for a German one, else "1".
std::wstring ExpectedDefaultLanguage() {
    const LANGID primary = PRIMARYLANGID(LANGIDFROMLCID(GetSystemDefaultLCID()));
    return primary == LANG_RUSSIAN ? L"0" : primary == LANG_GERMAN ? L"2" : L"1";
}

std::wstring LanguageFileFor(const AppRun& run, const std::wstring& index) {
    const wchar_t* names[] = {L"Russian.ini", L"English.ini", L"Deutsch.ini"};
    return run.PathOf(L"languages\\") + names[_wtoi(index.c_str())];
}

bool SamePath(const std::optional<std::wstring>& value, const std::wstring& path) {
    return value && _wcsicmp(value->c_str(), path.c_str()) == 0;
}

bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }
// The control's own visibility flag, whatever its parents show.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveRunValues(); }
    void TearDown() override { RemoveRunValues(); }

    // Starts the run and waits until it is up (a later start into the tray
    // hides the window again 888 ms after it first shows).
    HWND StartUp(AppRun& run) { return run.MainIfUp(run.StartUp()); }
};

TEST_F(ShellTest, FirstStartWritesEveryOptionRegistersTheProgramAndStaysVisible) {
    AppRun run(L"first_start");
    HWND main = StartUp(run);
    ASSERT_NE(main, nullptr);

    // The file exists with all ten keys at their first-start values.
    const std::pair<const wchar_t*, std::wstring> expected[] = {
        {L"fs", L"0"},           {L"autoload", L"1"},
        {L"tray", L"1"},         {L"allclose", L"1"},
        {L"logosound", L"1"},    {L"autoupd", L"1"},
        {L"resetafteron", L"0"}, {L"actsheduler", L"0"},
        {L"autoexe", L""},       {L"lng", ExpectedDefaultLanguage()},
    };
    for (const auto& [key, value] : expected) EXPECT_EQ(run.Config(key), value) << key;

    // Registered to start with Windows: for the machine where that is
    // allowed, else for the user, never both.
    const auto machine = RunValue(HKEY_LOCAL_MACHINE), user = RunValue(HKEY_CURRENT_USER);
    EXPECT_TRUE(SamePath(machine, run.ExePath()) != SamePath(user, run.ExePath()))
        << "HKLM: " << machine.value_or(L"-") << " HKCU: " << user.value_or(L"-");

    // Start hidden in the tray was just ticked, yet the first start stays in
    // view well past the 888 ms after which a later start hides.
    EXPECT_TRUE(StaysFalse([&] { return !Visible(main); }, 2000)) << "the first start hid the window";
    EXPECT_TRUE(IsChecked(run.Control(IDC_CHECKBOX4)));
    EXPECT_TRUE(IsChecked(run.Control(IDC_CHECKBOX2)));

    // The one-shot plan starts empty: off box unticked, wake controls hidden.
    EXPECT_FALSE(IsChecked(run.Control(IDC_CHECKBOX3)));
    EXPECT_FALSE(OwnVisible(run.Control(IDC_CHECKBOX1)));
    EXPECT_FALSE(OwnVisible(run.Control(IDC_DATETIMEPICKER3)));

    // The program's own top-level window carries the application title; no
    // message box came up (opening the web page must not show one either).
    EXPECT_FALSE(run.Proc().Windows(nullptr, kApplicationTitle).empty());
    EXPECT_TRUE(run.Proc().Windows(kDialogClass).empty()) << DialogText(run.Proc().Windows(kDialogClass).front());
    EXPECT_TRUE(run.Proc().Running());
    SaveScreenshot(main, L"first_start");
}

TEST_F(ShellTest, LaterStartHidesIntoTheTrayOnceAndTheTrayBringsItBack) {
    AppRun run(L"later_start");
    run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=1\r\n");
    HWND main = StartUp(run);
    ASSERT_NE(main, nullptr);

    ASSERT_TRUE(WaitFor([&] { return !Visible(main); }, kCloseTimeoutMs)) << "the window did not hide into the tray";
    EXPECT_TRUE(run.Proc().Running());
    EXPECT_TRUE(IsWindow(main));

    // "Switch off" from the tray menu: shown again, with the one-shot panel.
    PostMenuCommand(main, IDM_N4_ONOFF);
    ASSERT_TRUE(WaitFor([&] { return Visible(main); }));
    EXPECT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL4)); }));
    EXPECT_FALSE(OwnVisible(run.Control(IDC_PANEL1)));
    SaveScreenshot(main, L"tray_switch_off_panel");

    // The close button hides it again; a click on the tray icon shows it.
    PostMouseClick(run.Control(IDC_IMAGE1));
    ASSERT_TRUE(WaitFor([&] { return !Visible(main); }, kCloseTimeoutMs)) << "the close button did not hide the window";
    PostTrayNotify(main, WM_LBUTTONUP);
    ASSERT_TRUE(WaitFor([&] { return Visible(main); })) << "the tray icon did not show the window";

    // Showing it again is no first activation: it is not hidden a second time.
    EXPECT_TRUE(StaysFalse([&] { return !Visible(main); }, 1500));
    EXPECT_TRUE(run.Proc().Running());
}

TEST_F(ShellTest, SecondCopyEndsAtOnceWithoutWindowsAndWithoutTouchingFiles) {
    AppRun run(L"second_copy");
    run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=1\r\n");
    HWND main = StartUp(run);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return !Visible(main); }, kCloseTimeoutMs));  // the first copy sits in the tray

    const auto filesBefore = ListFolder(run.Folder());
    const auto configBefore = ReadFileBytes(run.ConfigPath());
    const auto machineBefore = RunValue(HKEY_LOCAL_MACHINE), userBefore = RunValue(HKEY_CURRENT_USER);

    Process copy = run.StartCopy();
    ASSERT_TRUE(copy);
    std::vector<std::wstring> copyWindows;
    const bool ended = WaitFor(
        [&] {
            for (HWND w : copy.Windows()) copyWindows.push_back(ClassOf(w) + L" '" + TextOf(w) + L"'");
            return !copy.Running();
        },
        10000);
    ASSERT_TRUE(ended) << "the second copy kept running";
    EXPECT_EQ(copy.ExitCode(), std::optional<DWORD>(0));
    EXPECT_TRUE(copyWindows.empty()) << "the second copy made a window: " << copyWindows.front();

    EXPECT_EQ(ListFolder(run.Folder()), filesBefore);
    EXPECT_EQ(ReadFileBytes(run.ConfigPath()), configBefore);
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), machineBefore);
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), userBefore);

    // The first copy goes on as before.
    EXPECT_TRUE(run.Proc().Running());
    EXPECT_TRUE(IsWindow(main));
    ASSERT_TRUE(Sync(main));
    EXPECT_EQ(ReadFileBytes(run.ConfigPath()), configBefore);
}

TEST_F(ShellTest, ExitFromTheTraySavesTheOptionsAndDropsTheRunValue) {
    AppRun run(L"exit_from_tray");
    run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=1\r\nlng=1\r\nresetafteron=0\r\n");
    HWND main = StartUp(run);
    ASSERT_NE(main, nullptr);

    // Loading a ticked start-with-Windows box registers the program.
    ASSERT_TRUE(SamePath(RunValue(HKEY_LOCAL_MACHINE), run.ExePath()) ||
                SamePath(RunValue(HKEY_CURRENT_USER), run.ExePath()));
    HWND autoload = run.Control(IDC_CHECKBOX2);
    ASSERT_TRUE(IsChecked(autoload));

    // Unticking takes the value away at once but does not write the file.
    ASSERT_TRUE(Click(autoload));
    EXPECT_FALSE(IsChecked(autoload));
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), std::nullopt);
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), std::nullopt);
    EXPECT_EQ(run.Config(L"autoload"), L"1");

    // Options without a handler of their own reach the file at exit.
    ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX10)));
    SelectComboItem(run.Control(IDC_COMBOBOX1), 2);
    EXPECT_EQ(run.Config(L"resetafteron"), L"0");

    ASSERT_TRUE(run.ExitFromTray()) << "the program did not end";
    EXPECT_EQ(run.Proc().ExitCode(), std::optional<DWORD>(0));
    EXPECT_EQ(run.Config(L"autoload"), L"0");
    EXPECT_EQ(run.Config(L"resetafteron"), L"1");
    EXPECT_EQ(run.Config(L"lng"), L"2");
    EXPECT_EQ(run.Config(L"fs"), L"0");
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), std::nullopt);
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), std::nullopt);
}

TEST_F(ShellTest, DamagedSettingsAreReadSoundlyAndWrittenBackClean) {
    AppRun run(L"damaged_config");
    // The quotes make the profile reader hand the blanks to the program.
    run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nlng=7\r\nactsheduler=\r\nautoload=\" 1 \"\r\nautoexe=|a||b|\r\n");
    HWND main = StartUp(run);
    ASSERT_NE(main, nullptr);

    EXPECT_EQ(ComboSelection(run.Control(IDC_COMBOBOX1)), 0);  // Russian
    EXPECT_TRUE(IsChecked(run.Control(IDC_CHECKBOX2)));
    EXPECT_EQ(ListBoxItems(run.Control(IDC_LISTBOX1)), (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_TRUE(OwnVisible(run.Control(IDC_PNGBUTTON4)));  // remove button: the list is not empty
    // Running scheduler, in Russian: the button offers to stop it.
    EXPECT_EQ(TextOf(run.Control(IDC_PNGBUTTON8)), ReadUtf8IniValue(LanguageFileFor(run, L"0"), "stopsheduler"));
    EXPECT_EQ(TextOf(main), kMainCaption);

    // Start-up entries that cannot be opened are passed over silently.
    ASSERT_TRUE(Sync(main));
    EXPECT_TRUE(run.Proc().Windows(kDialogClass).empty()) << DialogText(run.Proc().Windows(kDialogClass).front());

    ASSERT_TRUE(run.ExitFromTray());
    EXPECT_EQ(run.Config(L"lng"), L"0");
    EXPECT_EQ(run.Config(L"actsheduler"), L"1");
    EXPECT_EQ(run.Config(L"autoload"), L"1");
    EXPECT_EQ(run.Config(L"autoexe"), L"a|b");
    EXPECT_TRUE(SamePath(RunValue(HKEY_LOCAL_MACHINE), run.ExePath()) ||
                SamePath(RunValue(HKEY_CURRENT_USER), run.ExePath()));
}

TEST_F(ShellTest, UnwritableSettingsShowTheErrorEachTimeAndTheProgramCarriesOn) {
    AppRun run(L"unwritable_config");
    // config.ini as a folder: nothing can read or write it.
    ASSERT_TRUE(CreateDirectoryW(run.ConfigPath().c_str(), nullptr));
    const std::wstring message = ReadUtf8IniValue(LanguageFileFor(run, ExpectedDefaultLanguage()), "mserrconfig");
    ASSERT_FALSE(message.empty());

    auto expectErrorBoxAndDismiss = [&](const char* when) {
        HWND box = run.WaitForMessageBox(kStartTimeoutMs);
        ASSERT_NE(box, nullptr) << "no message box " << when;
        EXPECT_EQ(TextOf(box), kApplicationTitle) << when;
        EXPECT_EQ(DialogText(box), message) << when;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kCloseTimeoutMs)) << "the box did not close " << when;
    };

    // The first-start save fails while the window is being made.
    ASSERT_TRUE(run.Start());
    {
        HWND box = run.WaitForMessageBox(kStartTimeoutMs);
        ASSERT_NE(box, nullptr);
        SaveScreenshot(box, L"unwritable_config_message");
    }
    expectErrorBoxAndDismiss("at the first start");
    ASSERT_TRUE(run.WaitUntilUp());
    HWND main = run.Main();

    // An option that saves at once reports again; the box keeps its tick.
    HWND closeApps = run.Control(IDC_CHECKBOX5);
    const bool ticked = IsChecked(closeApps);
    PostClick(closeApps);
    expectErrorBoxAndDismiss("after a click on an option");
    EXPECT_NE(IsChecked(closeApps), ticked);
    EXPECT_TRUE(run.Proc().Running());

    // Exit reports the failed save and ends all the same.
    PostMenuCommand(main, IDM_N2_EXIT);
    expectErrorBoxAndDismiss("at exit");
    EXPECT_TRUE(run.Proc().WaitForExit(kCloseTimeoutMs)) << "the program did not end";
}

}  // namespace
}  // namespace zelvar::e2e
