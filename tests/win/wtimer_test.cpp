#include <gtest/gtest.h>

#include "common/locale_win.h"
#include "power/wtimer.h"

using namespace zelvar;

namespace {

constexpr std::int64_t kMs = 10'000;      // 100 ns units per millisecond
constexpr std::uint32_t kBound = 10'000;  // upper bound for waits that must end

TDateTime MillisecondsFromNow(int ms) { return NowLocal() + ms / 86'400'000.0; }

}  // namespace

TEST(WaitableTimer, RelativeWaitSignalsOnceAndResets) {
    TWaitableTimer timer;
    timer.Create(false, nullptr, L"");
    ASSERT_NE(timer.Handle, nullptr);
    timer.RelativeTime = -200 * kMs;
    ASSERT_TRUE(timer.Start());
    EXPECT_EQ(timer.WaitFor(kBound), WaitSignaled);
    // Auto-reset: the wait consumed the signal.
    EXPECT_EQ(timer.WaitFor(0), WaitTimeout);
}

TEST(WaitableTimer, AbsoluteLocalMoment) {
    TWaitableTimer timer;
    timer.Create(false, nullptr, L"");
    timer.Time = MillisecondsFromNow(300);
    ASSERT_TRUE(timer.Start());
    EXPECT_EQ(timer.WaitFor(kBound), WaitSignaled);

    // An hour ahead is not due yet: the local moment was not read as universal
    // time in a zone west of it, nor shifted into the past.
    timer.Time = MillisecondsFromNow(3'600'000);
    ASSERT_TRUE(timer.Start());
    EXPECT_EQ(timer.WaitFor(200), WaitTimeout);
    EXPECT_TRUE(timer.Stop());
}

TEST(WaitableTimer, ZeroDueTimeIsLongPastAndSignalsAtOnce) {
    TWaitableTimer timer;
    timer.Create(false, nullptr, kWaitableTimerName);
    ASSERT_EQ(timer.RelativeTime, 0);
    ASSERT_EQ(timer.Time, 0.0);
    ASSERT_TRUE(timer.Start());
    EXPECT_EQ(timer.WaitFor(kBound), WaitSignaled);
}

TEST(WaitableTimer, InstancesUnderOneNameShareOneKernelTimer) {
    TWaitableTimer first, second;
    first.Create(false, nullptr, kWaitableTimerName);
    second.Create(true, nullptr, kWaitableTimerName);  // manual reset ignored: the object exists
    ASSERT_NE(first.Handle, nullptr);
    ASSERT_NE(second.Handle, nullptr);

    // Arming the second replaces the far due time of the first.
    first.RelativeTime = -3'600'000 * kMs;
    ASSERT_TRUE(first.Start());
    second.RelativeTime = -100 * kMs;
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(first.WaitFor(kBound), WaitSignaled);
    // One auto-reset object: the first's wait consumed the signal for both.
    EXPECT_EQ(second.WaitFor(0), WaitTimeout);

    // Cancelling either cancels both.
    first.RelativeTime = -100 * kMs;
    ASSERT_TRUE(first.Start());
    EXPECT_TRUE(second.Stop());
    EXPECT_EQ(first.WaitFor(1000), WaitTimeout);
}

TEST(WaitableTimer, NullHandleRefusesToArmAndWaitReportsTheError) {
    TWaitableTimer timer;
    ASSERT_EQ(timer.Handle, nullptr);
    EXPECT_FALSE(timer.Start());
    EXPECT_EQ(timer.LastError, static_cast<std::uint32_t>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(timer.Stop());

    timer.LastError = 0;
    EXPECT_EQ(timer.WaitFor(10), WaitError);
    EXPECT_NE(timer.LastError, 0u);
}
