// The history file as the edit control shows it: UTF-8 when it is valid
// UTF-8, otherwise Windows-1251; CR LF line ends; never cut short.
#include <gtest/gtest.h>

#include <string>

#include "online/history_text.h"

using namespace zelvar;

TEST(HistoryText, ValidUtf8InAnyLanguageIsShownAsUtf8) {
    // "Версия 1.7: исправлено", "Änderung", Greek, CJK and an emoji outside the BMP.
    const std::string utf8 =
        "\xD0\x92\xD0\xB5\xD1\x80\xD1\x81\xD0\xB8\xD1\x8F 1.7: \xD0\xB8\xD1\x81\xD0\xBF\xD1\x80\xD0\xB0\xD0\xB2\xD0"
        "\xBB\xD0\xB5\xD0\xBD\xD0\xBE\n\xC3\x84nderung \xCE\xB1\xCE\xB2 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
    const std::wstring expected =
        L"\u0412\u0435\u0440\u0441\u0438\u044f 1.7: \u0438\u0441\u043f\u0440\u0430\u0432\u043b\u0435\u043d\u043e\r\n"
        L"\u00c4nderung \u03b1\u03b2 \u65e5\u672c \xD83D\xDE00";
    EXPECT_EQ(DecodeHistoryText(utf8), expected);
    EXPECT_EQ(DecodeHistoryText("\xEF\xBB\xBF" + utf8), expected) << "the byte order mark is not shown";
    EXPECT_EQ(DecodeHistoryText("plain ASCII"), L"plain ASCII");
    EXPECT_EQ(DecodeHistoryText(""), L"");
    EXPECT_EQ(DecodeHistoryText("\xEF\xBB\xBF"), L"");
}

TEST(HistoryText, AnythingElseIsWindows1251) {
    // "Версия" in Windows-1251, which is not valid UTF-8.
    EXPECT_EQ(DecodeHistoryText("\xC2\xE5\xF0\xF1\xE8\xFF 1.7"), L"\u0412\u0435\u0440\u0441\u0438\u044f 1.7");
    // The whole file decides: one stray byte after valid UTF-8 makes all of it Windows-1251.
    EXPECT_EQ(DecodeHistoryText("\xD0\x92 \xE0"), L"\u0420\u2019 \u0430");
    // Every row of the upper half, the unassigned 0x98 included.
    EXPECT_EQ(Windows1251ToUtf16("\x80\x88\x98\xA0\xA8\xB8\xB9\xC0\xDF\xE0\xFF"),
              L"\u0402\u20ac\uFFFD\u00a0\u0401\u0451\u2116\u0410\u042f\u0430\u044f");
    // A byte order mark on a file that is not UTF-8 is just three more characters.
    EXPECT_EQ(DecodeHistoryText("\xEF\xBB\xBF\xC2"), L"\u043f\u00bb\u0457\u0412");
}

TEST(HistoryText, LineEndsBecomeCrLfAndNulDoesNotCutTheText) {
    EXPECT_EQ(DecodeHistoryText("a\nb\r\nc\rd\n\ne\r\r\n"), L"a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n");
    EXPECT_EQ(DecodeHistoryText("\xC2\r\n\xC2\n"), L"\u0412\r\n\u0412\r\n");  // also on the Windows-1251 path
    EXPECT_EQ(DecodeHistoryText(std::string("one\0two", 7)), L"one\uFFFDtwo");
}

TEST(HistoryText, LargeBinaryAndLongFilesDecodeWhole) {
    std::string binary;
    for (int i = 0; i < 1024 * 1024; ++i) binary.push_back(static_cast<char>((i * 2654435761u) >> 24));
    const std::wstring shown = DecodeHistoryText(binary);
    EXPECT_GE(shown.size(), binary.size());
    EXPECT_EQ(shown.find(L'\0'), std::wstring::npos);

    const std::string oneLine(1024 * 1024, 'x');
    EXPECT_EQ(DecodeHistoryText(oneLine).size(), oneLine.size());

    std::string lines;
    for (int i = 0; i < 10000; ++i)
        lines += "1.7: \xD0\xB8\xD1\x81\xD0\xBF\xD1\x80\xD0\xB0\xD0\xB2\xD0\xBB\xD0\xB5\xD0\xBD\xD0\xBE\n";
    const std::wstring text = DecodeHistoryText(lines);
    size_t crlf = 0;
    for (size_t p = text.find(L"\r\n"); p != std::wstring::npos; p = text.find(L"\r\n", p + 2)) ++crlf;
    EXPECT_EQ(crlf, 10000u);
    EXPECT_EQ(text.substr(0, 5), L"1.7: ");
}
