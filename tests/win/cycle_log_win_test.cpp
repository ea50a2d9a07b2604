// The night log on disk: offsets from the zone's rules, appending, the cut,
// and a log that cannot be written.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/paths_win.h"
#include "power/cycle_log_win.h"

using namespace zelvar;

namespace {

std::string ReadAll(const std::wstring& path) {
    std::ifstream in{std::filesystem::path(path), std::ios::binary};
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::wstring& path, const std::string& bytes) {
    std::ofstream{std::filesystem::path(path), std::ios::binary} << bytes;
}

SYSTEMTIME LastSunday(WORD month, WORD hour) {
    SYSTEMTIME r{};
    r.wMonth = month;
    r.wDay = 5;  // the last one
    r.wHour = hour;
    return r;
}

// Central Europe: summer time from the last Sunday of March to the last Sunday of October.
DYNAMIC_TIME_ZONE_INFORMATION Berlin() {
    DYNAMIC_TIME_ZONE_INFORMATION z{};
    z.Bias = -60;
    z.StandardDate = LastSunday(10, 3);
    z.DaylightDate = LastSunday(3, 2);
    z.DaylightBias = -60;
    wcsncpy(z.TimeZoneKeyName, L"W. Europe Standard Time", 127);
    z.DynamicDaylightTimeDisabled = TRUE;
    return z;
}

class CycleLogFile : public ::testing::Test {
protected:
    void SetUp() override {
        path = FileBesideExe(L"cycle_log_test.log");
        DeleteFileW(path.c_str());
        RemoveDirectoryW(path.c_str());
    }
    void TearDown() override {
        DeleteFileW(path.c_str());
        RemoveDirectoryW(path.c_str());
    }
    std::wstring path;
};

}  // namespace

TEST(CycleLogMoments, OffsetsFollowTheSeasonOfEachMoment) {
    const auto zone = Berlin();
    // A night in winter, a wake after the spring change, an evening before the autumn one.
    EXPECT_EQ(FormatLogMoment(LogMomentAt(*EncodeDateTime({2026, 12, 8, 22, 0, 0, 0}), zone)),
              "2026-12-08T22:00:00+01:00");
    EXPECT_EQ(FormatLogMoment(LogMomentAt(*EncodeDateTime({2026, 3, 29, 7, 30, 0, 0}), zone)),
              "2026-03-29T07:30:00+02:00");
    EXPECT_EQ(FormatLogMoment(LogMomentAt(*EncodeDateTime({2026, 10, 24, 23, 0, 0, 0}), zone)),
              "2026-10-24T23:00:00+02:00");
    // The current moment carries the offset the system gives it now.
    const LogMoment now = LogNow();
    EXPECT_EQ(LogMomentAt(now.local).utcOffsetMinutes, now.utcOffsetMinutes);
}

TEST_F(CycleLogFile, LinesAreAppendedInOrder) {
    const LogMoment at = LogNow();
    ASSERT_TRUE(AppendCycleLogTo(path, CycleResumedLine(at)));
    ASSERT_TRUE(AppendCycleLogTo(path, CycleDoneLine(at)));
    EXPECT_EQ(ReadAll(path), CycleResumedLine(at) + CycleDoneLine(at));
}

TEST_F(CycleLogFile, PastTheLimitTheFileIsCutToItsNewerHalfInWholeLines) {
    const LogMoment at = LogNow();
    const std::string old = CycleResumedLine(at);
    std::string log;
    while (log.size() + old.size() <= kCycleLogLimit) log += old;
    WriteAll(path, log);
    // Still within: appended as it is.
    const std::string fits(kCycleLogLimit - log.size() - 2, 'x');
    ASSERT_TRUE(AppendCycleLogTo(path, fits + "\r\n"));
    EXPECT_EQ(ReadAll(path).size(), kCycleLogLimit);

    const std::string last = CycleDoneLine(at);
    ASSERT_TRUE(AppendCycleLogTo(path, last));
    const std::string cut = ReadAll(path);
    EXPECT_LE(cut.size(), (kCycleLogLimit + last.size()) / 2);
    EXPECT_GT(cut.size(), kCycleLogLimit / 2 - old.size());
    EXPECT_EQ(cut.compare(0, old.size(), old), 0) << "starts with a whole line";
    EXPECT_EQ(cut.substr(cut.size() - last.size() - fits.size() - 2), fits + "\r\n" + last);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path + L".new")));
}

TEST_F(CycleLogFile, ALogThatCannotBeWrittenIsReportedAndNothingRaised) {
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    EXPECT_FALSE(AppendCycleLogTo(path, CycleDoneLine(LogNow())));
    EXPECT_FALSE(AppendCycleLogTo(L"Z:\\no\\such\\folder\\zelvar.log", CycleDoneLine(LogNow())));
}
