// Nothing the user set is lost, seen from outside: start-up entries that
// must not reach the shell, language files that are gone, a settings file
// another program holds at start, and one an editor saved as UTF-8.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/text.h"
#include "driver.h"
#include "scenario.h"
#include "support/file_holder.h"

namespace zelvar::e2e {
namespace {

bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }

// "0" (Russian) when the system's default locale is Russian (Russia), else "1".
const wchar_t* DefaultLanguageFile() {
    return (GetSystemDefaultLCID() & 0xFFFF) == 0x0419 ? L"languages\\Russian.ini" : L"languages\\English.ini";
}

// A text as the shipped language file has it.
std::wstring Shipped(const wchar_t* file, const char* key) { return ReadUtf8IniValue(DriverFolder() + file, key); }

std::wstring DecodeUtf16File(const std::string& bytes) {
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return text;
}

size_t Count(const std::wstring& text, const std::wstring& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class SettingsTest : public CleanScenario {
protected:
    HWND WaitShown(AppRun& run) { return run.MainIfUp(run.WaitUntilUp()); }
    void ExpectNoMessageBox(AppRun& run) {
        const auto boxes = run.Proc().Windows(kDialogClass);
        EXPECT_TRUE(boxes.empty()) << DialogText(boxes.front());
    }
    // Dismisses the one box the start shows and returns its text.
    std::wstring DismissBox(AppRun& run) {
        HWND box = run.WaitForMessageBox(kStartTimeoutMs);
        if (!box) return L"<no message box>";
        const std::wstring text = DialogText(box);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        WaitFor([&] { return !IsWindow(box); }, kCloseTimeoutMs);
        return text;
    }
    // The general page shows the English texts of the shipped file.
    void ExpectEnglishTexts(AppRun& run) {
        const std::pair<int, const char*> texts[] = {{IDC_CHECKBOX2, "startwindows"},
                                                     {IDC_CHECKBOX4, "starttray"},
                                                     {IDC_CHECKBOX5, "closeapplications"},
                                                     {IDC_PNGBUTTON3, "apply"},
                                                     {IDC_PNGBUTTON8, "startsheduler"}};
        for (const auto& [id, key] : texts) {
            const std::wstring expected = Shipped(L"languages\\English.ini", key);
            ASSERT_FALSE(expected.empty()) << key;
            EXPECT_EQ(TextOf(run.Control(id)), expected) << key;
        }
    }
};

TEST_F(SettingsTest, LongAndRepeatedStartupEntriesAreSkippedAndTheProgramStartsTheValidOneOnce) {
    AppRun run(L"startup_entries");
    const std::wstring helper = run.PathOf(L"titled_window.exe");
    ASSERT_TRUE(CopyFileW((DriverFolder() + L"titled_window.exe").c_str(), helper.c_str(), FALSE));
    std::wstring upper = helper;
    for (auto& c : upper) c = static_cast<wchar_t>(towupper(c));
    std::wstring slashed = helper;
    for (auto& c : slashed)
        if (c == L'\\') c = L'/';
    const std::vector<std::wstring> entries{
        run.Folder() + std::wstring(3000, L'x') + L".exe", helper,  upper,
        run.Folder() + L"..\\app\\.\\titled_window.exe",   slashed,
    };
    std::wstring autoexe;
    for (const auto& e : entries) autoexe += (autoexe.empty() ? L"" : L"|") + e;
    run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nlng=1\r\nautoexe=" + Utf16ToUtf8(autoexe) + "\r\n");

    ASSERT_TRUE(run.Start());
    HWND main = WaitShown(run);
    ASSERT_NE(main, nullptr) << "the program did not come up";
    ASSERT_TRUE(WaitFor([] { return !WindowsTitled(kTitledHelper).empty(); }, kStartTimeoutMs))
        << "the valid entry was not started";
    EXPECT_TRUE(StaysFalse([] { return WindowsTitled(kTitledHelper).size() > 1; }, 2500))
        << WindowsTitled(kTitledHelper).size() << " copies started";
    EXPECT_TRUE(run.Proc().Running());
    ExpectNoMessageBox(run);
    // The list stays as the user wrote it.
    EXPECT_EQ(ListBoxItems(run.Control(IDC_LISTBOX1)), entries);
    EXPECT_EQ(run.Config(L"autoexe").size(), autoexe.size());
}

TEST_F(SettingsTest, WithoutTheLanguagesFolderTheWindowShowsTheBuiltInEnglishTexts) {
    AppRun run(L"no_languages");
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(run.PathOf(L"languages")), ec);
    run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nlng=1\r\n");
    ASSERT_TRUE(run.Start());
    const std::wstring box = DismissBox(run);
    EXPECT_NE(box.find(run.PathOf(L"languages\\English.ini")), std::wstring::npos) << box;
    HWND main = WaitShown(run);
    ASSERT_NE(main, nullptr);
    ExpectEnglishTexts(run);
    ExpectNoMessageBox(run);
    SaveScreenshot(main, L"no_languages");
}

TEST_F(SettingsTest, EnglishSelectedAndDeletedShowsEnglishAfterOneBox) {
    AppRun run(L"english_deleted");
    ASSERT_TRUE(DeleteFileW(run.PathOf(L"languages\\English.ini").c_str()));
    run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nlng=1\r\n");
    ASSERT_TRUE(run.Start());
    const std::wstring box = DismissBox(run);
    EXPECT_NE(box.find(run.PathOf(L"languages\\English.ini")), std::wstring::npos) << box;
    HWND main = WaitShown(run);
    ASSERT_NE(main, nullptr);
    ExpectEnglishTexts(run);
    // Applying the language again reports nothing new.
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON3))) << "a second box came up";
    ExpectNoMessageBox(run);
    ExpectEnglishTexts(run);
}

