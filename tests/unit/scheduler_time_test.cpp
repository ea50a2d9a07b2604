// Time texts of the schedule under the three test locales: what each reads,
// what it writes, and the day editor's view of a day, damaged ones included.
#include <gtest/gtest.h>

#include "scheduler/schedule_time.h"

using namespace zelvar;

namespace {

struct Locale {
    const char* name;
    LocaleFormats formats;
};
const Locale kLocales[] = {
    {"Russian", RussianFormats()},
    {"US English", UsEnglishFormats()},
    {"German", GermanFormats()},
};

TDateTime T(int h, int m, int s = 0) { return *EncodeTime(h, m, s); }

void Put(MemoryIni& ini, const std::wstring& key, const std::wstring& value) { ini.Write(kScheduleSection, key, value); }

}  // namespace

TEST(ScheduleTime, ReadsWhatAnyOfTheLocalesWroteUnderEachOfThem) {
    // Texts as Russian, German and US systems write them, and the two defaults.
    struct Case {
        const wchar_t* text;
        TDateTime time;
    };
    const Case cases[] = {
        {L"08:00:00", T(8, 0)},     {L"20:00:00", T(20, 0)},     {L"7:30:00", T(7, 30)},
        {L"23:05:09", T(23, 5, 9)}, {L"0:00:00", T(0, 0)},       {L"7:30:00 AM", T(7, 30)},
        {L"7:30:00 PM", T(19, 30)}, {L"12:00:00 AM", T(0, 0)},   {L"12:00:05 PM", T(12, 0, 5)},
        {L"11:59:59 pm", T(23, 59, 59)},
    };
    for (const Locale& l : kLocales)
        for (const Case& c : cases) {
            const std::optional<TDateTime> t = ReadScheduleTime(c.text, l.formats);
            ASSERT_TRUE(t) << l.name << " " << testing::PrintToString(std::wstring(c.text));
            EXPECT_EQ(SecondsOfDay(*t), SecondsOfDay(c.time)) << l.name << " " << testing::PrintToString(std::wstring(c.text));
        }
}

TEST(ScheduleTime, TextsThatAreNoTimeDoNotRead) {
    for (const Locale& l : kLocales)
        for (const wchar_t* text : {L"", L"25:99:00", L"24:00:00", L"12:60:00", L"8:00", L"yes", L"13:00:00 PM",
                                    L"0:30:00 AM", L"8:00:00 XM", L"08:00:00:00", L"\x0001\xfffd"})
            EXPECT_FALSE(ReadScheduleTime(text, l.formats)) << l.name << " " << testing::PrintToString(std::wstring(text));
    // A very long value reads as nothing, quickly.
    EXPECT_FALSE(ReadScheduleTime(std::wstring(1 << 20, L'9'), RussianFormats()));
}

TEST(ScheduleTime, LocaleDesignatorsReadBesideTheEnglishOnes) {
    // A 12-hour locale with designators of its own, time after them.
    const LocaleFormats korean{L"yyyy-MM-dd", L"tt h:mm:ss", L"\xc624\xc804", L"\xc624\xd6c4"};
    EXPECT_EQ(SecondsOfDay(*ReadScheduleTime(L"\xc624\xd6c4 9:15:00", korean)), SecondsOfDay(T(21, 15)));
    EXPECT_EQ(SecondsOfDay(*ReadScheduleTime(L"21:15:00", korean)), SecondsOfDay(T(21, 15)));
    EXPECT_EQ(SecondsOfDay(*ReadScheduleTime(L"9:15:00 PM", korean)), SecondsOfDay(T(21, 15)));
    // A 24-hour locale still reads a 12-hour text with its own designators.
    const LocaleFormats greek{L"d/M/yyyy", L"H:mm:ss", L"\x03c0\x03bc", L"\x03bc\x03bc"};
    EXPECT_EQ(SecondsOfDay(*ReadScheduleTime(L"9:15:00 \x03bc\x03bc", greek)), SecondsOfDay(T(21, 15)));
    EXPECT_FALSE(ReadScheduleTime(L"9:15:00 \x03bc\x03bc", RussianFormats()));
}

