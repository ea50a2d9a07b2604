// scheduler.ini through the INI seam: keys and defaults, the two readings of
// a tick, the day writes and the copy dialog's writes with their failures,
// and the week grid's texts.
#include <gtest/gtest.h>

#include <set>

#include "scheduler/schedule_file.h"

using namespace zelvar;

namespace {

// Remembers every key read, in order.
class ReadLog : public MemoryIni {
public:
    std::wstring Read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& fallback) const override {
        reads.push_back(section + L"/" + key);
        return MemoryIni::Read(section, key, fallback);
    }
    mutable std::vector<std::wstring> reads;
};

void Put(MemoryIni& ini, const std::wstring& key, const std::wstring& value) { ini.Write(kScheduleSection, key, value); }

}  // namespace

TEST(ScheduleFile, TwentyEightKeysNamedByDirectionDigitAndDay) {
    std::set<std::wstring> keys;
    for (int day = 1; day <= 7; ++day)
        for (ScheduleDirection d : {ScheduleDirection::Off, ScheduleDirection::On}) {
            keys.insert(ScheduleTickKey(d, day));
            keys.insert(ScheduleTimeKey(d, day));
        }
    EXPECT_EQ(keys.size(), 28u);
    EXPECT_TRUE(keys.count(L"off_check1_1"));
    EXPECT_TRUE(keys.count(L"off_time2_7"));
    EXPECT_EQ(ScheduleTickKey(ScheduleDirection::On, 3), L"off_check2_3");  // the wake keys begin with "off_" too
    EXPECT_EQ(ScheduleTimeKey(ScheduleDirection::Off, 5), L"off_time1_5");
}

TEST(ScheduleFile, DayReadsItsFourKeysInOrderWithDefaults) {
    ReadLog ini;
    EXPECT_EQ(ReadScheduleDay(ini, 4), (ScheduleDay{L"0", L"08:00:00", L"0", L"20:00:00"}));
    EXPECT_EQ(ini.reads, (std::vector<std::wstring>{L"Week/off_check1_4", L"Week/off_time1_4", L"Week/off_check2_4",
                                                    L"Week/off_time2_4"}));

    Put(ini, L"off_check2_4", L"1");
    Put(ini, L"off_time2_4", L"7:30:00");
    Put(ini, L"off_time1_5", L"22:00:00");  // another day's key stays out of day 4
    EXPECT_EQ(ReadScheduleDay(ini, 4), (ScheduleDay{L"0", L"08:00:00", L"1", L"7:30:00"}));

    // No such day: the defaults, and the file is not asked.
    ini.reads.clear();
    for (int day : {0, 8, -1}) EXPECT_EQ(ReadScheduleDay(ini, day), ScheduleDay{}) << day;
    EXPECT_TRUE(ini.reads.empty());
}