TEST_F(SettingsTest, ASettingsFileHeldAtStartIsWaitedForAndLeftAsItWas) {
    AppRun run(L"config_held");
    const std::string config = "[OPTIONS]\r\nfs=0\r\ntray=0\r\nallclose=0\r\nlng=2\r\nautoload=0\r\n";
    run.WriteConfig(config);
    {
        // Held from before the start until the program is reading it: the
        // options page's last control is made just before the settings are
        // read, and a held file is tried again for about 3 s.
        FileHolder holder(run.ConfigPath());
        ASSERT_TRUE(holder.Holds());
        ASSERT_TRUE(run.Start());
        HWND main = run.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitFor([&] { return run.Control(IDC_LABEL_POLICY_OPTIONS) != nullptr; }, kStartTimeoutMs));
        EXPECT_TRUE(StaysFalse([&] { return Visible(main); }, 1000))
            << "the window came up before the file could be read";
        holder.Release();
        ASSERT_NE(WaitShown(run), nullptr);
    }
    // What the file says, not the defaults; no first start.
    EXPECT_EQ(ComboSelection(run.Control(IDC_COMBOBOX1)), 2);
    EXPECT_FALSE(IsChecked(run.Control(IDC_CHECKBOX5)));
    EXPECT_FALSE(IsChecked(run.Control(IDC_CHECKBOX2)));
    ExpectNoMessageBox(run);
    ASSERT_TRUE(Sync(run.Main()));
    EXPECT_EQ(ReadFileBytes(run.ConfigPath()), std::optional<std::string>(config));
    EXPECT_EQ(run.Config(L"fs"), L"0");
}

TEST_F(SettingsTest, ASettingsFileHeldTooLongIsReportedAndNotWrittenInThisRun) {
    AppRun run(L"config_held_long");
    const std::string config = "[OPTIONS]\r\nfs=0\r\ntray=0\r\nlng=2\r\nautoload=0\r\nautoexe=C:\\mine.exe\r\n";
    run.WriteConfig(config);
    // Held until the program has given up and said so.
    FileHolder holder(run.ConfigPath());
    ASSERT_TRUE(holder.Holds());
    ASSERT_TRUE(run.Start());
    const std::wstring box = DismissBox(run);
    holder.Release();
    const std::wstring expected = Shipped(DefaultLanguageFile(), "msreadconfig");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(box.find(expected), 0u) << box;
    EXPECT_NE(box.find(run.ConfigPath()), std::wstring::npos) << box;
    HWND main = WaitShown(run);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(ListBoxItems(run.Control(IDC_LISTBOX1)).empty());  // the defaults

    // Neither an option click nor the exit writes the file, nor the run value.
    ASSERT_TRUE(holder.Released(kStartTimeoutMs));
    ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX5))) << "a box came up after the click";
    ASSERT_TRUE(run.ExitFromTray());
    EXPECT_EQ(ReadFileBytes(run.ConfigPath()), std::optional<std::string>(config));
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), std::nullopt);
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), std::nullopt);
}

TEST_F(SettingsTest, AUtf8SettingsFileIsReadRightAndSavedWithoutASecondSection) {
    AppRun run(L"config_utf8");
    const std::wstring cyrillic = L"C:\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\run.exe";
    const std::wstring foreign = L"name = \u00DCn\u00EFc\u00F6d\u00E9 \u65E5\u672C";
    run.WriteConfig("\xEF\xBB\xBF[OPTIONS]\r\nfs=0\r\ntray=0\r\nlng=1\r\nautoexe=" + Utf16ToUtf8(cyrillic) +
                    "\r\n\r\n[Foreign]\r\n" + Utf16ToUtf8(foreign) + "\r\n");
    ASSERT_TRUE(run.Start());
    HWND main = WaitShown(run);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ListBoxItems(run.Control(IDC_LISTBOX1)), std::vector<std::wstring>{cyrillic});
    ExpectNoMessageBox(run);

    ASSERT_TRUE(run.ExitFromTray());
    const auto bytes = ReadFileBytes(run.ConfigPath());
    ASSERT_TRUE(bytes && bytes->size() > 2);
    ASSERT_EQ(bytes->substr(0, 2), "\xFF\xFE") << "saved in an encoding the profile functions cannot read";
    const std::wstring text = DecodeUtf16File(*bytes);
    EXPECT_EQ(Count(text, L"[OPTIONS]"), 1u) << std::string(text.begin(), text.end());
    EXPECT_EQ(Count(text, L"\r\n" + foreign + L"\r\n"), 1u);
    EXPECT_EQ(run.Config(L"autoexe"), cyrillic);
    EXPECT_EQ(run.Config(L"fs"), L"0");
    EXPECT_EQ(run.Config(L"lng"), L"1");
}

}  // namespace
}  // namespace zelvar::e2e
