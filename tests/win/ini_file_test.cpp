// The settings file with real files: a file another program holds is waited
// for and never taken for a missing one, a save keeps everything the program
// does not own, and a save that fails leaves the previous file whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/settings.h"
#include "app/settings_file_win.h"
#include "common/handles_win.h"
#include "common/ini_win.h"
#include "common/text.h"
#include "support/file_holder.h"

namespace zelvar {
namespace {

std::string Bytes(const std::wstring& path) {
    UniqueFileHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return "<none>";
    LARGE_INTEGER size{};
    GetFileSizeEx(f.get(), &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD n = 0;
    if (!bytes.empty()) ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    bytes.resize(n);
    return bytes;
}

void Put(const std::wstring& path, const std::string& bytes) {
    UniqueFileHandle f(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(f);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr));
    ASSERT_EQ(n, bytes.size());
}

std::wstring Decoded(const std::wstring& path) { return DecodeTextFile(Bytes(path), DecodeAnsi).text; }

std::wstring ProfileRead(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    wchar_t buf[4096] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", buf, 4096, path.c_str());
    return buf;
}

class IniFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        folder_ = std::wstring(temp) + L"zelvar-inifile-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(GetTickCount64());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        path_ = folder_ + L"\\config.ini";
    }
    void TearDown() override {
        DeleteFileW(path_.c_str());
        DeleteFileW((path_ + L".new").c_str());
        RemoveDirectoryW(path_.c_str());
        EXPECT_TRUE(RemoveDirectoryW(folder_.c_str())) << "something was left in the folder";
    }
    bool NoCopyLeft() const { return GetFileAttributesW((path_ + L".new").c_str()) == INVALID_FILE_ATTRIBUTES; }
    std::wstring folder_, path_;
};

const std::string kSettled = "[OPTIONS]\r\nfs=0\r\ntray=0\r\nlng=2\r\nautoexe=C:\\a.exe\r\n";

TEST_F(IniFileOnDisk, AFileHeldOpenAtStartIsWaitedForAndReadAsItIs) {
    Put(path_, kSettled);
    SettingsLoad load;
    {
        FileHolder holder(path_, 700);
        load = LoadSettingsFile(path_, 1, RetryPolicy{40, 100});
    }
    EXPECT_FALSE(load.settings.firstStart) << "a held file was taken for a missing one";
    EXPECT_TRUE(load.writable);
    EXPECT_FALSE(load.reportUnreadable);
    EXPECT_EQ(load.settings.lng, 2);
    EXPECT_EQ(load.settings.autoexe, std::vector<std::wstring>{L"C:\\a.exe"});
    EXPECT_EQ(Bytes(path_), kSettled);
}

