// scheduler.ini through the real profile functions: what the editor and the
// copy dialog write reads back, a file that cannot be written says so, and a
// damaged file never costs the days that are still sound.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/ini_win.h"
#include "scheduler/schedule_time.h"
#include "scheduler/scheduler_rules.h"

namespace zelvar {
namespace {

TDateTime T(int h, int m = 0, int s = 0) { return *EncodeTime(h, m, s); }
const TDateTime kWednesday = *EncodeDate(2025, 3, 5);
const DayEditorState kDefaults{false, T(8), false, T(20)};

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
    // Next moments seen on Wednesday at 09:00, as day offsets and seconds of the day.
    std::pair<int, int> NextOff(const LocaleFormats& f) const { return Offset(Next(f).off); }
    std::pair<int, int> NextOn(const LocaleFormats& f) const { return Offset(Next(f).on); }
    NextSchedule Next(const LocaleFormats& f) const {
        return ComputeNextSchedule(WallClock(kWednesday + T(9)), IniFile(path_), f);
    }
    static std::pair<int, int> Offset(const ScheduledMoment& m) {
        return m.Has ? std::pair(static_cast<int>(m.Date - kWednesday), SecondsOfDay(m.Time)) : std::pair(-1, -1);
    }
    std::wstring folder_, path_;
};

TEST_F(ScheduleFileWin, EditorDaysAndCopiesReadBackUnderEachLocale) {
    for (const LocaleFormats& f : {RussianFormats(), UsEnglishFormats(), GermanFormats()}) {
        DeleteFileW(path_.c_str());
        IniFile ini(path_);
        EXPECT_EQ(LoadEditorDay(ini, 1, f), kDefaults);
        EXPECT_EQ(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "reading creates no file";

        // The first save creates the file with that day's four keys and nothing else.
        ASSERT_TRUE(SaveEditorDay(ini, 1, kDefaults, f));
        wchar_t section[4096] = {};
        const DWORD n = GetPrivateProfileSectionW(kScheduleSection, section, 4096, path_.c_str());
        EXPECT_EQ(std::count(section, section + n, L'\0'), 4);

        const DayEditorState wednesday{true, T(22, 15), true, T(6, 5, 30)};
        ASSERT_TRUE(SaveEditorDay(ini, 3, wednesday, f));
        ASSERT_TRUE(
            CopyTimeToDays(ini, {false, false, false, true, true, false, false}, L"on", FormatTime(T(7, 30), f)));
        EXPECT_EQ(LoadEditorDay(IniFile(path_), 3, f), wednesday);
        EXPECT_EQ(ReadWeekGrid(IniFile(path_))[3], (WeekGridRow{L"", FormatTime(T(7, 30), f)}));
        EXPECT_EQ(NextOff(f), std::pair(0, SecondsOfDay(T(22, 15))));
        EXPECT_EQ(NextOn(f), std::pair(1, SecondsOfDay(T(7, 30))));
    }
}

TEST_F(ScheduleFileWin, AFileThatCannotBeWrittenSaysWhichKeyFailed) {
    IniFile ini(path_);
    const DayEditorState before{true, T(23), false, T(7)};
    ASSERT_TRUE(SaveEditorDay(ini, 2, before, RussianFormats()));
    // Another program holds the file open without sharing it.
    HANDLE lock = CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const ScheduleWriteResult day = SaveEditorDay(ini, 2, {false, T(21), true, T(6)}, RussianFormats());
    const ScheduleWriteResult copy =
        CopyTimeToDays(ini, {true, true, true, true, true, true, true}, L"off", L"1:00:00");
    CloseHandle(lock);
    EXPECT_EQ(day.failedKey, L"off_check1_2");
    EXPECT_EQ(copy.failedKey, L"off_check1_1");
    EXPECT_FALSE(day || copy);
    EXPECT_EQ(LoadEditorDay(IniFile(path_), 2, RussianFormats()), before) << "the file keeps what it held";

    // The file's name taken by a folder.
    DeleteFileW(path_.c_str());
    ASSERT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
    EXPECT_EQ(SaveEditorDay(ini, 5, {true, T(22), true, T(7)}, GermanFormats()).failedKey, L"off_check1_5");
    EXPECT_FALSE(CopyTimeToDays(ini, {false, false, true, false, false, false, false}, L"on", L"07:00:00"));
    EXPECT_EQ(LoadEditorDay(ini, 5, GermanFormats()), kDefaults);
    EXPECT_EQ(NextOff(GermanFormats()), std::pair(-1, -1));
}

TEST_F(ScheduleFileWin, OddValuesCostOnlyTheirOwnDirectionOfTheirDay) {
    WriteBytes(
        "[Week]\r\n"
        "off_check1_1=\r\n"  // a key without a value: ticked for the editor only
        "off_time1_1=22:00:00\r\n"
        "off_check1_2=yes\r\n"
        "off_time1_2=21:00:00\r\n"
        "off_check1_3=1\r\n"
        "off_time1_3=25:99:00\r\n"
        "off_check2_3=1\r\n"
        "off_time2_3=11:30:00 PM\r\n"
        "this line has no equals sign\r\n"
        "off_check1_4 = 1 \r\n"
        "off_time1_4=  7:45:00\r\n"
        "[Other]\r\n"
        "off_check1_5=1\r\n"
        "off_time1_5=20:00:00\r\n");
    const LocaleFormats f = RussianFormats();
    EXPECT_EQ(NextOff(f), std::pair(1, SecondsOfDay(T(7, 45))));
    EXPECT_EQ(NextOn(f), std::pair(0, SecondsOfDay(T(23, 30))));
    IniFile ini(path_);
    EXPECT_EQ(LoadEditorDay(ini, 1, f), (DayEditorState{true, T(22), false, T(20)}));
    EXPECT_EQ(LoadEditorDay(ini, 3, f), (DayEditorState{true, T(8), true, T(23, 30)}));
    EXPECT_EQ(ReadWeekGrid(ini)[2], (WeekGridRow{L"25:99:00", L"11:30:00 PM"}));
    EXPECT_EQ(ReadWeekGrid(ini)[4], WeekGridRow{});
}

TEST_F(ScheduleFileWin, BinaryAndHugeFilesReadWithoutHarm) {
    const LocaleFormats f = GermanFormats();
    std::mt19937 random(7);
    std::string binary(64 * 1024, '\0');
    for (char& c : binary) c = static_cast<char>(random());
    WriteBytes(binary);
    for (int day = 1; day <= 7; ++day) EXPECT_EQ(LoadEditorDay(IniFile(path_), day, f), kDefaults) << day;
    EXPECT_EQ(NextOff(f), std::pair(-1, -1));

    // Noise around a sound section: its days read as written.
    std::string noise = binary;
    for (char& c : noise)
        if (c == '\0' || c == '[') c = '#';
    WriteBytes(noise + "\r\n[Week]\r\noff_check1_5=1\r\noff_time1_5=22:30:00\r\n" + noise.substr(0, 4096) +
               "\r\noff_check2_6=1\r\noff_time2_6=9:00:00\r\n");
    EXPECT_EQ(NextOff(f), std::pair(2, SecondsOfDay(T(22, 30))));
    EXPECT_EQ(NextOn(f), std::pair(3, SecondsOfDay(T(9))));

    // Megabytes of other lines, then the week with one enormous value.
    std::string huge = "[Junk]\r\n";
    while (huge.size() < (4u << 20))
        huge += "key_" + std::to_string(huge.size()) + "=some value that fills the file\r\n";
    WriteBytes(huge + "[Week]\r\noff_check1_3=1\r\noff_time1_3=21:00:00\r\noff_check2_4=1\r\noff_time2_4=" +
               std::string(300000, '7') + "\r\noff_check2_7=1\r\noff_time2_7=06:00:00\r\n");
    EXPECT_EQ(NextOff(f), std::pair(0, SecondsOfDay(T(21))));
    EXPECT_EQ(NextOn(f), std::pair(4, SecondsOfDay(T(6)))) << "Thursday's enormous time does not read";
    IniFile ini(path_);
    EXPECT_EQ(LoadEditorDay(ini, 4, f), (DayEditorState{false, T(8), true, T(20)}));
    ASSERT_TRUE(SaveEditorDay(ini, 4, {false, T(8), true, T(6, 30)}, f));
    EXPECT_EQ(NextOn(f), std::pair(1, SecondsOfDay(T(6, 30))));
    EXPECT_EQ(ReadScheduleDay(IniFile(path_), 3).offTime, L"21:00:00") << "the rest of the file survives the save";
}

}  // namespace
}  // namespace zelvar
