// IniFile: the program's settings and schedule go through it, so what it
// writes must read back unchanged, and failures must be reported.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/ini_win.h"

namespace zelvar {
namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        folder_ = std::wstring(temp) + L"zelvar-ini-test-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        path_ = folder_ + L"\\config.ini";
        DeleteFileW(path_.c_str());
    }
    void TearDown() override {
        DeleteFileW(path_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring folder_, path_;
};

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsTheFallback) {
    IniFile ini(path_);
    EXPECT_EQ(ini.Read(L"OPTIONS", L"fs", L"1"), L"1");
    EXPECT_EQ(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "reading must not create the file";

    ASSERT_TRUE(ini.Write(L"OPTIONS", L"tray", L"0"));
    EXPECT_EQ(ini.Read(L"Week", L"tray", L"fallback"), L"fallback");
    EXPECT_EQ(ini.Read(L"OPTIONS", L"fs", L"1"), L"1");
    EXPECT_EQ(ini.Read(L"OPTIONS", L"fs", L""), L"");
}

TEST_F(IniFileTest, WriteCreatesFileAndSectionAndKeepsOtherKeys) {
    IniFile ini(path_);
    ASSERT_TRUE(ini.Write(L"OPTIONS", L"autoload", L"1"));
    ASSERT_TRUE(ini.Write(L"OPTIONS", L"lng", L"2"));
    ASSERT_TRUE(ini.Write(L"Week", L"1off", L"22:00:00"));
    ASSERT_TRUE(ini.Write(L"OPTIONS", L"autoload", L"0"));  // rewrite in place

    // A fresh object: nothing is cached, all comes from the file.
    IniFile again(path_);
    EXPECT_EQ(again.Read(L"OPTIONS", L"autoload", L"x"), L"0");
    EXPECT_EQ(again.Read(L"OPTIONS", L"lng", L"x"), L"2");
    EXPECT_EQ(again.Read(L"Week", L"1off", L"x"), L"22:00:00");
    EXPECT_EQ(again.Read(L"options", L"LNG", L"x"), L"2");  // names are not case-sensitive
}

TEST_F(IniFileTest, BlanksNonLatinTextAndEmptyValuesSurvive) {
    IniFile ini(path_);
    const std::wstring path = L"C:\\Program Files\\My  Tools\\run me.exe|D:\\x.bat";
    // A start-up program in a folder named in Russian and German.
    const std::wstring unicode =
        L"C:\\\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u044b\\B\u00fcro\\\u65e5\u672c.exe";
    ASSERT_TRUE(ini.Write(L"OPTIONS", L"autoexe", path));
    ASSERT_TRUE(ini.Write(L"OPTIONS", L"unicode", unicode));
    ASSERT_TRUE(ini.Write(L"OPTIONS", L"empty", L""));
    EXPECT_EQ(ini.Read(L"OPTIONS", L"autoexe", L"x"), path);
    EXPECT_EQ(ini.Read(L"OPTIONS", L"unicode", L"x"), unicode);
    EXPECT_EQ(ini.Read(L"OPTIONS", L"empty", L"x"), L"");  // present but empty is not missing
}

TEST_F(IniFileTest, LongValuesReadWhole) {
    IniFile ini(path_);
    for (size_t length : {255u, 256u, 257u, 1024u, 5000u}) {
        std::wstring value;
        for (size_t i = 0; i < length; ++i) value += static_cast<wchar_t>(L'a' + i % 26);
        ASSERT_TRUE(ini.Write(L"OPTIONS", L"autoexe", value)) << length;
        EXPECT_EQ(ini.Read(L"OPTIONS", L"autoexe", L""), value) << length;
    }
    // A long fallback comes back whole too.
    const std::wstring fallback(700, L'f');
    EXPECT_EQ(ini.Read(L"OPTIONS", L"missing", fallback), fallback);
}

TEST_F(IniFileTest, WriteIntoAMissingFolderFails) {
    IniFile ini(folder_ + L"\\no such folder\\config.ini");
    EXPECT_FALSE(ini.Write(L"OPTIONS", L"fs", L"0"));
    EXPECT_EQ(ini.Read(L"OPTIONS", L"fs", L"1"), L"1");
}

TEST_F(IniFileTest, AnOlderAnsiFileTakesTextItsCodePageLacksWithoutLosingAnything) {
    const std::wstring& path = path_;
    // A file as an earlier save left it: plain ANSI, no byte order mark.
    const char ansi[] = "[OPTIONS]\r\nlng=2\r\nautoexe=C:\\a.exe\r\n";
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, ansi, sizeof(ansi) - 1, &written, nullptr);
    CloseHandle(f);

    IniFile ini(path);
    EXPECT_TRUE(ini.Write(L"OPTIONS", L"tray", L"1"));  // fits: the file stays as it is
    const std::wstring cyrillic = L"D:\\\x041F\x0440\x043E\x0433\x0440\x0430\x043C\x043C\x044B\\run.exe";
    ASSERT_TRUE(ini.Write(L"OPTIONS", L"autoexe", cyrillic));
    EXPECT_EQ(IniFile(path).Read(L"OPTIONS", L"autoexe", L""), cyrillic);
    EXPECT_EQ(IniFile(path).Read(L"OPTIONS", L"lng", L""), L"2");
    EXPECT_EQ(IniFile(path).Read(L"OPTIONS", L"tray", L""), L"1");
}

}  // namespace
}  // namespace zelvar
