// scheduler.ini through the INI seam: keys, defaults and read order, the two
// readings of a tick, the day and copy writes with their failures, the grid.
#include <gtest/gtest.h>

#include "scheduler/schedule_file.h"

using namespace zelvar;

namespace {

class ReadLog : public MemoryIni {
public:
    std::wstring Read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& fallback) const override {
        reads.push_back(section + L"/" + key);
        return MemoryIni::Read(section, key, fallback);
    }
    mutable std::vector<std::wstring> reads;
};

void Put(MemoryIni& ini, const std::wstring& key, const std::wstring& value) {
    ini.Write(kScheduleSection, key, value);
}

const std::vector<std::wstring> kDay6{L"off_check1_6", L"off_time1_6", L"off_check2_6", L"off_time2_6"};

}  // namespace

TEST(ScheduleFile, DayReadsItsFourKeysInOrderWithDefaults) {
    ReadLog ini;
    EXPECT_EQ(ReadScheduleDay(ini, 6), (ScheduleDay{L"0", L"08:00:00", L"0", L"20:00:00"}));
    std::vector<std::wstring> expected;
    for (const std::wstring& key : kDay6) expected.push_back(L"Week/" + key);
    EXPECT_EQ(ini.reads, expected);

    Put(ini, L"off_check2_6", L"1");
    Put(ini, L"off_time2_6", L"7:30:00");
    Put(ini, L"off_time1_7", L"22:00:00");
    EXPECT_EQ(ReadScheduleDay(ini, 6), (ScheduleDay{L"0", L"08:00:00", L"1", L"7:30:00"}));

    ini.reads.clear();
    EXPECT_EQ(ReadScheduleDay(ini, 8), ScheduleDay{}) << "no such day: the defaults";
    EXPECT_TRUE(ini.reads.empty());
}

TEST(ScheduleFile, EngineAndGridTickOnlyOnOneEditorUnticksOnlyOnZero) {
    for (const wchar_t* text : {L"", L"yes", L" 1", L"01", L"00", L"true"}) {
        EXPECT_FALSE(TickedForEngine(text)) << testing::PrintToString(std::wstring(text));
        EXPECT_TRUE(TickedForEditor(text)) << testing::PrintToString(std::wstring(text));
    }
    EXPECT_TRUE(TickedForEngine(L"1") && TickedForEditor(L"1"));
    EXPECT_FALSE(TickedForEngine(L"0") || TickedForEditor(L"0"));
}

TEST(ScheduleFile, DayWritesInReaderOrderAndStopsAtTheFailingKey) {
    const ScheduleDay texts{L"1", L"23:00:00", L"0", L"7:30:00"};
    for (int good = 0; good <= 4; ++good) {
        MemoryIni ini;
        ini.FailAfter(good == 4 ? -1 : good);
        const ScheduleWriteResult r = WriteScheduleDay(ini, 6, texts);
        EXPECT_EQ(r.ok, good == 4);
        EXPECT_EQ(r.failedKey, good == 4 ? L"" : kDay6[good]);
        EXPECT_EQ(ini.WriteOrder(), std::vector<std::wstring>(kDay6.begin(), kDay6.begin() + good)) << good;
    }
    MemoryIni written;
    ASSERT_TRUE(WriteScheduleDay(written, 6, texts));
    EXPECT_EQ(ReadScheduleDay(written, 6), texts);
    MemoryIni ini;
    EXPECT_FALSE(WriteScheduleDay(ini, 0, texts)) << "no such day: a failure, not a silent success";
    EXPECT_TRUE(ini.WriteOrder().empty());
}

TEST(ScheduleFile, CopyWritesTickAndTimeOfTheTickedDaysInOneDirection) {
    MemoryIni ini;
    Put(ini, L"off_check2_1", L"1");
    Put(ini, L"off_time2_1", L"05:00:00");
    const std::array<bool, 7> monTueFri{true, true, false, false, true, false, false};
    ASSERT_TRUE(CopyTimeToDays(ini, monTueFri, L"off", L"22:30:00"));
    EXPECT_EQ(std::vector<std::wstring>(ini.WriteOrder().begin() + 2, ini.WriteOrder().end()),
              (std::vector<std::wstring>{L"off_check1_1", L"off_time1_1", L"off_check1_2", L"off_time1_2",
                                         L"off_check1_5", L"off_time1_5"}));
    EXPECT_EQ(ReadScheduleDay(ini, 1), (ScheduleDay{L"1", L"22:30:00", L"1", L"05:00:00"}));
    EXPECT_EQ(ReadScheduleDay(ini, 3), ScheduleDay{});

    ASSERT_TRUE(CopyTimeToDays(ini, {false, false, false, false, false, false, true}, L"on", L"9:15:00 AM"));
    EXPECT_EQ(ReadScheduleDay(ini, 7), (ScheduleDay{L"0", L"08:00:00", L"1", L"9:15:00 AM"}));

    const size_t written = ini.WriteOrder().size();
    for (const wchar_t* direction : {L"", L"Off", L"on ", L"1"})
        EXPECT_TRUE(CopyTimeToDays(ini, monTueFri, direction, L"22:30:00"));
    EXPECT_EQ(ini.WriteOrder().size(), written) << "only exactly off or on names a direction";

    MemoryIni failing;
    failing.FailAfter(3);
    const ScheduleWriteResult r =
        CopyTimeToDays(failing, {true, false, true, false, true, false, false}, L"on", L"7:00:00");
    EXPECT_FALSE(r);
    EXPECT_EQ(r.failedKey, L"off_time2_3");
    EXPECT_EQ(failing.WriteOrder(), (std::vector<std::wstring>{L"off_check2_1", L"off_time2_1", L"off_check2_3"}));
}

TEST(ScheduleFile, GridShowsStoredTextsOfTicksOfExactlyOne) {
    MemoryIni ini;
    Put(ini, L"off_check1_1", L"1");
    Put(ini, L"off_time1_1", L"23:00:00");
    Put(ini, L"off_check2_1", L"1");
    Put(ini, L"off_time2_1", L"7:30:00 AM");
    Put(ini, L"off_check1_2", L"yes");
    Put(ini, L"off_time1_2", L"22:15:00");
    Put(ini, L"off_check1_4", L"1");
    Put(ini, L"off_time1_4", L"25:99:00");  // the grid does not read times
    const std::array<WeekGridRow, 7> rows = ReadWeekGrid(ini);
    EXPECT_EQ(rows[0], (WeekGridRow{L"23:00:00", L"7:30:00 AM"}));
    EXPECT_EQ(rows[1], WeekGridRow{});
    EXPECT_EQ(rows[3], (WeekGridRow{L"25:99:00", L""}));
    EXPECT_EQ(rows[6], WeekGridRow{});
}
