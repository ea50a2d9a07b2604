#include <gtest/gtest.h>

#include "common/datetime.h"

using namespace zelvar;

TEST(DateTime, EpochAndKnownDays) {
    EXPECT_EQ(*EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(*EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(*EncodeDate(2026, 12, 7), 46363.0);
    EXPECT_FALSE(EncodeDate(2026, 2, 29));
    EXPECT_TRUE(EncodeDate(2028, 2, 29));
}
