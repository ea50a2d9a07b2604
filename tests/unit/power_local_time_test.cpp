#include <gtest/gtest.h>

#include "power/local_time_rules.h"

using namespace zelvar;

namespace {

constexpr std::int64_t kHour = 3600;

// A zone one hour east of UTC that moves its clock to two hours east at
// `springUtc` and back at `fallUtc` (both universal seconds), like Berlin.
struct TwoOffsetZone {
    std::int64_t springUtc;
    std::int64_t fallUtc;
    std::int64_t operator()(std::int64_t utc) const {
        return utc >= springUtc && utc < fallUtc ? 2 * kHour : 1 * kHour;
    }
};

// Day 100 and day 300 at 01:00 UTC: 02:00 -> 03:00 and 03:00 -> 02:00 local.
constexpr std::int64_t kSpring = 100 * 86400 + 1 * kHour;
constexpr std::int64_t kFall = 300 * 86400 + 1 * kHour;
const TwoOffsetZone kZone{kSpring, kFall};

std::int64_t LocalOnDay(int day, int h, int m) { return day * 86400LL + h * kHour + m * 60; }

}  // namespace

TEST(LocalTimeResolution, OrdinaryTimesUseTheOffsetOfTheirOwnSeason) {
    // Winter and summer moments each take their own offset, whatever "today" is.
    auto winter = ResolveLocalTime(LocalOnDay(50, 12, 0), kZone);
    EXPECT_EQ(winter.kind, LocalTimeKind::Unique);
    EXPECT_EQ(winter.utcSeconds, LocalOnDay(50, 11, 0));
    auto summer = ResolveLocalTime(LocalOnDay(200, 12, 0), kZone);
    EXPECT_EQ(summer.kind, LocalTimeKind::Unique);
    EXPECT_EQ(summer.utcSeconds, LocalOnDay(200, 10, 0));
    // Just either side of the changes.
    EXPECT_EQ(ResolveLocalTime(LocalOnDay(100, 1, 59), kZone).utcSeconds, LocalOnDay(100, 0, 59));
    EXPECT_EQ(ResolveLocalTime(LocalOnDay(100, 3, 0), kZone).utcSeconds, LocalOnDay(100, 1, 0));
    EXPECT_EQ(ResolveLocalTime(LocalOnDay(300, 1, 59), kZone).utcSeconds, LocalOnDay(299, 23, 59));
    EXPECT_EQ(ResolveLocalTime(LocalOnDay(300, 3, 0), kZone).utcSeconds, LocalOnDay(300, 2, 0));
}

TEST(LocalTimeResolution, SkippedTimeLandsAfterTheJumpByItsOffsetIntoTheGap) {
    // 02:30 does not exist; it becomes 03:30 new time (01:30 UTC).
    auto r = ResolveLocalTime(LocalOnDay(100, 2, 30), kZone);
    EXPECT_EQ(r.kind, LocalTimeKind::Skipped);
    EXPECT_EQ(r.utcSeconds, LocalOnDay(100, 1, 30));
    // The first skipped second is the moment of the change itself.
    auto start = ResolveLocalTime(LocalOnDay(100, 2, 0), kZone);
    EXPECT_EQ(start.kind, LocalTimeKind::Skipped);
    EXPECT_EQ(start.utcSeconds, kSpring);
}

TEST(LocalTimeResolution, RepeatedTimeIsItsFirstOccurrence) {
    // 02:30 is shown at 00:30 UTC (summer time) and again at 01:30 UTC.
    auto r = ResolveLocalTime(LocalOnDay(300, 2, 30), kZone);
    EXPECT_EQ(r.kind, LocalTimeKind::Repeated);
    EXPECT_EQ(r.utcSeconds, LocalOnDay(300, 0, 30));
    auto first = ResolveLocalTime(LocalOnDay(300, 2, 0), kZone);
    EXPECT_EQ(first.kind, LocalTimeKind::Repeated);
    EXPECT_EQ(first.utcSeconds, LocalOnDay(300, 0, 0));
}
