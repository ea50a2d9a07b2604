// The next scheduled moments over a fuzzed scheduler.ini and a fixed clock
// (any millisecond of two weeks, under one of the test locales), and the
// week grid's marks for them. A found moment lies strictly after now, at most
// a week ahead, on a day ticked for it, and no ticked day comes earlier; the
// grid marks at most one cell per direction, the moment's own.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "schedule_input.h"
#include "scheduler/schedule_time.h"
#include "scheduler/scheduler_rules.h"

using namespace zelvar;

namespace {

constexpr std::uint32_t kTwoWeeksMs = 14u * 86400000u;

// The first moment strictly after now at which a day's time comes, or nullopt
// when the day is not ticked for the direction or its time does not read.
std::optional<TDateTime> NextOccurrence(const ScheduleClock& clock, const ScheduleDay& texts, int day,
                                        ScheduleDirection d, const LocaleFormats& f) {
    if (!TickedForEngine(texts.Tick(d))) return std::nullopt;
    const std::optional<TDateTime> time = ReadScheduleTime(texts.Time(d), f);
    if (!time) return std::nullopt;
    const int ahead = (day - IsoWeekday(clock.localNow) + 7) % 7;
    const TDateTime today = DateOf(clock.localNow);
    TDateTime moment = ScheduledLocalMoment({true, today + ahead, *time}, f);
    if (std::llround(clock.SecondsUntil(moment) * 1000) <= 0)
        moment = ScheduledLocalMoment({true, today + 7, *time}, f);
    return moment;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 5) return 0;
    std::uint32_t ms;
    std::memcpy(&ms, data, sizeof ms);
    // From Monday 2 March 2026, 00:00.
    const TDateTime now = *EncodeDate(2026, 3, 2) + (ms % kTwoWeeksMs) / 86400000.0;
    const LocaleFormats& f = fuzz::TestLocales()[data[4] % 3];
    const MemoryIni file = fuzz::ScheduleFileOf(fuzz::Bytes(data + 5, size - 5));
    const ScheduleClock clock = WallClock(now);

    const NextSchedule next = ComputeNextSchedule(clock, file, f);
    for (ScheduleDirection d : {ScheduleDirection::Off, ScheduleDirection::On}) {
        const ScheduledMoment& found = d == ScheduleDirection::Off ? next.off : next.on;
        std::optional<TDateTime> earliest;
        for (int day = 1; day <= 7; ++day)
            if (const auto m = NextOccurrence(clock, ReadScheduleDay(file, day), day, d, f))
                if (!earliest || *m < *earliest) earliest = m;
        ZELVAR_FUZZ_CHECK(found.Has == earliest.has_value());
        if (!found.Has) {
            ZELVAR_FUZZ_CHECK(found.Date == 0 && found.Time == 0);
            continue;
        }
        const TDateTime moment = ScheduledLocalMoment(found, f);
        const double ahead = clock.SecondsUntil(moment);
        ZELVAR_FUZZ_CHECK(ahead > 0 && ahead <= 7 * kSecondsPerDay + 0.001);
        ZELVAR_FUZZ_CHECK(moment == *earliest);
        // Its day is ticked for it, and its time is that day's.
        const ScheduleDay texts = ReadScheduleDay(file, IsoWeekday(found.Date));
        ZELVAR_FUZZ_CHECK(DateOf(found.Date) == found.Date);
        ZELVAR_FUZZ_CHECK(TickedForEngine(texts.Tick(d)) && ReadScheduleTime(texts.Time(d), f) == found.Time);
    }

    // The grid as the page paints it while the scheduler runs.
    const std::array<WeekGridRow, 7> grid = ReadWeekGrid(file);
    for (int column : {3, 4}) {
        const ScheduledMoment& moment = column == 3 ? next.off : next.on;
        const GridCellMark own = column == 3 ? GridCellMark::NextOff : GridCellMark::NextOn;
        int marked = 0;
        for (int row = 0; row <= 8; ++row) {
            const GridCellMark mark = WeekGridCellMark(column, row, now, next.off, next.on);
            if (mark == GridCellMark::None) continue;
            ZELVAR_FUZZ_CHECK(mark == own && moment.Has && row == IsoWeekday(moment.Date));
            // The marked cell shows a time: its day is ticked for the moment.
            ZELVAR_FUZZ_CHECK(!(column == 3 ? grid[row - 1].offText : grid[row - 1].onText).empty());
            ++marked;
        }
        // Marked unless the moment is today's time a week on.
        const bool aWeekOn = moment.Has && moment.Date == DateOf(now) + 7;
        ZELVAR_FUZZ_CHECK(marked == (moment.Has && !aWeekOn ? 1 : 0));
        // Other columns never mark.
        ZELVAR_FUZZ_CHECK(WeekGridCellMark(column == 3 ? 2 : 5, 1, now, next.off, next.on) == GridCellMark::None);
    }
    return 0;
}
