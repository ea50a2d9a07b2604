#include <gtest/gtest.h>

#include <limits>

#include "moments.h"

#include "common/datetime.h"

using namespace zelvar;
using zelvar::testing::At;

TEST(DateTime, DayCountsFromThe1899Epoch) {
    EXPECT_EQ(*EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(*EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(*EncodeDate(2026, 12, 7), 46363.0);
    EXPECT_EQ(*EncodeTime(12, 0, 0), 0.5);
    EXPECT_FALSE(EncodeDate(2026, 2, 29));
    EXPECT_TRUE(EncodeDate(2028, 2, 29));
    EXPECT_FALSE(EncodeDate(1900, 2, 29));  // not a leap year
    EXPECT_TRUE(EncodeDate(2000, 2, 29));
    EXPECT_FALSE(EncodeTime(24, 0, 0));
    EXPECT_FALSE(EncodeTime(0, 60, 0));
}

TEST(DateTime, CalendarFieldsRoundTripAcrossYearsAndMonthEnds) {
    for (int y : {1900, 1999, 2000, 2024, 2026, 2100}) {
        for (int m = 1; m <= 12; ++m) {
            for (int d : {1, 28, DaysInMonth(y, m)}) {
                const DateTimeFields f{y, m, d, 23, 59, 59, 0};
                EXPECT_EQ(DecodeDateTime(*EncodeDateTime(f)), f) << y << "-" << m << "-" << d;
            }
        }
    }
    // Before the epoch the fraction still counts forward from midnight.
    const DateTimeFields before = DecodeDateTime(-1.25);
    EXPECT_EQ(before.day, 29);
    EXPECT_EQ(before.hour, 6);
}

TEST(DateTime, IsoWeekdayMondayIsOne) {
    EXPECT_EQ(IsoWeekday(At(2026, 12, 7)), 1);  // a Monday
    EXPECT_EQ(IsoWeekday(At(2026, 12, 13, 23, 59, 59)), 7);
    EXPECT_EQ(IsoWeekday(0.0), 6);  // 30 Dec 1899 was a Saturday
    EXPECT_EQ(IsoWeekday(At(2000, 1, 1)), 6);
}

TEST(DateTime, SecondsOfDayDropsMilliseconds) {
    EXPECT_EQ(SecondsOfDay(At(2026, 1, 1)), 0);
    EXPECT_EQ(SecondsOfDay(At(2026, 1, 1, 23, 59, 59, 999)), 86399);
    EXPECT_EQ(SecondsOfDay(At(2026, 1, 1, 1, 2, 3, 500)), 3723);
}

TEST(DateTime, WholeSecondsAndCombining) {
    EXPECT_EQ(WholeSeconds(At(2026, 5, 5, 7, 30, 15, 999)), At(2026, 5, 5, 7, 30, 15));
    EXPECT_EQ(CombineDateAndTime(At(2026, 5, 5, 22, 0, 0), At(1999, 1, 1, 7, 30, 0)), At(2026, 5, 5, 7, 30, 0));
    EXPECT_EQ(DateOf(At(2026, 5, 5, 23, 59, 59)), At(2026, 5, 5));
}

TEST(DateTime, DistanceIsAbsoluteAndRoundsHalvesToEven) {
    const TDateTime now = At(2026, 3, 1, 12, 0, 0);
    EXPECT_EQ(SecondsBetween(now, At(2026, 3, 1, 12, 0, 45)), 45);
    EXPECT_EQ(SecondsBetween(now, At(2026, 3, 1, 11, 59, 15)), 45);  // a past moment is positive too
    EXPECT_EQ(SecondsBetween(now, now), 0);
    EXPECT_EQ(SecondsBetween(now, At(2026, 3, 2, 12, 0, 0)), 86400);
    EXPECT_EQ(SecondsBetween(now, At(2026, 3, 1, 12, 0, 10, 400)), 10);
    EXPECT_EQ(SecondsBetween(now, At(2026, 3, 1, 12, 0, 10, 600)), 11);
    // Exactly half a second lies between two whole seconds: the even one wins.
    EXPECT_EQ(SecondsBetween(0.0, 2.5 / 86400.0), 2);
    EXPECT_EQ(SecondsBetween(0.0, 3.5 / 86400.0), 4);
    // Fifty days ahead still counts exactly.
    EXPECT_EQ(SecondsBetween(now, now + 50), 50LL * 86400);
}

TEST(DateTime, DistanceToADamagedMomentIsTheLongestOneNeverZero) {
    // From the first moment of the calendar to the end of its last day.
    const std::int64_t longest = (2958466LL + 693593) * 86400;
    EXPECT_EQ(SecondsBetween(*EncodeDate(1, 1, 1), *EncodeDate(9999, 12, 31) + 1), longest);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const TDateTime now = At(2026, 3, 1, 12, 0, 0);
    for (double bad : {nan, inf, -inf, 1e300, -1e300, 1e15, std::numeric_limits<double>::max()}) {
        EXPECT_EQ(SecondsBetween(now, bad), longest) << bad;
        EXPECT_EQ(SecondsBetween(bad, now), longest) << bad;
    }
    EXPECT_EQ(SecondsBetween(nan, nan), longest);
    EXPECT_EQ(SecondsBetween(inf, inf), longest);  // inf - inf is NaN
    // In 100-nanosecond units, as the off wait counts, it still fits.
    EXPECT_LT(longest, std::numeric_limits<std::int64_t>::max() / 10000000);
}

TEST(DateTime, ValuesBeyondTheCalendarReadAsItsNearestEnd) {
    const DateTimeFields first{1, 1, 1, 0, 0, 0, 0};
    const DateTimeFields last{9999, 12, 31, 23, 59, 59, 999};
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {1e300, 1e20, inf, 2958466.0, 2958465.999999999}) EXPECT_EQ(DecodeDateTime(v), last) << v;
    for (double v : {-1e300, -1e20, -inf, -693594.0}) EXPECT_EQ(DecodeDateTime(v), first) << v;
    EXPECT_EQ(DecodeDateTime(std::numeric_limits<double>::quiet_NaN()), first);
    // The ends themselves are still ordinary moments.
    EXPECT_EQ(DecodeDateTime(*EncodeDate(1, 1, 1)), first);
    EXPECT_EQ(DecodeDateTime(*EncodeDate(1, 1, 1) - 0.5).hour, 12);  // the first day's noon, counted forward
    EXPECT_EQ(DecodeDateTime(*EncodeDateTime(last)), last);
    // What builds on the fields stays within the calendar too.
    EXPECT_EQ(WholeSeconds(1e20), At(9999, 12, 31, 23, 59, 59));
    EXPECT_EQ(DateOf(-1e20), At(1, 1, 1));
    EXPECT_EQ(IsoWeekday(1e300), IsoWeekday(At(9999, 12, 31)));
}
