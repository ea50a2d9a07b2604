// scheduler.ini through the real profile functions: what the editor and the
// copy dialog write reads back, a file that cannot be written reports it,
// and damaged files never cost the days that are still sound.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "common/ini_win.h"
#include "scheduler/schedule_time.h"
#include "scheduler/scheduler_rules.h"

namespace zelvar {
namespace {

TDateTime T(int h, int m = 0, int s = 0) { return *EncodeTime(h, m, s); }
// Wednesday 5 March 2025 at 09:00.
TDateTime Wednesday9() { return *EncodeDate(2025, 3, 5) + T(9); }

class ScheduleFileWin : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        folder_ = std::wstring(temp) + L"zelvar-schedule-test-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        path_ = folder_ + L"\\scheduler.ini";
    }
    void TearDown() override {
        SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path_.c_str());
        RemoveDirectoryW(path_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    void WriteBytes(const std::string& bytes) {
        HANDLE f = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        CloseHandle(f);
    }
    // The keys of section Week as the file holds them.
    std::vector<std::wstring> WeekKeys() const {
        std::vector<wchar_t> buf(1 << 16);
        const DWORD n = GetPrivateProfileSectionW(kScheduleSection, buf.data(), static_cast<DWORD>(buf.size()),
                                                  path_.c_str());
        std::vector<std::wstring> keys;
        for (DWORD i = 0; i < n;) {
            std::wstring line(buf.data() + i);
            i += static_cast<DWORD>(line.size()) + 1;
            keys.push_back(line.substr(0, line.find(L'=')));
        }
        return keys;
    }
    std::wstring folder_, path_;
};

TEST_F(ScheduleFileWin, EditorDaysAndCopiesReadBackUnderEachLocale) {
    for (const LocaleFormats& f : {RussianFormats(), UsEnglishFormats(), GermanFormats()}) {
        DeleteFileW(path_.c_str());
        IniFile ini(path_);
        EXPECT_EQ(LoadEditorDay(ini, 1, f), (DayEditorState{false, T(8), false, T(20)}));
        EXPECT_EQ(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "reading creates no file";

        // The first save creates the file with that day's four keys and nothing else.
        ASSERT_TRUE(SaveEditorDay(ini, 1, {false, T(8), false, T(20)}, f));
        EXPECT_EQ(WeekKeys(), (std::vector<std::wstring>{L"off_check1_1", L"off_time1_1", L"off_check2_1", L"off_time2_1"}));

        const DayEditorState wednesday{true, T(22, 15), true, T(6, 5, 30)};
        ASSERT_TRUE(SaveEditorDay(ini, 3, wednesday, f));
        ASSERT_TRUE(CopyTimeToDays(ini, {false, false, false, true, true, false, false}, L"on", FormatTime(T(7, 30), f)));
        IniFile again(path_);
        EXPECT_EQ(LoadEditorDay(again, 3, f), wednesday);
        EXPECT_EQ(ReadScheduleDay(again, 4), (ScheduleDay{L"0", L"08:00:00", L"1", FormatTime(T(7, 30), f)}));
        EXPECT_EQ(ReadWeekGrid(again)[2], (WeekGridRow{FormatTime(T(22, 15), f), FormatTime(T(6, 5, 30), f)}));

        const NextSchedule next = ComputeNextSchedule(WallClock(Wednesday9()), again, f);
        EXPECT_EQ(SecondsOfDay(ScheduledLocalMoment(next.off, f)), SecondsOfDay(T(22, 15)));
        EXPECT_EQ(next.off.Date, DateOf(Wednesday9()));
        EXPECT_EQ(next.on.Date, DateOf(Wednesday9()) + 1) << "Thursday 07:30, before next Wednesday's 06:05:30";
    }
}

TEST_F(ScheduleFileWin, AFileThatCannotBeWrittenSaysWhichKeyFailed) {
    IniFile ini(path_);
    const DayEditorState before{true, T(23), false, T(7)};
    ASSERT_TRUE(SaveEditorDay(ini, 2, before, RussianFormats()));
    {
        // Another program holds the file open without sharing it.
        HANDLE lock = CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        const ScheduleWriteResult r = SaveEditorDay(ini, 2, {false, T(21), true, T(6)}, RussianFormats());
        const ScheduleWriteResult copy =
            CopyTimeToDays(ini, {true, true, true, true, true, true, true}, L"off", L"1:00:00");
        CloseHandle(lock);
        EXPECT_FALSE(r);
        EXPECT_EQ(r.failedKey, L"off_check1_2");
        EXPECT_FALSE(copy);
        EXPECT_EQ(copy.failedKey, L"off_check1_1");
    }
    EXPECT_EQ(LoadEditorDay(IniFile(path_), 2, RussianFormats()), before) << "the file keeps what it held";
    DeleteFileW(path_.c_str());

    // The file's name taken by a folder.
    ASSERT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
    const ScheduleWriteResult folder = SaveEditorDay(ini, 5, {true, T(22), true, T(7)}, GermanFormats());
    EXPECT_FALSE(folder);
    EXPECT_EQ(folder.failedKey, L"off_check1_5");
    EXPECT_FALSE(CopyTimeToDays(ini, {false, false, true, false, false, false, false}, L"on", L"07:00:00"));
    EXPECT_EQ(LoadEditorDay(ini, 5, GermanFormats()), (DayEditorState{false, T(8), false, T(20)}));
    EXPECT_FALSE(ComputeNextSchedule(WallClock(Wednesday9()), ini, GermanFormats()).off.Has);
}

TEST_F(ScheduleFileWin, AReadOnlyFileIsNotWritten) {
    IniFile ini(path_);
    ASSERT_TRUE(SaveEditorDay(ini, 2, {true, T(23), false, T(7)}, RussianFormats()));
    ASSERT_TRUE(SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE probe = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "this system lets the read-only file be written (Wine run by root)";
    }
    const ScheduleWriteResult r = SaveEditorDay(ini, 2, {false, T(21), true, T(6)}, RussianFormats());
    EXPECT_FALSE(r);
    EXPECT_EQ(r.failedKey, L"off_check1_2");
    EXPECT_EQ(LoadEditorDay(IniFile(path_), 2, RussianFormats()), (DayEditorState{true, T(23), false, T(7)}));
}

TEST_F(ScheduleFileWin, OddValuesCostOnlyTheirOwnDirection) {
    WriteBytes(
        "[Week]\r\n"
        "off_check1_1=\r\n"             // a key without a value: not ticked for the engine, ticked in the editor
        "off_time1_1=22:00:00\r\n"
        "off_check1_2=yes\r\n"
        "off_time1_2=21:00:00\r\n"
        "off_check1_3=1\r\n"
        "off_time1_3=25:99:00\r\n"      // not a time
        "off_check2_3=1\r\n"
        "off_time2_3=11:30:00 PM\r\n"   // another locale's form
        "this line has no equals sign\r\n"
        "off_check1_4 = 1 \r\n"         // blanks around key and value
        "off_time1_4=  7:45:00\r\n"
        "off_check1_4=0\r\n"            // a second copy of a key: the first counts
        "[Other]\r\n"
        "off_check1_5=1\r\n"            // another section's keys are not the schedule's
        "off_time1_5=20:00:00\r\n");
    IniFile ini(path_);
    const LocaleFormats f = RussianFormats();
    const NextSchedule next = ComputeNextSchedule(WallClock(Wednesday9()), ini, f);
    ASSERT_TRUE(next.off.Has);
    EXPECT_EQ(next.off.Date, DateOf(Wednesday9()) + 1);
    EXPECT_EQ(SecondsOfDay(next.off.Time), SecondsOfDay(T(7, 45)));
    ASSERT_TRUE(next.on.Has);
    EXPECT_EQ(next.on.Date, DateOf(Wednesday9()));
    EXPECT_EQ(SecondsOfDay(next.on.Time), SecondsOfDay(T(23, 30)));

    EXPECT_EQ(LoadEditorDay(ini, 1, f), (DayEditorState{true, T(22), false, T(20)}));
    EXPECT_EQ(LoadEditorDay(ini, 3, f), (DayEditorState{true, T(8), true, T(23, 30)}));
    EXPECT_EQ(ReadWeekGrid(ini)[2], (WeekGridRow{L"25:99:00", L"11:30:00 PM"}));
    EXPECT_EQ(ReadWeekGrid(ini)[4], WeekGridRow{});

    // Saving the damaged day over it mends it.
    ASSERT_TRUE(SaveEditorDay(ini, 3, LoadEditorDay(ini, 3, f), f));
    EXPECT_EQ(ReadScheduleDay(IniFile(path_), 3), (ScheduleDay{L"1", L"8:00:00", L"1", L"23:30:00"}));
}

TEST_F(ScheduleFileWin, BinaryAndHugeFilesReadWithoutHarm) {
    const LocaleFormats f = GermanFormats();
    std::mt19937 random(7);
    std::string binary(64 * 1024, '\0');
    for (char& c : binary) c = static_cast<char>(random());

    // Nothing but noise: every day at its defaults, no moment found.
    WriteBytes(binary);
    {
        IniFile ini(path_);
        for (int day = 1; day <= 7; ++day) EXPECT_EQ(LoadEditorDay(ini, day, f), (DayEditorState{false, T(8), false, T(20)})) << day;
        const NextSchedule next = ComputeNextSchedule(WallClock(Wednesday9()), ini, f);
        EXPECT_FALSE(next.off.Has);
        EXPECT_FALSE(next.on.Has);
    }

    // Noise without zero bytes around a sound section: the sound days read as written.
    std::string noisy = binary;
    for (char& c : noisy)
        if (c == '\0' || c == '[') c = '#';
    WriteBytes(noisy + "\r\n[Week]\r\noff_check1_5=1\r\noff_time1_5=22:30:00\r\n" + noisy.substr(0, 4096) +
               "\r\noff_check2_6=1\r\noff_time2_6=9:00:00\r\n");
    {
        IniFile ini(path_);
        EXPECT_EQ(ReadScheduleDay(ini, 5), (ScheduleDay{L"1", L"22:30:00", L"0", L"20:00:00"}));
        const NextSchedule next = ComputeNextSchedule(WallClock(Wednesday9()), ini, f);
        EXPECT_EQ(next.off.Date, DateOf(Wednesday9()) + 2);
        EXPECT_EQ(next.on.Date, DateOf(Wednesday9()) + 3);
    }

    // Several megabytes of other lines, then the week, with one enormous value.
    std::string huge = "[Junk]\r\n";
    while (huge.size() < (4u << 20)) huge += "junk_key_" + std::to_string(huge.size()) + "=some value that fills the file\r\n";
    huge += "[Week]\r\noff_check1_3=1\r\noff_time1_3=21:00:00\r\noff_check2_4=1\r\noff_time2_4=" +
            std::string(300000, '7') + "\r\noff_check2_7=1\r\noff_time2_7=06:00:00\r\n";
    WriteBytes(huge);
    {
        IniFile ini(path_);
        const NextSchedule next = ComputeNextSchedule(WallClock(Wednesday9()), ini, f);
        ASSERT_TRUE(next.off.Has);
        EXPECT_EQ(next.off.Date, DateOf(Wednesday9()));
        EXPECT_EQ(SecondsOfDay(next.off.Time), SecondsOfDay(T(21)));
        ASSERT_TRUE(next.on.Has);
        EXPECT_EQ(next.on.Date, DateOf(Wednesday9()) + 4) << "Thursday's enormous time does not read";
        EXPECT_EQ(LoadEditorDay(ini, 4, f), (DayEditorState{false, T(8), true, T(20)}));
        ASSERT_TRUE(SaveEditorDay(ini, 4, {false, T(8), true, T(6, 30)}, f));
        EXPECT_EQ(LoadEditorDay(IniFile(path_), 4, f), (DayEditorState{false, T(8), true, T(6, 30)}));
        EXPECT_EQ(ReadScheduleDay(IniFile(path_), 3).offTime, L"21:00:00") << "the rest of the file survives the save";
    }
}

}  // namespace
}  // namespace zelvar
