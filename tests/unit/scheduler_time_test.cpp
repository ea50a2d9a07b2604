// Time texts of the schedule under the three test locales, and the day
// editor's view of a day, damaged ones included.
#include <gtest/gtest.h>

#include "scheduler/schedule_time.h"

using namespace zelvar;

namespace {

const LocaleFormats kLocales[] = {RussianFormats(), UsEnglishFormats(), GermanFormats()};
TDateTime T(int h, int m, int s = 0) { return *EncodeTime(h, m, s); }
void Put(MemoryIni& ini, const std::wstring& key, const std::wstring& value) {
    ini.Write(kScheduleSection, key, value);
}

}  // namespace

TEST(ScheduleTime, EachLocaleReadsWhatAnyOfThemWrote) {
    const struct {
        const wchar_t* text;
        int seconds;  // -1: no time
    } cases[] = {
        {L"08:00:00", 8 * 3600},
        {L"7:30:00", 7 * 3600 + 1800},
        {L"0:00:00", 0},
        {L"7:30:00 PM", 19 * 3600 + 1800},
        {L"12:00:05 AM", 5},
        {L"11:59:59 pm", 86399},
        {L"", -1},
        {L"25:99:00", -1},
        {L"24:00:00", -1},
        {L"8:00", -1},
        {L"yes", -1},
        {L"13:00:00 PM", -1},
        {L"0:30:00 AM", -1},
        {L"08:00:00:00", -1},
    };
    for (const LocaleFormats& f : kLocales)
        for (const auto& c : cases) {
            const std::optional<TDateTime> t = ReadScheduleTime(c.text, f);
            EXPECT_EQ(t ? SecondsOfDay(*t) : -1, c.seconds)
                << f.longTime << " " << testing::PrintToString(std::wstring(c.text));
        }
    EXPECT_FALSE(ReadScheduleTime(std::wstring(1 << 20, L'9'), RussianFormats()));

    // A locale's own designators, before the time or after it.
    const LocaleFormats korean{L"yyyy-MM-dd", L"tt h:mm:ss", L"\xc624\xc804", L"\xc624\xd6c4"};
    EXPECT_EQ(SecondsOfDay(*ReadScheduleTime(L"\xc624\xd6c4 9:15:00", korean)), 21 * 3600 + 900);
    EXPECT_EQ(SecondsOfDay(*ReadScheduleTime(L"9:15:00 PM", korean)), 21 * 3600 + 900);
    const LocaleFormats greek{L"d/M/yyyy", L"H:mm:ss", L"\x03c0\x03bc", L"\x03bc\x03bc"};
    EXPECT_EQ(SecondsOfDay(*ReadScheduleTime(L"9:15:00 \x03bc\x03bc", greek)), 21 * 3600 + 900);
}

TEST(ScheduleTime, EachLocaleWritesItsOwnFormAndReadsItBack) {
    EXPECT_EQ(ScheduleTimeText(T(22, 30, 15), RussianFormats()), L"22:30:15");
    EXPECT_EQ(ScheduleTimeText(T(7, 5), RussianFormats()), L"7:05:00");
    EXPECT_EQ(ScheduleTimeText(T(22, 30, 15), UsEnglishFormats()), L"10:30:15 PM");
    EXPECT_EQ(ScheduleTimeText(T(7, 5), GermanFormats()), L"07:05:00");
    for (const LocaleFormats& f : kLocales)
        for (int s = 0; s < 86400; s += 599)
            EXPECT_EQ(SecondsOfDay(*ReadScheduleTime(ScheduleTimeText(s / kSecondsPerDay, f), f)), s) << f.longTime;
}

TEST(ScheduleTime, EditorShowsTicksUnlessZeroAndTheDefaultForATimeThatDoesNotRead) {
    for (const LocaleFormats& f : kLocales) {
        EXPECT_EQ(LoadEditorDay(MemoryIni{}, 3, f), (DayEditorState{false, T(8, 0), false, T(20, 0)}));
        MemoryIni ini;
        Put(ini, L"off_check1_3", L"");
        Put(ini, L"off_time1_3", L"25:99:00");
        Put(ini, L"off_check2_3", L"0");
        Put(ini, L"off_time2_3", L"6:45:00 AM");  // kept while unticked, in another locale's form
        EXPECT_EQ(LoadEditorDay(ini, 3, f), (DayEditorState{true, T(8, 0), false, T(6, 45)})) << f.longTime;
    }
}

TEST(ScheduleTime, EditorSavesBothTimesInTheLocaleFormWhateverTheTicks) {
    for (const LocaleFormats& f : kLocales) {
        MemoryIni ini;
        // Picker values carry a date; only the time is stored.
        const DayEditorState editor{true, 46000 + T(23, 0), false, 46001 + T(7, 30)};
        ASSERT_TRUE(SaveEditorDay(ini, 1, editor, f));
        EXPECT_EQ(ReadScheduleDay(ini, 1), (ScheduleDay{L"1", FormatTime(T(23, 0), f), L"0", FormatTime(T(7, 30), f)}));
        EXPECT_EQ(LoadEditorDay(ini, 1, f), (DayEditorState{true, T(23, 0), false, T(7, 30)})) << f.longTime;

        MemoryIni failing;
        failing.FailAfter(2);
        EXPECT_EQ(SaveEditorDay(failing, 4, editor, f).failedKey, L"off_check2_4");
    }
}
