// The INI text the settings and schedule files are read and rewritten
// through: it reads as the platform's profile reader does, and an edit
// changes the one line of its key and nothing else.
#include <gtest/gtest.h>

#include "common/ini_text.h"

using namespace zelvar;

namespace {

// Latin-1 as the ANSI code page, byte for byte.
std::wstring Latin1(std::string_view bytes) {
    std::wstring text;
    for (char c : bytes) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return text;
}

const std::wstring kForeignFile =
    L"; written by hand\r\n"
    L"\r\n"
    L"[Other]\r\n"
    L"  spaced key  =  spaced value  \r\n"
    L"no equals sign here\r\n"
    L"tray=not ours\r\n"
    L"\r\n"
    L"[OPTIONS]\r\n"
    L"Tray = 0 \r\n"
    L"; note inside\r\n"
    L"lng=2\r\n"
    L"\r\n"
    L"[Tail]\r\n"
    L"x=1";

}  // namespace

TEST(IniTextReading, NamesIgnoreCaseAndBlanksQuotesAndCommentsAsTheProfileReaderDoes) {
    const IniText ini(kForeignFile);
    EXPECT_EQ(ini.Find(L"OPTIONS", L"tray"), L"0");
    EXPECT_EQ(ini.Find(L"options", L"TRAY"), L"0");
    EXPECT_EQ(ini.Find(L"Other", L"spaced key"), L"spaced value");
    EXPECT_EQ(ini.Find(L"Other", L"tray"), L"not ours");
    EXPECT_EQ(ini.Find(L"Tail", L"x"), L"1");  // last line without a line end
    EXPECT_EQ(ini.Find(L"OPTIONS", L"; note inside"), std::nullopt);
    EXPECT_EQ(ini.Find(L"Other", L"no equals sign here"), std::nullopt);
    EXPECT_EQ(ini.Find(L"OPTIONS", L"x"), std::nullopt);
    EXPECT_EQ(ini.Find(L"Missing", L"x"), std::nullopt);
    EXPECT_EQ(ini.Read(L"OPTIONS", L"fs", L"1"), L"1");

    // One pair of quotes goes; a lone quote stays.
    const IniText quoted(L"[S]\n a = \" 1 \" \nb='x'\nc=\"open\nd=\"\"\n");
    EXPECT_EQ(quoted.Find(L"S", L"a"), L" 1 ");
    EXPECT_EQ(quoted.Find(L"S", L"b"), L"x");
    EXPECT_EQ(quoted.Find(L"S", L"c"), L"\"open");
    EXPECT_EQ(quoted.Find(L"S", L"d"), L"");

    // Only the first section of a name counts, and the first key in it.
    const IniText twice(L"[S]\r\na=1\r\na=2\r\n[T]\r\n[S]\r\na=3\r\nb=4\r\n");
    EXPECT_EQ(twice.Find(L"S", L"a"), L"1");
    EXPECT_EQ(twice.Find(L"S", L"b"), std::nullopt);
    // A header without its closing bracket is no header.
    EXPECT_EQ(IniText(L"[S\r\na=1\r\n").Find(L"S", L"a"), std::nullopt);
}

TEST(IniTextEditing, ASetChangesOnlyTheValueOfItsLine) {
    IniText ini(kForeignFile);
    ASSERT_TRUE(ini.Write(L"OPTIONS", L"tray", L"1"));
    std::wstring expected = kForeignFile;
    expected.replace(expected.find(L"Tray = 0 "), 9, L"Tray = 1");
    EXPECT_EQ(ini.Text(), expected);
    // Writing what is there already changes nothing at all.
    ASSERT_TRUE(ini.Write(L"OPTIONS", L"lng", L"2"));
    EXPECT_EQ(ini.Text(), expected);
}

TEST(IniTextEditing, NewKeysGoToTheEndOfTheirSectionNewSectionsToTheEnd) {
    IniText ini(kForeignFile);
    ASSERT_TRUE(ini.Write(L"OPTIONS", L"fs", L"0"));
    ASSERT_TRUE(ini.Write(L"Tail", L"y", L"2"));  // after a last line that had no line end
    ASSERT_TRUE(ini.Write(L"Week", L"off_check1_1", L"1"));
    std::wstring expected = kForeignFile;
    expected.insert(expected.find(L"lng=2\r\n") + 7, L"fs=0\r\n");
    expected += L"\r\ny=2\r\n[Week]\r\noff_check1_1=1\r\n";
    EXPECT_EQ(ini.Text(), expected);

    // A file with LF line ends keeps them; an empty one starts with CR LF.
    IniText lf(L"[S]\na=1\n");
    ASSERT_TRUE(lf.Write(L"S", L"b", L"2"));
    EXPECT_EQ(lf.Text(), L"[S]\na=1\nb=2\n");
    IniText empty;
    ASSERT_TRUE(empty.Write(L"OPTIONS", L"fs", L"0"));
    EXPECT_EQ(empty.Text(), L"[OPTIONS]\r\nfs=0\r\n");
}