TEST(ScheduleFile, EngineAndGridTickOnlyOnOneEditorUnticksOnlyOnZero) {
    struct Case {
        const wchar_t* text;
        bool engine, editor;
    };
    const Case cases[] = {
        {L"1", true, true},  {L"0", false, false},  {L"", false, true},   {L"yes", false, true},
        {L" 1", false, true}, {L"01", false, true}, {L"true", false, true}, {L"00", false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TickedForEngine(c.text), c.engine) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(TickedForEditor(c.text), c.editor) << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(ScheduleFile, DayWritesInReaderOrderAndStopsAtTheFailingKey) {
    const ScheduleDay texts{L"1", L"23:00:00", L"0", L"7:30:00"};
    MemoryIni ini;
    const ScheduleWriteResult ok = WriteScheduleDay(ini, 2, texts);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(ok.failedKey.empty());
    EXPECT_EQ(ini.WriteOrder(),
              (std::vector<std::wstring>{L"off_check1_2", L"off_time1_2", L"off_check2_2", L"off_time2_2"}));
    EXPECT_EQ(ReadScheduleDay(ini, 2), texts);

    const wchar_t* const keys[] = {L"off_check1_6", L"off_time1_6", L"off_check2_6", L"off_time2_6"};
    for (int good = 0; good < 4; ++good) {
        MemoryIni failing;
        failing.FailAfter(good);
        const ScheduleWriteResult r = WriteScheduleDay(failing, 6, texts);
        EXPECT_FALSE(r) << good;
        EXPECT_EQ(r.failedKey, keys[good]);
        EXPECT_EQ(failing.WriteOrder().size(), static_cast<size_t>(good)) << "nothing after the failing key";
        for (int k = 0; k < 4; ++k) EXPECT_EQ(failing.Has(kScheduleSection, keys[k]), k < good) << good << k;
    }

    MemoryIni untouched;
    EXPECT_FALSE(WriteScheduleDay(untouched, 8, texts)) << "no such day: a failure, not a silent success";
    EXPECT_TRUE(untouched.WriteOrder().empty());
}

TEST(ScheduleFile, CopySetsTickAndTimeOfTheTickedDaysInOneDirection) {
    auto seeded = [] {
        MemoryIni ini;
        for (int day = 1; day <= 7; ++day) {
            Put(ini, ScheduleTickKey(ScheduleDirection::Off, day), L"0");
            Put(ini, ScheduleTimeKey(ScheduleDirection::Off, day), L"06:00:00");
            Put(ini, ScheduleTickKey(ScheduleDirection::On, day), L"1");
            Put(ini, ScheduleTimeKey(ScheduleDirection::On, day), L"05:00:00");
        }
        return ini;
    };
    const std::array<bool, 7> monTueFri{true, true, false, false, true, false, false};

    MemoryIni off = seeded();
    const size_t before = off.WriteOrder().size();
    ASSERT_TRUE(CopyTimeToDays(off, monTueFri, L"off", L"22:30:00"));
    EXPECT_EQ(std::vector<std::wstring>(off.WriteOrder().begin() + before, off.WriteOrder().end()),
              (std::vector<std::wstring>{L"off_check1_1", L"off_time1_1", L"off_check1_2", L"off_time1_2",
                                         L"off_check1_5", L"off_time1_5"}));
    for (int day = 1; day <= 7; ++day) {
        const ScheduleDay d = ReadScheduleDay(off, day);
        const bool copied = monTueFri[day - 1];
        EXPECT_EQ(d.offTick, copied ? L"1" : L"0") << day;
        EXPECT_EQ(d.offTime, copied ? L"22:30:00" : L"06:00:00") << day;
        EXPECT_EQ(d.onTick, L"1") << day;
        EXPECT_EQ(d.onTime, L"05:00:00") << day;
    }

    MemoryIni on = seeded();
    ASSERT_TRUE(CopyTimeToDays(on, {false, false, false, false, false, true, true}, L"on", L"9:15:00 AM"));
    EXPECT_EQ(ReadScheduleDay(on, 7), (ScheduleDay{L"0", L"06:00:00", L"1", L"9:15:00 AM"}));
    EXPECT_EQ(ReadScheduleDay(on, 5), (ScheduleDay{L"0", L"06:00:00", L"1", L"05:00:00"}));

    // Only "off" and "on" exactly name a direction; anything else writes nothing.
    for (const wchar_t* direction : {L"", L"Off", L"on ", L"both", L"1"}) {
        MemoryIni ini = seeded();
        const size_t n = ini.WriteOrder().size();
        EXPECT_TRUE(CopyTimeToDays(ini, monTueFri, direction, L"22:30:00"));
        EXPECT_EQ(ini.WriteOrder().size(), n) << testing::PrintToString(std::wstring(direction));
    }
}

TEST(ScheduleFile, CopyStopsAtTheFailingKeyKeepingEarlierDays) {
    MemoryIni ini;
    ini.FailAfter(3);  // Monday's two keys and Wednesday's tick, then the file refuses
    const ScheduleWriteResult r = CopyTimeToDays(ini, {true, false, true, false, true, false, false}, L"on", L"7:00:00");
    EXPECT_FALSE(r);
    EXPECT_EQ(r.failedKey, L"off_time2_3");
    EXPECT_EQ(ini.WriteOrder(), (std::vector<std::wstring>{L"off_check2_1", L"off_time2_1", L"off_check2_3"}));
}

TEST(ScheduleFile, GridShowsStoredTimesOfTicksOfExactlyOne) {
    MemoryIni ini;
    Put(ini, L"off_check1_1", L"1");
    Put(ini, L"off_time1_1", L"23:00:00");
    Put(ini, L"off_check2_1", L"1");
    Put(ini, L"off_time2_1", L"7:30:00 AM");  // shown as stored, in whatever form
    Put(ini, L"off_check1_2", L"yes");        // ticked for the editor, not for the grid
    Put(ini, L"off_time1_2", L"22:15:00");
    Put(ini, L"off_check2_3", L"0");
    Put(ini, L"off_time2_3", L"6:00:00");  // a time kept while unticked
    Put(ini, L"off_check1_4", L"1");
    Put(ini, L"off_time1_4", L"25:99:00");  // not a time: the grid does not read times
    Put(ini, L"off_check2_5", L"1");
    Put(ini, L"off_time2_5", L"");

    const std::array<WeekGridRow, 7> rows = ReadWeekGrid(ini);
    EXPECT_EQ(rows[0], (WeekGridRow{L"23:00:00", L"7:30:00 AM"}));
    EXPECT_EQ(rows[1], WeekGridRow{});
    EXPECT_EQ(rows[2], WeekGridRow{});
    EXPECT_EQ(rows[3], (WeekGridRow{L"25:99:00", L""}));
    EXPECT_EQ(rows[4], (WeekGridRow{L"", L""}));
    EXPECT_EQ(rows[6], WeekGridRow{});

    // Without a file nothing shows.
    for (const WeekGridRow& row : ReadWeekGrid(MemoryIni{})) EXPECT_EQ(row, WeekGridRow{});
}
