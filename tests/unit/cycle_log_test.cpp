#include <gtest/gtest.h>

#include <string>

#include "moments.h"

#include "power/cycle_log.h"

using namespace zelvar;
using zelvar::testing::At;

namespace {

const LogMoment kAt{At(2026, 12, 8, 21, 59, 50), 60};
const LogMoment kOff{At(2026, 12, 8, 22, 0, 0), 60};
const LogMoment kWake{At(2026, 12, 9, 7, 30, 0), 60};

}  // namespace

TEST(CycleLog, MomentsCarryTheirOffsetAndWholeSeconds) {
    EXPECT_EQ(FormatLogMoment(kOff), "2026-12-08T22:00:00+01:00");
    EXPECT_EQ(FormatLogMoment({At(2026, 7, 1, 6, 5, 4), -300}), "2026-07-01T06:05:04-05:00");
    EXPECT_EQ(FormatLogMoment({At(2026, 7, 1, 6, 5, 4), 345}), "2026-07-01T06:05:04+05:45");
    EXPECT_EQ(FormatLogMoment({At(2026, 7, 1, 6, 5, 4), -210}), "2026-07-01T06:05:04-03:30");
    EXPECT_EQ(FormatLogMoment({At(2026, 7, 1, 6, 5, 4), 0}), "2026-07-01T06:05:04+00:00");
    // Milliseconds are dropped, never rounded into the next second (or day).
    EXPECT_EQ(FormatLogMoment({At(2026, 12, 31, 23, 59, 59, 999), 60}), "2026-12-31T23:59:59+01:00");
}

TEST(CycleLog, SourceOfTheMoments) {
    EXPECT_EQ(CycleSourceOf(true, false), CycleSource::Plan);
    EXPECT_EQ(CycleSourceOf(true, true), CycleSource::Both);
    EXPECT_EQ(CycleSourceOf(false, true), CycleSource::Schedule);
    EXPECT_EQ(CycleSourceOf(false, false), CycleSource::Schedule);
}

TEST(CycleLog, OneLinePerEvent) {
    const std::string at = "2026-12-08T21:59:50+01:00 ";
    const struct {
        std::string line, expected;
    } cases[] = {
        {CycleStartLine(kAt, CycleSource::Schedule, kOff, kWake),
         "start source=schedule off=2026-12-08T22:00:00+01:00 wake=2026-12-09T07:30:00+01:00"},
        {CycleStartLine(kAt, CycleSource::Plan, kOff, std::nullopt),
         "start source=plan off=2026-12-08T22:00:00+01:00 wake=none"},
        {CycleStartLine(kAt, CycleSource::Both, std::nullopt, kWake),
         "start source=both off=none wake=2026-12-09T07:30:00+01:00"},
        {CycleActionLine(kAt, CycleAction::Hibernate), "action hibernate"},
        {CycleActionLine(kAt, CycleAction::PowerOff), "action poweroff"},
        {CycleActionLine(kAt, CycleAction::None), "action none"},
        {CycleResumedLine(kAt), "resumed"},
        {CycleDoneLine(kAt), "end done"},
        {CycleCancelledLine(kAt, CycleCancel::FromCountdown), "end cancelled-countdown"},
        {CycleCancelledLine(kAt, CycleCancel::OnPage), "end cancelled-page"},
        {CycleCancelledLine(kAt, CycleCancel::Stopped), "end stopped"},
        {CycleRefusedLine(kAt, CycleStep::Hibernate, 5), "end refused hibernate code=5"},
        {CycleRefusedLine(kAt, CycleStep::PowerOff, 1314), "end refused poweroff code=1314"},
        {CycleRefusedLine(kAt, CycleStep::WakeTimer, 87), "end refused wake-timer code=87"},
        {CycleRefusedLine(kAt, CycleStep::OffTimer, 4294967295u), "end refused off-timer code=4294967295"},
        {MomentSkippedLine(kAt, kOff), "end skipped moment=2026-12-08T22:00:00+01:00"},
        {CountdownOpenedLine(kAt, kOff), "countdown due=2026-12-08T22:00:00+01:00"},
        {WakeNotArmedLine(kAt, kWake), "wake not-armed moment=2026-12-09T07:30:00+01:00"},
        {TimerWakeLine(kAt, kWake), "resumed by=wake-timer due=2026-12-09T07:30:00+01:00"},
        {ClockChangedLine(kAt), "clock changed"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.line, at + c.expected + "\r\n");
}

TEST(CycleLog, CutKeepsTheNewerHalfInWholeLines) {
    // Within the limit nothing is cut.
    EXPECT_EQ(CycleLogCutOffset(""), 0u);
    EXPECT_EQ(CycleLogCutOffset(std::string(kCycleLogLimit, 'x')), 0u);

    // Lines of a length that does not divide the half: the cut falls inside a line.
    std::string log;
    const std::string line = CycleDoneLine(kAt);  // 36 bytes
    while (log.size() <= kCycleLogLimit) log += line;
    const size_t cut = CycleLogCutOffset(log);
    ASSERT_GT(cut, 0u);
    EXPECT_EQ(log[cut - 1], '\n');
    EXPECT_EQ(log.compare(cut, line.size(), line), 0);
    const size_t kept = log.size() - cut;
    EXPECT_LE(kept, log.size() / 2);
    EXPECT_GT(kept + line.size(), log.size() / 2);

    // A cut point that is a line start keeps that line.
    const std::string even =
        std::string(kCycleLogLimit / 2 + 9, 'a') + "\n" + std::string(kCycleLogLimit / 2 + 9, 'b') + "\n";
    EXPECT_EQ(CycleLogCutOffset(even), even.size() / 2);

    // A last line without its end is kept whole; a damaged log of no lines is dropped.
    const std::string unended = log + "2026-12-08T22:00:00+01:00 act";
    EXPECT_EQ(unended.substr(CycleLogCutOffset(unended)).find(line), 0u);
    const std::string noLines(kCycleLogLimit + 1, 'x');
    EXPECT_EQ(CycleLogCutOffset(noLines), noLines.size());
}