TEST(IniTextEditing, ValuesReadBackExactlyAndNothingCanInjectALine) {
    IniText ini;
    for (const std::wstring value :
         {L" spaced ", L"\"quoted\"", L"'x'", L"", L"a=b;c", L"\u041F\u0443\u0442\u044C \u65E5\u672C"}) {
        ASSERT_TRUE(ini.Write(L"OPTIONS", L"autoexe", value));
        EXPECT_EQ(ini.Find(L"OPTIONS", L"autoexe"), value);
    }
    const std::wstring before = ini.Text();
    EXPECT_FALSE(ini.Write(L"OPTIONS", L"autoexe", L"a\r\n[OPTIONS]\r\nfs=1"));
    EXPECT_FALSE(ini.Write(L"OPTIONS", L"a=b", L"1"));
    EXPECT_FALSE(ini.Write(L"OPT]IONS", L"a", L"1"));
    EXPECT_FALSE(ini.Write(L"OPTIONS", L" a", L"1"));
    EXPECT_FALSE(ini.Write(L"", L"a", L"1"));
    EXPECT_FALSE(ini.Write(L"OPTIONS", L"", L"1"));
    // A batch with one bad entry writes none of them.
    EXPECT_FALSE(ini.WriteAll({{L"OPTIONS", L"fs", L"0"}, {L"OPTIONS", L"bad", L"x\ny"}}));
    EXPECT_EQ(ini.Text(), before);
    EXPECT_TRUE(ini.WriteAll({{L"OPTIONS", L"fs", L"0"}, {L"OPTIONS", L"lng", L"1"}}));
    EXPECT_EQ(ini.Find(L"OPTIONS", L"lng"), L"1");
}

TEST(TextFileDecoding, ByteOrderMarksThenUtf8ThenTheAnsiCodePage) {
    // UTF-16 both ways.
    auto le = DecodeTextFile(std::string("\xFF\xFE"
                                         "a\0\x1F\x04",
                                         6),
                             Latin1);
    EXPECT_EQ(le.encoding, TextEncoding::Utf16Le);
    EXPECT_EQ(le.text, L"a\u041F");
    auto be = DecodeTextFile(std::string("\xFE\xFF\0a\x04\x1F", 6), Latin1);
    EXPECT_EQ(be.encoding, TextEncoding::Utf16Be);
    EXPECT_EQ(be.text, L"a\u041F");

    // UTF-8 with its mark (which is not part of the first line), and without.
    auto bom = DecodeTextFile("\xEF\xBB\xBF[OPTIONS]\r\nautoexe=C:\\\xD0\x9F\r\n", Latin1);
    EXPECT_EQ(bom.encoding, TextEncoding::Utf8Bom);
    EXPECT_EQ(IniText(bom.text).Find(L"OPTIONS", L"autoexe"), L"C:\\\u041F");
    auto utf8 = DecodeTextFile("x=\xC3\xBC\xE6\x97\xA5", Latin1);
    EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
    EXPECT_EQ(utf8.text, L"x=\u00FC\u65E5");

    // Plain ASCII and bytes that are no UTF-8 go through the code page.
    EXPECT_EQ(DecodeTextFile("x=1", Latin1).encoding, TextEncoding::Ansi);
    auto ansi = DecodeTextFile(
        "x=\xFC"
        "ber",
        Latin1);
    EXPECT_EQ(ansi.encoding, TextEncoding::Ansi);
    EXPECT_EQ(ansi.text, L"x=\u00FCber");

    EXPECT_EQ(Utf16LeFileBytes(L"a\u041F"), std::string("\xFF\xFE"
                                                        "a\0\x1F\x04",
                                                        6));
    EXPECT_EQ(EncodingForRewrite(TextEncoding::Ansi, true), TextEncoding::Ansi);
    EXPECT_EQ(EncodingForRewrite(TextEncoding::Ansi, false), TextEncoding::Utf16Le);
    EXPECT_EQ(EncodingForRewrite(TextEncoding::Utf8Bom, true), TextEncoding::Utf16Le);
    EXPECT_EQ(EncodingForRewrite(TextEncoding::Utf16Be, true), TextEncoding::Utf16Le);
}
