#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/handles_win.h"
#include "common/paths_win.h"
#include "common/text.h"
#include "i18n/lang_files_win.h"

using namespace zelvar;

namespace {

// A throw-away program folder with a "languages" folder inside.
class LangFilesWin : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
        folder_ = std::wstring(temp) + L"zelvar-lang-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(GetTickCount64()) + L"\\";
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((folder_ + L"languages").c_str(), nullptr));
    }
    void TearDown() override {
        for (const wchar_t* name : {L"Russian.ini", L"English.ini", L"Deutsch.ini"})
            DeleteFileW(Path(name).c_str());
        RemoveDirectoryW((folder_ + L"languages").c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring Path(const wchar_t* name) const { return folder_ + L"languages\\" + name; }
    void Write(const wchar_t* name, const std::string& bytes) {
        UniqueFileHandle f(CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(f);
        DWORD n = 0;
        ASSERT_TRUE(WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr));
        ASSERT_EQ(n, bytes.size());
    }
    std::wstring folder_;
};

}  // namespace

TEST_F(LangFilesWin, ReadsTheSelectedFileAnewAtEveryCall) {
    Write(L"English.ini", "[LANGFILE]\r\napply=Apply\r\n");
    Write(L"Deutsch.ini", "[LANGFILE]\r\napply=\xC3\x9C" "bernehmen\r\n");
    Write(L"Russian.ini", "[LANGFILE]\r\napply=\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB8\xD1\x82\xD1\x8C\r\n");
    EXPECT_EQ(GetLangText(folder_, 1, L"apply"), L"Apply");
    EXPECT_EQ(GetLangText(folder_, 2, L"apply"), L"\u00DCbernehmen");
    EXPECT_EQ(GetLangText(folder_, 0, L"apply"), L"\u041F\u0440\u0438\u043C\u0435\u043D\u0438\u0442\u044C");
    // An edited file takes effect at the next lookup.
    Write(L"Deutsch.ini", "[LANGFILE]\r\napply=Anwenden\r\n");
    EXPECT_EQ(GetLangText(folder_, 2, L"apply"), L"Anwenden");
}

TEST_F(LangFilesWin, MissingKeyFallsBackToEnglishThenToTheKey) {
    Write(L"English.ini", "[LANGFILE]\r\nclose=Close\r\nhistory=Version history\r\n");
    Write(L"Deutsch.ini", "[LANGFILE]\r\nclose=Schlie\xC3\x9F" "en\r\n");
    EXPECT_EQ(GetLangText(folder_, 2, L"close"), L"Schlie\u00DFen");
    EXPECT_EQ(GetLangText(folder_, 2, L"history"), L"Version history");
    EXPECT_EQ(GetLangText(folder_, 2, L"nosuchkey"), L"nosuchkey");
    EXPECT_EQ(GetLangText(folder_, 1, L"nosuchkey"), L"nosuchkey");
    // An empty text is a text: no fallback.
    Write(L"Deutsch.ini", "[LANGFILE]\r\nhistory=\r\n");
    EXPECT_EQ(GetLangText(folder_, 2, L"history"), L"");
    // Without an English file a missing key still yields some text.
    DeleteFileW(Path(L"English.ini").c_str());
    EXPECT_EQ(GetLangText(folder_, 2, L"close"), L"close");
}

TEST_F(LangFilesWin, MissingSelectedFileRaisesAFileErrorNamingIt) {
    Write(L"English.ini", "[LANGFILE]\r\napply=Apply\r\n");
    try {
        GetLangText(folder_, 2, L"apply");
        FAIL() << "no error for a missing file";
    } catch (const LanguageFileError& e) {
        EXPECT_EQ(e.Path(), Path(L"Deutsch.ini"));
        EXPECT_EQ(e.Code(), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
        const std::wstring shown = Utf8ToUtf16(e.what());
        EXPECT_NE(shown.find(Path(L"Deutsch.ini")), std::wstring::npos) << e.what();
    }
    // An index outside the list names no file and is an error too.
    EXPECT_THROW(GetLangText(folder_, 3, L"apply"), LanguageFileError);

    auto check = CheckLanguageFile(folder_, 2);
    ASSERT_TRUE(check.has_value());
    EXPECT_EQ(check->Path(), Path(L"Deutsch.ini"));
    EXPECT_FALSE(CheckLanguageFile(folder_, 1).has_value());
}

TEST_F(LangFilesWin, MissingFolderAndLockedFileAreFileErrors) {
    const std::wstring nowhere = folder_ + L"absent\\";
    EXPECT_THROW(GetLangText(nowhere, 1, L"apply"), LanguageFileError);
    EXPECT_TRUE(CheckLanguageFile(nowhere, 1).has_value());

    // A file another program holds open without sharing cannot be read.
    Write(L"English.ini", "[LANGFILE]\r\napply=Apply\r\n");
    UniqueFileHandle lock(CreateFileW(Path(L"English.ini").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    auto check = CheckLanguageFile(folder_, 1);
    ASSERT_TRUE(check.has_value());
    EXPECT_EQ(check->Code(), static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
    EXPECT_THROW(GetLangText(folder_, 1, L"apply"), LanguageFileError);
}

TEST(LangFilesWinExe, ExeFolderVersionReadsBesideTheProgram) {
    const std::wstring expected = ExeFolder() + L"languages\\English.ini";
    if (auto error = CheckLanguageFile(1)) {
        EXPECT_EQ(error->Path(), expected);
        EXPECT_THROW(GetLangText(1, L"apply"), LanguageFileError);
    } else {
        EXPECT_EQ(GetLangText(1, L"apply"), GetLangText(ExeFolder(), 1, L"apply"));
        EXPECT_FALSE(GetLangText(1, L"apply").empty());
    }
}
