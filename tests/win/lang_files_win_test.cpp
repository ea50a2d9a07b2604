// The language lookup with real files: a caption is never left blank, and a
// selected file that cannot be used is reported once, naming it.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "common/handles_win.h"
#include "common/paths_win.h"
#include "i18n/lang_files_win.h"
#include "i18n/lang_lookup.h"

using namespace zelvar;

namespace {

constexpr int kRussian = 0, kEnglish = 1, kGerman = 2;
const std::string kBuiltin =
    "[LANGFILE]\r\napply=Built-in apply\r\nclose=Built-in close\r\nhistory=Built-in history\r\n";

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
        for (const wchar_t* name : {L"Russian.ini", L"English.ini", L"Deutsch.ini"}) DeleteFileW(Path(name).c_str());
        RemoveDirectoryW((folder_ + L"languages").c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring Path(const wchar_t* name) const { return folder_ + L"languages\\" + name; }
    void Write(const wchar_t* name, const std::string& bytes) {
        UniqueFileHandle f(
            CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(f);
        DWORD n = 0;
        ASSERT_TRUE(WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr));
        ASSERT_EQ(n, bytes.size());
    }
    // Moves the file's last-write time, as an edit a moment later would.
    void Touch(const wchar_t* name, int secondsLater) {
        UniqueFileHandle f(CreateFileW(Path(name).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(f);
        FILETIME t{};
        GetFileTime(f.get(), nullptr, nullptr, &t);
        ULARGE_INTEGER v{{t.dwLowDateTime, t.dwHighDateTime}};
        v.QuadPart += static_cast<ULONGLONG>(secondsLater) * 10000000ull;
        t = {v.LowPart, v.HighPart};
        ASSERT_TRUE(SetFileTime(f.get(), nullptr, nullptr, &t));
    }
    std::wstring folder_;
};

}  // namespace

TEST_F(LangFilesWin, SelectedFileThenEnglishThenBuiltInThenTheKey) {
    Write(L"English.ini", "[LANGFILE]\r\nclose=Close\r\nhistory=Version history\r\n");
    Write(L"Deutsch.ini",
          "[LANGFILE]\r\nclose=Schlie\xC3\x9F"
          "en\r\nhistory=\r\nbroken=\xDC"
          "bel\r\n");
    LanguageTexts texts(folder_, kBuiltin);
    EXPECT_EQ(texts.Get(kGerman, L"close"), L"Schlie\u00DFen");
    EXPECT_EQ(texts.Get(kGerman, L"history"), L"");              // an empty text is a text
    EXPECT_EQ(texts.Get(kGerman, L"broken"), L"broken");         // not UTF-8: no garbage on screen
    EXPECT_EQ(texts.Get(kGerman, L"apply"), L"Built-in apply");  // neither file has it
    EXPECT_EQ(texts.Get(kEnglish, L"apply"), L"Built-in apply");
    EXPECT_EQ(texts.Get(kGerman, L"nosuchkey"), L"nosuchkey");
    EXPECT_EQ(texts.Get(7, L"close"), L"Close");  // no language selected: English
    Write(L"English.ini", "[LANGFILE]\r\nclose=Close\r\nbroken=Broken\r\n");
    EXPECT_EQ(texts.Get(kGerman, L"broken"), L"Broken");
    EXPECT_TRUE(texts.TakeProblems().empty()) << "readable files are no problem";
}

TEST_F(LangFilesWin, MissingFilesAndFolderShowEnglishAndAreReportedOncePerFile) {
    Write(L"English.ini", "[LANGFILE]\r\nclose=Close\r\n");
    LanguageTexts texts(folder_, kBuiltin);
    EXPECT_EQ(texts.Get(kRussian, L"close"), L"Close");
    EXPECT_EQ(texts.Get(kRussian, L"apply"), L"Built-in apply");
    auto problems = texts.TakeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].path, Path(L"Russian.ini"));
    EXPECT_EQ(problems[0].code, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(problems[0].message.find(Path(L"Russian.ini")), std::wstring::npos);
    EXPECT_EQ(texts.Get(kRussian, L"close"), L"Close");
    EXPECT_TRUE(texts.TakeProblems().empty()) << "reported twice";

    // English selected and deleted: the built-in texts, one report.
    DeleteFileW(Path(L"English.ini").c_str());
    EXPECT_EQ(texts.Get(kEnglish, L"close"), L"Built-in close");
    EXPECT_EQ(texts.TakeProblems().size(), 1u);

    // No languages folder at all.
    LanguageTexts nowhere(folder_ + L"absent\\", kBuiltin);
    EXPECT_EQ(nowhere.Get(kEnglish, L"history"), L"Built-in history");
    problems = nowhere.TakeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].code, static_cast<unsigned long>(ERROR_PATH_NOT_FOUND));
}

