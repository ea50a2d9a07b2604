#pragma once
// Time texts of scheduler.ini, and the day editor's view of a day. The file
// keeps times as the user's locale wrote them; a file written under another
// regional format must still read.
#include <optional>
#include <string>

#include "common/ini.h"
#include "common/locale_format.h"
#include "scheduler/schedule_file.h"

namespace zelvar {

// A stored time text as a time of day (whole seconds): the locale's long time
// format first, then 24-hour "H:mm:ss", then "h:mm:ss tt" with the locale's
// designators and with "AM"/"PM". nullopt when none of them reads it.
std::optional<TDateTime> ReadScheduleTime(const std::wstring& text, const LocaleFormats& formats);
// A time of day as the file keeps it: the locale's long time format.
std::wstring ScheduleTimeText(TDateTime timeOfDay, const LocaleFormats& formats);

// 08:00:00 for the power-off, 20:00:00 for the wake.
TDateTime DefaultScheduleTime(ScheduleDirection direction);
// The editor's time for a stored text: the text read as a time, or the key's
// default when it does not read.
TDateTime EditorScheduleTime(const std::wstring& text, ScheduleDirection direction, const LocaleFormats& formats);

// What the day editor shows: CheckBox8 with DateTimePicker5, CheckBox9 with
// DateTimePicker6.
struct DayEditorState {
    bool offTicked = false;
    TDateTime offTime = 0;
    bool onTicked = false;
    TDateTime onTime = 0;
    friend bool operator==(const DayEditorState&, const DayEditorState&) = default;
};

// A day of the file as the editor shows it: a tick unless exactly "0", a time
// that does not read shows as its key's default. A day outside 1 ... 7 shows
// the defaults.
DayEditorState LoadEditorDay(const IniStore& ini, int day, const LocaleFormats& formats);
// Saves the editor as the day: ticks as "1"/"0", both times in the locale's
// format whether ticked or not, in the file's order, stopping at the first
// failed write.
ScheduleWriteResult SaveEditorDay(IniStore& ini, int day, const DayEditorState& editor, const LocaleFormats& formats);

}  // namespace zelvar
