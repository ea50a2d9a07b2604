// scheduler.ini's values as its readers meet them: the day reader, the tick
// rules, the week grid and the day editor, under one of the test locales.
// What the editor saves reads back as what it showed.
#include <climits>
#include <cstdint>

#include "schedule_input.h"
#include "scheduler/schedule_time.h"

using namespace zelvar;

namespace {

// Counts the reads, to see that a day outside the week leaves the file alone.
class CountingIni : public IniStore {
public:
    explicit CountingIni(const IniStore& inner) : inner_(inner) {}
    std::wstring Read(const std::wstring& s, const std::wstring& k, const std::wstring& fallback) const override {
        ++reads;
        return inner_.Read(s, k, fallback);
    }
    bool Write(const std::wstring&, const std::wstring&, const std::wstring&) override { return false; }
    mutable int reads = 0;

private:
    const IniStore& inner_;
};

bool InDay(TDateTime t) { return t >= 0 && t < 1 && WholeSeconds(t) == t; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const MemoryIni file = fuzz::ScheduleFileOf(fuzz::Bytes(data, size));
    // One test locale a run, by the input's length.
    const LocaleFormats& locale = fuzz::TestLocales()[size % 3];

    for (int outside : {0, 8, -1, INT_MIN, INT_MAX}) {
        CountingIni counting(file);
        ZELVAR_FUZZ_CHECK(ReadScheduleDay(counting, outside) == ScheduleDay{});
        ZELVAR_FUZZ_CHECK(LoadEditorDay(counting, outside, locale) == LoadEditorDay(MemoryIni{}, 1, locale));
        ZELVAR_FUZZ_CHECK(counting.reads == 0);
    }

    const std::array<WeekGridRow, 7> grid = ReadWeekGrid(file);
    for (int day = 1; day <= 7; ++day) {
        const ScheduleDay texts = ReadScheduleDay(file, day);
        for (ScheduleDirection d : {ScheduleDirection::Off, ScheduleDirection::On}) {
            const size_t i = static_cast<size_t>(day - 1) * 4 + (d == ScheduleDirection::Off ? 0 : 2);
            const bool hasTick = file.Has(kScheduleSection, fuzz::ScheduleKey(i));
            const bool hasTime = file.Has(kScheduleSection, fuzz::ScheduleKey(i + 1));
            ZELVAR_FUZZ_CHECK(texts.Tick(d) == file.Read(kScheduleSection, ScheduleTickKey(d, day), L"0"));
            ZELVAR_FUZZ_CHECK(hasTick || texts.Tick(d) == L"0");
            ZELVAR_FUZZ_CHECK(hasTime || texts.Time(d) == DefaultScheduleTimeText(d));
            // The engine's tick is the editor's as well; "1" and "0" are the only fixed texts.
            const bool engine = TickedForEngine(texts.Tick(d)), editor = TickedForEditor(texts.Tick(d));
            ZELVAR_FUZZ_CHECK(!engine || editor);
            ZELVAR_FUZZ_CHECK(engine == (texts.Tick(d) == L"1") && editor == (texts.Tick(d) != L"0"));
            // The grid shows the stored text exactly for the engine's ticks.
            const std::wstring& cell = d == ScheduleDirection::Off ? grid[day - 1].offText : grid[day - 1].onText;
            ZELVAR_FUZZ_CHECK(cell == (engine ? texts.Time(d) : L""));
        }

        // The raw texts written back read as they were.
        MemoryIni copy;
        ZELVAR_FUZZ_CHECK(WriteScheduleDay(copy, day, texts));
        ZELVAR_FUZZ_CHECK(ReadScheduleDay(copy, day) == texts);

        const DayEditorState shown = LoadEditorDay(file, day, locale);
        ZELVAR_FUZZ_CHECK(shown.offTicked == TickedForEditor(texts.offTick));
        ZELVAR_FUZZ_CHECK(shown.onTicked == TickedForEditor(texts.onTick));
        ZELVAR_FUZZ_CHECK(InDay(shown.offTime) && InDay(shown.onTime));
        const auto offRead = ReadScheduleTime(texts.offTime, locale);
        ZELVAR_FUZZ_CHECK(shown.offTime == offRead.value_or(DefaultScheduleTime(ScheduleDirection::Off)));
        // Saved and loaded again, the editor shows the same; the engine
        // then sees exactly the editor's ticks.
        MemoryIni saved;
        ZELVAR_FUZZ_CHECK(SaveEditorDay(saved, day, shown, locale));
        ZELVAR_FUZZ_CHECK(LoadEditorDay(saved, day, locale) == shown);
        const WeekGridRow row = WeekGridCells(ReadScheduleDay(saved, day));
        ZELVAR_FUZZ_CHECK(row.offText.empty() != shown.offTicked && row.onText.empty() != shown.onTicked);
    }
    return 0;
}