TEST_F(IniFileOnDisk, AFileHeldLongerRunsOnTheDefaultsAndIsNeverWritten) {
    Put(path_, kSettled);
    {
        FileHolder holder(path_, 1500);
        const SettingsLoad load = LoadSettingsFile(path_, 1, RetryPolicy{3, 50});
        EXPECT_FALSE(load.settings.firstStart);
        EXPECT_FALSE(load.writable);
        EXPECT_TRUE(load.reportUnreadable);
        EXPECT_EQ(load.readError, static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(load.settings.lng, 1);
        // A save that comes while it is held fails instead of writing defaults;
        // a single read tells that it found the file unreadable.
        IniFile ini(path_);
        EXPECT_FALSE(WriteSettings(ini, load.settings));
        EXPECT_EQ(ini.Read(kOptionsSection, L"lng", L"unread"), L"unread");
        EXPECT_EQ(ini.LastReadState(), IniFileState::Unreadable);
    }
    EXPECT_EQ(Bytes(path_), kSettled);
    EXPECT_TRUE(NoCopyLeft());
    IniFile ini(path_);
    EXPECT_EQ(ini.Read(kOptionsSection, L"lng", L"unread"), L"2");
    EXPECT_EQ(ini.LastReadState(), IniFileState::Read);
}

TEST_F(IniFileOnDisk, AFolderWhereTheFileShouldBeIsAFirstStartThatCannotSave) {
    ASSERT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
    const SettingsLoad load = LoadSettingsFile(path_, 1, RetryPolicy{3, 10});
    EXPECT_TRUE(load.settings.firstStart);
    EXPECT_TRUE(load.writable);
    IniFile ini(path_);
    EXPECT_FALSE(WriteSettings(ini, load.settings));
    EXPECT_TRUE(NoCopyLeft());
}

// The text of a file in three scripts, with the lines an editor leaves:
// comments, blank lines, blanks around "=".
const std::string kForeignHead =
    "\xEF\xBB\xBF; \xD0\x9D\xD0\xB0\xD1\x81\xD1\x82\xD1\x80\xD0\xBE\xD0\xB9\xD0\xBA\xD0\xB8 Zelvar\r\n"
    "\r\n"
    "[Sync]\r\n"
    "  owner  =  J\xC3\xBCrgen M\xC3\xBCller  \r\n"
    "\xE6\x97\xA5\xE6\x9C\xAC=\xE6\x9D\xB1\xE4\xBA\xAC\r\n"
    "no equals here\r\n"
    "\r\n";
const std::string kOptions =
    "[OPTIONS]\r\n"
    "autoload=1\r\n"
    "tray = 0\r\n"
    "allclose=1\r\n"
    "autoexe=C:\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x8B\\run.exe|D:\\B\xC3\xBCro\\a."
    "exe\r\n"
    "logosound=1\r\nautoupd=1\r\nresetafteron=0\r\nactsheduler=0\r\nfs=0\r\nlng=0\r\n"
    "\r\n";
const std::string kForeignTail =
    "[\xD0\x9F\xD1\x80\xD0\xBE\xD1\x87\xD0\xB5\xD0\xB5]\r\n"
    "path=E:\\\xE4\xB8\xAD\xE6\x96\x87\\x.exe\r\n"
    "; the end";

TEST_F(IniFileOnDisk, AUtf8FileKeepsEveryForeignLineAndOurValuesReadBackExactly) {
    const std::string original = kForeignHead + kOptions + kForeignTail;
    Put(path_, original);
    const SettingsLoad load = LoadSettingsFile(path_, 1);
    ASSERT_FALSE(load.settings.firstStart);
    const std::vector<std::wstring> paths{L"C:\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\run.exe",
                                          L"D:\\B\u00FCro\\a.exe"};
    EXPECT_EQ(load.settings.autoexe, paths);
    EXPECT_EQ(load.settings.lng, 0);

    // A save that changes nothing leaves the file as it is, still UTF-8.
    IniFile ini(path_);
    ASSERT_TRUE(WriteSettings(ini, load.settings));
    EXPECT_EQ(Bytes(path_), original);

    Settings changed = load.settings;
    changed.tray = true;
    changed.autoexe.push_back(L"F:\\\u65E5\u672C\\\u30C4\u30FC\u30EB.exe");
    ASSERT_TRUE(WriteSettings(ini, changed));

    // Now UTF-16, the foreign text around our section unchanged line for line.
    const std::string bytes = Bytes(path_);
    ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    const std::wstring text = Decoded(path_);
    const std::wstring head = Utf8ToUtf16(kForeignHead.substr(3)), tail = Utf8ToUtf16(kForeignTail);
    EXPECT_EQ(text.substr(0, head.size()), head);
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(std::count(text.begin(), text.end(), L'['), 3) << "a section was added or lost";

    // Our values read back exactly, also through the platform's own reader.
    const SettingsLoad again = LoadSettingsFile(path_, 1);
    EXPECT_EQ(again.settings.autoexe, changed.autoexe);
    EXPECT_TRUE(again.settings.tray);
    EXPECT_EQ(ProfileRead(path_, L"OPTIONS", L"autoexe"), JoinAutoexe(changed.autoexe));
    EXPECT_EQ(ProfileRead(path_, L"OPTIONS", L"tray"), L"1");
    EXPECT_EQ(ProfileRead(path_, L"Sync", L"owner"), L"J\u00FCrgen M\u00FCller");
}

TEST_F(IniFileOnDisk, ATwentyMegabyteFileWithForeignSectionsSurvivesASave) {
    // UTF-8 without a mark, as a sync tool wrote it.
    std::string head, tail;
    for (int i = 0; head.size() < (10u << 20); ++i)
        head += "[Section" + std::to_string(i) +
                "]\r\nkey=\xD0\x97\xD0\xBD\xD0\xB0\xD1\x87\xD0\xB5\xD0\xBD\xD0\xB8\xD0\xB5 " + std::to_string(i) +
                " \xE5\x80\xA4\r\n; comment " + std::to_string(i) + "\r\n\r\n";
    for (int i = 0; tail.size() < (10u << 20); ++i)
        tail += "[Tail" + std::to_string(i) + "]\r\nv = " + std::to_string(i) + "\r\n";
    Put(path_, head + kOptions + tail);

    const auto start = std::chrono::steady_clock::now();
    const SettingsLoad load = LoadSettingsFile(path_, 1);
    const auto loaded = std::chrono::steady_clock::now();
    Settings s = load.settings;
    s.tray = true;
    IniFile ini(path_);
    ASSERT_TRUE(WriteSettings(ini, s));
    const auto saved = std::chrono::steady_clock::now();
    auto ms = [](auto d) {
        return static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
    };
    std::printf("[ measure  ] 20 MB settings file: load %lld ms, save %lld ms\n", ms(loaded - start),
                ms(saved - loaded));

    const std::wstring text = Decoded(path_);
    const std::wstring wideHead = Utf8ToUtf16(head), wideTail = Utf8ToUtf16(tail);
    ASSERT_GT(text.size(), wideHead.size() + wideTail.size());
    EXPECT_TRUE(text.compare(0, wideHead.size(), wideHead) == 0) << "the sections before ours changed";
    EXPECT_TRUE(text.compare(text.size() - wideTail.size(), wideTail.size(), wideTail) == 0)
        << "the sections after ours changed";
    EXPECT_TRUE(LoadSettingsFile(path_, 1).settings.tray);
}

TEST_F(IniFileOnDisk, ASaveInterruptedByAWriteFailureLeavesThePreviousFileWhole) {
    const std::string original = "; mine\r\n[OPTIONS]\r\nfs=0\r\ntray=0\r\n\r\n[Other]\r\nkeep = this\r\n";
    Put(path_, original);
    Settings s;
    s.firstStart = false;
    s.tray = true;
    for (size_t failAfter : {size_t{0}, size_t{1}, size_t{40}}) {
        WriteFault fault{failAfter};
        IniFile ini(path_);
        ini.SetWriteFaultForTest(&fault);
        EXPECT_FALSE(WriteSettings(ini, s)) << failAfter;
        EXPECT_EQ(Bytes(path_), original) << failAfter;
        EXPECT_TRUE(NoCopyLeft()) << failAfter;
    }
    // A file held so that it cannot be replaced: the new copy is not put in its place.
    {
        UniqueFileHandle held(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        IniFile ini(path_);
        EXPECT_FALSE(WriteSettings(ini, s));
        EXPECT_TRUE(NoCopyLeft());
    }
    EXPECT_EQ(Bytes(path_), original);
    // Without a fault the same save goes through.
    IniFile ini(path_);
    EXPECT_TRUE(WriteSettings(ini, s));
    EXPECT_EQ(ini.Read(kOptionsSection, L"tray", L""), L"1");
    EXPECT_EQ(ini.Read(L"Other", L"keep", L""), L"this");
}

}  // namespace
}  // namespace zelvar