TEST_F(LangFilesWin, AFileHeldOpenIsReportedWithTheSystemsReasonAndEnglishIsShown) {
    Write(L"English.ini", "[LANGFILE]\r\napply=Apply\r\n");
    Write(L"Deutsch.ini", "[LANGFILE]\r\napply=Anwenden\r\n");
    LanguageTexts texts(folder_, kBuiltin);
    {
        UniqueFileHandle lock(CreateFileW(Path(L"Deutsch.ini").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock);
        EXPECT_EQ(texts.Get(kGerman, L"apply"), L"Apply");
        const auto problems = texts.TakeProblems();
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].code, static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
        EXPECT_NE(problems[0].message.find(Path(L"Deutsch.ini")), std::wstring::npos);
    }
    // Released: the file is read again.
    EXPECT_EQ(texts.Get(kGerman, L"apply"), L"Anwenden");
}

TEST_F(LangFilesWin, AnEditedFileTakesEffectAtTheNextLookup) {
    Write(L"English.ini", "[LANGFILE]\r\napply=Apply\r\n");
    Write(L"Deutsch.ini", "[LANGFILE]\r\napply=Anwenden\r\n");
    LanguageTexts texts(folder_, kBuiltin);
    EXPECT_EQ(texts.Get(kGerman, L"apply"), L"Anwenden");
    Write(L"Deutsch.ini",
          "[LANGFILE]\r\napply=\xC3\x9C"
          "bernehmen\r\n");  // another size
    EXPECT_EQ(texts.Get(kGerman, L"apply"), L"\u00DCbernehmen");
    Write(L"Deutsch.ini",
          "[LANGFILE]\r\napply=\xC3\x9C"
          "BERNEHMEN\r\n");  // same size, later time
    Touch(L"Deutsch.ini", 5);
    EXPECT_EQ(texts.Get(kGerman, L"apply"), L"\u00DCBERNEHMEN");
    // Saved as UTF-16 by an editor: read all the same.
    const std::wstring wide = L"\xFEFF[LANGFILE]\r\napply=\u041F\u0440\u0438\u043C\u0435\u043D\u0438\u0442\u044C\r\n";
    Write(L"Russian.ini", std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)));
    EXPECT_EQ(texts.Get(kRussian, L"apply"), L"\u041F\u0440\u0438\u043C\u0435\u043D\u0438\u0442\u044C");
}

TEST(LangFilesBuiltIn, TheBuiltInCatalogueIsTheShippedEnglishFile) {
    std::ifstream in(ZELVAR_SOURCE_DIR "/languages/English.ini", std::ios::binary);
    const std::string shipped((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(shipped.empty());
    EXPECT_EQ(BuiltinEnglishCatalogue(), shipped);

    // With no files at all, the program's lookup still gives English.
    LanguageTexts texts(L"Z:\\no\\such\\folder\\", BuiltinEnglishCatalogue());
    EXPECT_EQ(texts.Get(kGerman, L"startwindows"), *FindLangText(shipped, L"startwindows"));
    EXPECT_EQ(texts.Get(kGerman, L"mserrconfig"), *FindLangText(shipped, L"mserrconfig"));
}

TEST(LangFilesBesideExe, TheProgramsLookupReadsBesideTheExecutable) {
    EXPECT_FALSE(GetLangText(kEnglish, L"apply").empty());
    EXPECT_EQ(GetLangText(kEnglish, L"apply"),
              LanguageTexts(ExeFolder(), BuiltinEnglishCatalogue()).Get(kEnglish, L"apply"));
}
