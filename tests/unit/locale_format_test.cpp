#include <gtest/gtest.h>

#include "moments.h"

#include "common/locale_format.h"

using namespace zelvar;
using zelvar::testing::At;

TEST(LocaleFormats, ThreeLocalesWriteDatesAndTimesTheirWay) {
    const TDateTime t = At(2026, 3, 7, 21, 5, 9);
    EXPECT_EQ(FormatDateTime(t, RussianFormats()), L"07.03.2026 21:05:09");
    EXPECT_EQ(FormatDateTime(t, GermanFormats()), L"07.03.2026 21:05:09");
    EXPECT_EQ(FormatDateTime(t, UsEnglishFormats()), L"3/7/2026 9:05:09 PM");
    EXPECT_EQ(FormatTime(At(2026, 3, 7, 9, 5, 9), RussianFormats()), L"9:05:09");
    EXPECT_EQ(FormatTime(At(2026, 3, 7, 9, 5, 9), GermanFormats()), L"09:05:09");
}

TEST(LocaleFormats, AmPmAroundMidnightAndNoon) {
    const LocaleFormats us = UsEnglishFormats();
    EXPECT_EQ(FormatTime(At(2026, 1, 1, 0, 0, 0), us), L"12:00:00 AM");
    EXPECT_EQ(FormatTime(At(2026, 1, 1, 12, 0, 0), us), L"12:00:00 PM");
    EXPECT_EQ(FormatTime(At(2026, 1, 1, 23, 59, 59), us), L"11:59:59 PM");
    EXPECT_EQ(*ParseTime(L"12:00:00 AM", us), *EncodeTime(0, 0, 0));
    EXPECT_EQ(*ParseTime(L"12:30:00 PM", us), *EncodeTime(12, 30, 0));
    EXPECT_EQ(*ParseTime(L"1:30:00 pm", us), *EncodeTime(13, 30, 0));
    EXPECT_FALSE(ParseTime(L"13:30:00 PM", us));
    EXPECT_FALSE(ParseTime(L"1:30:00", us));  // the designator is part of the pattern
}

TEST(LocaleFormats, RoundTripsInEveryLocaleKeepWholeSeconds) {
    for (const LocaleFormats& f : {RussianFormats(), UsEnglishFormats(), GermanFormats()}) {
        for (TDateTime t : {At(2026, 12, 31, 23, 59, 59), At(2024, 2, 29, 0, 0, 0), At(2027, 1, 1, 12, 0, 1)}) {
            auto back = ParseDateTime(FormatDateTime(t, f), f);
            ASSERT_TRUE(back) << FormatDateTime(t, f).c_str();
            EXPECT_EQ(*back, t);
        }
        // Milliseconds never survive a composed moment.
        auto composed = ComposeMoment(At(2026, 6, 1, 3, 0, 0), At(2000, 1, 1, 7, 30, 15, 750), f);
        ASSERT_TRUE(composed);
        EXPECT_EQ(*composed, At(2026, 6, 1, 7, 30, 15));
    }
}

TEST(LocaleFormats, ParsingRejectsWhatThePatternDoesNotAllow) {
    const LocaleFormats ru = RussianFormats();
    EXPECT_FALSE(ParseDate(L"31.02.2026", ru));  // no such day
    EXPECT_FALSE(ParseDate(L"07/03/2026", ru));  // wrong separator
    EXPECT_FALSE(ParseDate(L"", ru));
    EXPECT_FALSE(ParseDateTime(L"07.03.2026 25:00:00", ru));
    EXPECT_FALSE(ParseDateTime(L"07.03.2026 21:05:09 extra", ru));
    EXPECT_EQ(*ParseDate(L"7.3.2026", ru), At(2026, 3, 7));  // single digits are read too
}

TEST(LocaleFormats, QuotedLiteralsNamesAndTwoDigitYears) {
    LocaleFormats f{L"d MMM yy", L"HH'h'mm", L"", L""};
    EXPECT_EQ(FormatDateTime(At(2026, 3, 7, 8, 5, 0), f), L"7 Mar 26 08h05");
    EXPECT_EQ(*ParseDateTime(L"7 Mar 26 08h05", f), At(2026, 3, 7, 8, 5, 0));
    LocaleFormats iso{L"yyyy-MM-dd", L"HH:mm:ss", L"", L""};
    EXPECT_EQ(FormatDate(At(2026, 3, 7), iso), L"2026-03-07");
}

TEST(LocaleFormats, NumbersTooLongForTheirFieldFailTheParse) {
    LocaleFormats f{L"dd.MM.yyyy ffffffffffffffffffffffff", L"HH:mm:ss.fffffff", L"", L""};
    EXPECT_FALSE(ParseDate(L"07.03.2026 999999999999999999999999", f));
    EXPECT_FALSE(ParseTime(L"21:05:09.99999999999", f));  // more digits than the pattern holds
    // Fractions are read and dropped; leading zeros do not make a number too long.
    EXPECT_EQ(*ParseDate(L"07.03.2026 000000000000000000000001", f), At(2026, 3, 7));
    EXPECT_EQ(*ParseTime(L"21:05:09.9999999", f), *EncodeTime(21, 5, 9));
    // A written moment far outside the calendar reads as its last day, not as garbage.
    EXPECT_EQ(FormatDateTime(1e20, RussianFormats()), L"31.12.9999 23:59:59");
    EXPECT_EQ(FormatDateTime(1e20, UsEnglishFormats()), L"12/31/9999 11:59:59 PM");
}

TEST(LocaleFormats, ShortTimeDropsTheSeconds) {
    const TDateTime morning = At(2026, 3, 7, 7, 30, 59);
    const TDateTime evening = At(2026, 3, 7, 22, 0, 0);
    EXPECT_EQ(FormatShortTime(morning, RussianFormats()), L"7:30");
    EXPECT_EQ(FormatShortTime(evening, RussianFormats()), L"22:00");
    EXPECT_EQ(FormatShortTime(morning, UsEnglishFormats()), L"7:30 AM");
    EXPECT_EQ(FormatShortTime(evening, UsEnglishFormats()), L"10:00 PM");
    EXPECT_EQ(FormatShortTime(morning, GermanFormats()), L"07:30");
    EXPECT_EQ(FormatShortTime(At(2026, 3, 7, 0, 5, 0), UsEnglishFormats()), L"12:05 AM");
}
