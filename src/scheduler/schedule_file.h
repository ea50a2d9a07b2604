#pragma once
// scheduler.ini: section Week, four keys per weekday (1 Monday ... 7 Sunday).
// Every reader and writer goes through the INI seam and keeps nothing: the
// file is the schedule.
#include <array>
#include <string>

#include "common/ini.h"

namespace zelvar {

inline constexpr wchar_t kScheduleSection[] = L"Week";

// The digit after "check"/"time" in the key names: 1 power-off, 2 wake.
enum class ScheduleDirection { Off = 1, On = 2 };

inline constexpr wchar_t kDefaultTickText[] = L"0";
inline constexpr wchar_t kDefaultOffTimeText[] = L"08:00:00";
inline constexpr wchar_t kDefaultOnTimeText[] = L"20:00:00";

// Weekday numbers 1 ... 7; anything else is no day of the file.
bool IsScheduleDay(int day);
// "off_check1_3", "off_check2_3": the tick key of a direction on a day.
std::wstring ScheduleTickKey(ScheduleDirection direction, int day);
// "off_time1_3", "off_time2_3": the time key of a direction on a day.
std::wstring ScheduleTimeKey(ScheduleDirection direction, int day);
// "08:00:00" for the power-off, "20:00:00" for the wake.
const wchar_t* DefaultScheduleTimeText(ScheduleDirection direction);

// The four texts of one day as the file holds them, defaults for missing keys.
struct ScheduleDay {
    std::wstring offTick = kDefaultTickText;
    std::wstring offTime = kDefaultOffTimeText;
    std::wstring onTick = kDefaultTickText;
    std::wstring onTime = kDefaultOnTimeText;

    const std::wstring& Tick(ScheduleDirection d) const { return d == ScheduleDirection::Off ? offTick : onTick; }
    const std::wstring& Time(ScheduleDirection d) const { return d == ScheduleDirection::Off ? offTime : onTime; }
    friend bool operator==(const ScheduleDay&, const ScheduleDay&) = default;
};

// Reads off_check1_, off_time1_, off_check2_, off_time2_ of the day, in that
// order. A day outside 1 ... 7 reads as the defaults, without touching the file.
ScheduleDay ReadScheduleDay(const IniStore& ini, int day);

// The engine and the week grid count a direction as ticked only for exactly "1".
bool TickedForEngine(const std::wstring& tickText);
// The day editor shows a direction unticked only for exactly "0".
bool TickedForEditor(const std::wstring& tickText);

// The outcome of a run of writes; they stop at the first that fails, and the
// keys written before it stay written.
struct ScheduleWriteResult {
    bool ok = true;
    std::wstring failedKey;  // the key whose write failed; empty when nothing was tried
    explicit operator bool() const { return ok; }
};

// Writes the four texts of a day in the order the readers use. A day outside
// 1 ... 7 writes nothing and fails.
ScheduleWriteResult WriteScheduleDay(IniStore& ini, int day, const ScheduleDay& texts);

// The copy dialog's apply: for every ticked weekday (index 0 Monday ... 6
// Sunday) the direction's tick as "1" and its time as timeText, day by day.
// Days not ticked keep what they had; nothing is set to "0". A direction text
// other than exactly "off" or "on" writes nothing (and is no failure).
ScheduleWriteResult CopyTimeToDays(IniStore& ini, const std::array<bool, 7>& days, const std::wstring& direction,
                                   const std::wstring& timeText);

// The week grid's two cells of a day: the stored time text when its tick is
// exactly "1", else empty.
struct WeekGridRow {
    std::wstring offText;
    std::wstring onText;
    friend bool operator==(const WeekGridRow&, const WeekGridRow&) = default;
};
WeekGridRow WeekGridCells(const ScheduleDay& day);
// Rows of days 1 ... 7 (index 0 Monday).
std::array<WeekGridRow, 7> ReadWeekGrid(const IniStore& ini);

}  // namespace zelvar
