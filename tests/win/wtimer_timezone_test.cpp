// The wake timer's local-to-universal conversion in zones that move their
// clocks. A Wine process fixes its own zone from the Unix TZ when it starts,
// and a child started from here inherits the Unix environment, not the one
// passed to CreateProcess; so the zones are handed to the conversion
// directly. That runs the same system calls with the same rules on any host,
// in any season, under Wine or on Windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "power/wtimer.h"

using namespace zelvar;

namespace {

SYSTEMTIME Rule(WORD month, WORD weekInMonth, WORD hour) {
    SYSTEMTIME r{};
    r.wMonth = month;
    r.wDayOfWeek = 0;      // Sunday
    r.wDay = weekInMonth;  // 5 = the last one
    r.wHour = hour;
    return r;
}

DYNAMIC_TIME_ZONE_INFORMATION Zone(const wchar_t* key, LONG bias, SYSTEMTIME toStandard, SYSTEMTIME toDaylight) {
    DYNAMIC_TIME_ZONE_INFORMATION z{};
    z.Bias = bias;
    z.StandardDate = toStandard;
    z.DaylightDate = toDaylight;
    z.DaylightBias = -60;
    wcsncpy(z.TimeZoneKeyName, key, 127);
    z.DynamicDaylightTimeDisabled = TRUE;  // exactly the rules given here
    return z;
}

// Central Europe: summer time from the last Sunday of March 02:00 to the last Sunday of October 03:00.
const DYNAMIC_TIME_ZONE_INFORMATION kBerlin = Zone(L"W. Europe Standard Time", -60, Rule(10, 5, 3), Rule(3, 5, 2));
// Eastern Australia: summer time from the first Sunday of October 02:00 to the first Sunday of April 03:00.
const DYNAMIC_TIME_ZONE_INFORMATION kSydney = Zone(L"AUS Eastern Standard Time", -600, Rule(4, 1, 3), Rule(10, 1, 2));

// Universal time of a local moment in a zone, as "yyyy-mm-dd hh:mm".
std::string Utc(const DYNAMIC_TIME_ZONE_INFORMATION& zone, int y, int mo, int d, int h, int mi) {
    const auto ft = LocalMomentToUtcFileTime(*EncodeDateTime({y, mo, d, h, mi, 0, 0}), zone);
    if (!ft) return "none";
    SYSTEMTIME st;
    FileTimeToSystemTime(&*ft, &st);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute);
    return buf;
}

}  // namespace

TEST(WakeTimeConversion, EachMomentTakesTheOffsetOfItsOwnSeason) {
    // Whatever the season is today: the wake moment's own offset counts.
    EXPECT_EQ(Utc(kBerlin, 2026, 1, 15, 12, 0), "2026-01-15 11:00");
    EXPECT_EQ(Utc(kBerlin, 2026, 7, 15, 12, 0), "2026-07-15 10:00");
    EXPECT_EQ(Utc(kSydney, 2026, 1, 15, 12, 0), "2026-01-15 01:00");
    EXPECT_EQ(Utc(kSydney, 2026, 7, 15, 12, 0), "2026-07-15 02:00");
    // Across midnight and the turn of a month.
    EXPECT_EQ(Utc(kBerlin, 2026, 8, 1, 0, 30), "2026-07-31 22:30");
}

TEST(WakeTimeConversion, SkippedLocalTimeComesAfterTheJump) {
    // Berlin, 29 March 2026: 02:00 jumps to 03:00; 02:30 becomes 03:30 summer time.
    EXPECT_EQ(Utc(kBerlin, 2026, 3, 29, 1, 59), "2026-03-29 00:59");
    EXPECT_EQ(Utc(kBerlin, 2026, 3, 29, 2, 30), "2026-03-29 01:30");
    EXPECT_EQ(Utc(kBerlin, 2026, 3, 29, 3, 0), "2026-03-29 01:00");
    // Sydney, 4 October 2026, the same in the other hemisphere.
    EXPECT_EQ(Utc(kSydney, 2026, 10, 4, 2, 30), "2026-10-03 16:30");
}

TEST(WakeTimeConversion, RepeatedLocalTimeIsItsFirstOccurrence) {
    // Berlin, 25 October 2026: 03:00 goes back to 02:00; 02:30 is first shown in summer time.
    EXPECT_EQ(Utc(kBerlin, 2026, 10, 25, 2, 30), "2026-10-25 00:30");
    EXPECT_EQ(Utc(kBerlin, 2026, 10, 25, 3, 0), "2026-10-25 02:00");
    // Sydney, 5 April 2026.
    EXPECT_EQ(Utc(kSydney, 2026, 4, 5, 2, 30), "2026-04-04 15:30");
}

TEST(WakeTimeConversion, UsersZoneRoundTripsInEverySeason) {
    // Meaningful wherever the tests run in a zone with summer time (run them
    // with TZ=Europe/Berlin under Wine to see it); plain in UTC.
    for (int month : {1, 4, 7, 10, 12}) {
        const TDateTime local = *EncodeDateTime({2026, month, 15, 12, 0, 0, 0});
        const auto utcFt = LocalMomentToUtcFileTime(local);
        ASSERT_TRUE(utcFt);
        SYSTEMTIME utc, back;
        FileTimeToSystemTime(&*utcFt, &utc);
        ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &back));
        EXPECT_EQ(back.wMonth, month);
        EXPECT_EQ(back.wDay, 15);
        EXPECT_EQ(back.wHour, 12) << "month " << month;
    }
}