TEST(ScheduleTime, WritesTheLocaleFormAndReadsItBack) {
    const struct {
        const char* name;
        LocaleFormats formats;
        const wchar_t* morning;
        const wchar_t* evening;
    } cases[] = {
        {"Russian", RussianFormats(), L"7:05:00", L"22:30:15"},
        {"US English", UsEnglishFormats(), L"7:05:00 AM", L"10:30:15 PM"},
        {"German", GermanFormats(), L"07:05:00", L"22:30:15"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScheduleTimeText(T(7, 5), c.formats), c.morning) << c.name;
        EXPECT_EQ(ScheduleTimeText(T(22, 30, 15), c.formats), c.evening) << c.name;
        for (int s = 0; s < 86400; s += 599)
            EXPECT_EQ(SecondsOfDay(*ReadScheduleTime(ScheduleTimeText(s / kSecondsPerDay, c.formats), c.formats)), s)
                << c.name << " " << s;
    }
}

TEST(ScheduleTime, EditorShowsTicksUnlessZeroAndDefaultsForUnreadableTimes) {
    for (const Locale& l : kLocales) {
        // No file: both unticked at the defaults.
        EXPECT_EQ(LoadEditorDay(MemoryIni{}, 3, l.formats), (DayEditorState{false, T(8, 0), false, T(20, 0)})) << l.name;

        MemoryIni ini;
        Put(ini, L"off_check1_3", L"");          // an empty tick shows ticked
        Put(ini, L"off_time1_3", L"25:99:00");   // no time: the off default, no message
        Put(ini, L"off_check2_3", L"1");
        Put(ini, L"off_time2_3", L"6:45:00 AM");  // another locale's form
        EXPECT_EQ(LoadEditorDay(ini, 3, l.formats), (DayEditorState{true, T(8, 0), true, T(6, 45)})) << l.name;

        Put(ini, L"off_check1_3", L"0");
        Put(ini, L"off_time1_3", L"21:10:00");  // a time kept while unticked comes back
        Put(ini, L"off_check2_3", L"yes");
        Put(ini, L"off_time2_3", L"");
        EXPECT_EQ(LoadEditorDay(ini, 3, l.formats), (DayEditorState{false, T(21, 10), true, T(20, 0)})) << l.name;
    }
}

TEST(ScheduleTime, EditorSavesTicksAsOneOrZeroAndBothTimesInTheLocaleForm) {
    for (const Locale& l : kLocales) {
        MemoryIni ini;
        const DayEditorState editor{true, T(23, 0), false, T(7, 30)};
        ASSERT_TRUE(SaveEditorDay(ini, 1, editor, l.formats)) << l.name;
        EXPECT_EQ(ini.WriteOrder(),
                  (std::vector<std::wstring>{L"off_check1_1", L"off_time1_1", L"off_check2_1", L"off_time2_1"}));
        const ScheduleDay stored = ReadScheduleDay(ini, 1);
        EXPECT_EQ(stored.offTick, L"1");
        EXPECT_EQ(stored.onTick, L"0");
        EXPECT_EQ(stored.offTime, FormatTime(T(23, 0), l.formats)) << l.name;
        EXPECT_EQ(stored.onTime, FormatTime(T(7, 30), l.formats)) << l.name;
        // What was saved loads back as it was.
        EXPECT_EQ(LoadEditorDay(ini, 1, l.formats), editor) << l.name;

        // A picker value carries a date; only its time is stored.
        ASSERT_TRUE(SaveEditorDay(ini, 2, {false, 46000 + T(6, 0), true, 46001 + T(19, 0)}, l.formats));
        EXPECT_EQ(LoadEditorDay(ini, 2, l.formats), (DayEditorState{false, T(6, 0), true, T(19, 0)})) << l.name;

        MemoryIni failing;
        failing.FailAfter(2);
        const ScheduleWriteResult r = SaveEditorDay(failing, 4, editor, l.formats);
        EXPECT_FALSE(r);
        EXPECT_EQ(r.failedKey, L"off_check2_4");
    }
}
