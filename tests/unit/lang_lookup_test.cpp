#include <gtest/gtest.h>

#include <string>

#include "i18n/lang_lookup.h"

using namespace zelvar;

namespace {

std::optional<std::wstring> Find(const std::string& file, const wchar_t* key) { return FindLangText(file, key); }

}  // namespace

TEST(LangLookup, KeyMatchesExactlyNotAsPrefixOfALongerKey) {
    // The longer keys stand above the shorter ones on purpose.
    const std::string file =
        "[LANGFILE]\r\npcoffinfo=Will turn off\r\npcoffat=Off at\r\npcoff=Turn off\r\nclose=Close\r\n";
    EXPECT_EQ(Find(file, L"pcoff"), L"Turn off");
    EXPECT_EQ(Find(file, L"pcoffinfo"), L"Will turn off");
    EXPECT_EQ(Find(file, L"pcoffat"), L"Off at");
    // Neither a shorter nor a longer key that is not in the file matches anything.
    EXPECT_EQ(Find(file, L"pco"), std::nullopt);
    EXPECT_EQ(Find(file, L"closeapplications"), std::nullopt);
    // Case matters.
    EXPECT_EQ(Find(file, L"Close"), std::nullopt);
}

TEST(LangLookup, TextIsEverythingAfterTheFirstEqualsSign) {
    const std::string file =
        "[LANGFILE]\r\nformula=a=b = c\r\nspaced = Turn on \r\ntabbed\t=\tTab\r\nempty=\r\nblanktext= \r\n";
    EXPECT_EQ(Find(file, L"formula"), L"a=b = c");
    // Blanks around "=" are not part of the key nor the start of the text; blanks
    // at the end of the text are kept.
    EXPECT_EQ(Find(file, L"spaced"), L"Turn on ");
    EXPECT_EQ(Find(file, L"tabbed"), L"Tab");
    // An empty text is found, not missing.
    EXPECT_EQ(Find(file, L"empty"), L"");
    EXPECT_EQ(Find(file, L"blanktext"), L"");
}

TEST(LangLookup, MissingKeysAndLinesThatAreNotKeys) {
    const std::string file = "[LANGFILE]\r\n; note=comment\r\nnoequals\r\n=orphan\r\n\r\nadd=Add";
    EXPECT_EQ(Find(file, L"remove"), std::nullopt);
    EXPECT_EQ(Find(file, L"[LANGFILE]"), std::nullopt);
    EXPECT_EQ(Find(file, L"LANGFILE"), std::nullopt);
    EXPECT_EQ(Find(file, L"noequals"), std::nullopt);
    EXPECT_EQ(Find(file, L"; note"), std::nullopt);
    EXPECT_EQ(Find(file, L""), std::nullopt);
    // The last line without a line end is read like any other.
    EXPECT_EQ(Find(file, L"add"), L"Add");
    EXPECT_EQ(Find("", L"add"), std::nullopt);
}

TEST(LangLookup, LineEndsAndByteOrderMark) {
    EXPECT_EQ(Find("[LANGFILE]\nadd=Add\nremove=Remove\n", L"add"), L"Add");
    EXPECT_EQ(Find("[LANGFILE]\radd=Add\rremove=Remove\r", L"remove"), L"Remove");
    // No CR left at the end of a CR LF text.
    EXPECT_EQ(Find("[LANGFILE]\r\nadd=Add\r\n", L"add"), L"Add");
    // A BOM in front of the first line, which is a key here.
    EXPECT_EQ(Find("\xEF\xBB\xBF"
                   "add=Add\r\n",
                   L"add"),
              L"Add");
    // The first of two lines with the same key wins.
    EXPECT_EQ(Find("add=First\r\nadd=Second\r\n", L"add"), L"First");
}

TEST(LangLookup, TextIsConvertedFromUtf8) {
    const std::string file =
        "[LANGFILE]\r\nru=\xD0\x92\xD1\x8B\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87\xD0\xB8\xD1\x82\xD1\x8C\r\n"
        "de=\xC3\x9C"
        "bernehmen\r\nsym=\xE2\x80\xA6\xF0\x9F\x98\x80\r\n";
    EXPECT_EQ(Find(file, L"ru"), L"\u0412\u044B\u043A\u043B\u044E\u0447\u0438\u0442\u044C");
    EXPECT_EQ(Find(file, L"de"), L"\u00DCbernehmen");
    EXPECT_EQ(Find(file, L"sym"), std::wstring(L"\u2026") + L"\xD83D\xDE00");
}

TEST(LangLookup, InvalidUtf8CountsAsMissingSoTheNextFileSuppliesTheText) {
    // A letter from a single-byte code page, a cut-off sequence, an overlong
    // form and an encoded surrogate.
    const std::string file =
        "latin1=\xDC"
        "bernehmen\r\ncut=abc\xD0\r\noverlong=\xC0\xAF\r\nsurrogate=\xED\xA0\x80\r\nok=fine\r\n";
    EXPECT_EQ(Find(file, L"latin1"), std::nullopt);
    EXPECT_EQ(Find(file, L"cut"), std::nullopt);
    EXPECT_EQ(Find(file, L"overlong"), std::nullopt);
    EXPECT_EQ(Find(file, L"surrogate"), std::nullopt);
    // A bad line does not disturb the others.
    EXPECT_EQ(Find(file, L"ok"), L"fine");
}

TEST(LangLookup, FileSavedAsUtf16ReadsLikeItsUtf8Twin) {
    const std::wstring text = L"[LANGFILE]\r\napply=\u00DCbernehmen\r\nru=\u041F\r\n";
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    const std::string utf8 = LanguageFileAsUtf8(bytes);
    EXPECT_EQ(Find(utf8, L"apply"), L"\u00DCbernehmen");
    EXPECT_EQ(Find(utf8, L"ru"), L"\u041F");
    EXPECT_EQ(LanguageFileAsUtf8("add=Add\r\n"), "add=Add\r\n");  // UTF-8 stays as it is
}

TEST(LanguageList, FilesAndDefaults) {
    EXPECT_EQ(LanguageFileName(3), L"");
    EXPECT_EQ(LanguageFilePath(L"C:\\Zelvar\\", 2), L"C:\\Zelvar\\languages\\Deutsch.ini");
    EXPECT_EQ(LanguageFilePath(L"C:\\Zelvar", 0), L"C:\\Zelvar\\languages\\Russian.ini");

    EXPECT_EQ(DefaultLanguageIndex(0x0419), 0);
    EXPECT_EQ(DefaultLanguageIndex(0x00010419), 0);  // a whole LCID with a sort id
    EXPECT_EQ(DefaultLanguageIndex(0x0819), 0);      // Russian (Moldova)
    EXPECT_EQ(DefaultLanguageIndex(0x0407), 2);      // German (Germany)
    EXPECT_EQ(DefaultLanguageIndex(0x0807), 2);      // German (Switzerland)
    EXPECT_EQ(DefaultLanguageIndex(0x0C07), 2);      // German (Austria)
    EXPECT_EQ(DefaultLanguageIndex(0x0409), 1);
    EXPECT_EQ(DefaultLanguageIndex(0x040C), 1);  // French: English

    EXPECT_EQ(LanguageIndexOrRussian(2), 2);
    EXPECT_EQ(LanguageIndexOrRussian(7), 0);
    EXPECT_EQ(LanguageIndexOrRussian(-1), 0);
}
