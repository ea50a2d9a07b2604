#include "scheduler/schedule_time.h"

namespace zelvar {

std::optional<TDateTime> ReadScheduleTime(const std::wstring& text, const LocaleFormats& formats) {
    if (auto t = ParseTime(text, formats)) return t;
    // The forms other regional settings write: a 24-hour clock (with or
    // without the leading zero), or a 12-hour one with its designators.
    LocaleFormats other = formats;
    other.longTime = L"H:mm:ss";
    if (auto t = ParseTime(text, other)) return t;
    other.longTime = L"h:mm:ss tt";
    if (!formats.am.empty() && !formats.pm.empty())
        if (auto t = ParseTime(text, other)) return t;
    other.am = L"AM";
    other.pm = L"PM";
    return ParseTime(text, other);
}

std::wstring ScheduleTimeText(TDateTime timeOfDay, const LocaleFormats& formats) {
    return FormatTime(timeOfDay, formats);
}

TDateTime DefaultScheduleTime(ScheduleDirection direction) {
    return *EncodeTime(direction == ScheduleDirection::Off ? 8 : 20, 0, 0);
}

TDateTime EditorScheduleTime(const std::wstring& text, ScheduleDirection direction, const LocaleFormats& formats) {
    return ReadScheduleTime(text, formats).value_or(DefaultScheduleTime(direction));
}

DayEditorState LoadEditorDay(const IniStore& ini, int day, const LocaleFormats& formats) {
    const ScheduleDay d = ReadScheduleDay(ini, day);
    DayEditorState e;
    e.offTicked = TickedForEditor(d.offTick);
    e.offTime = EditorScheduleTime(d.offTime, ScheduleDirection::Off, formats);
    e.onTicked = TickedForEditor(d.onTick);
    e.onTime = EditorScheduleTime(d.onTime, ScheduleDirection::On, formats);
    return e;
}

ScheduleWriteResult SaveEditorDay(IniStore& ini, int day, const DayEditorState& editor, const LocaleFormats& formats) {
    ScheduleDay texts;
    texts.offTick = editor.offTicked ? L"1" : L"0";
    texts.offTime = ScheduleTimeText(editor.offTime, formats);
    texts.onTick = editor.onTicked ? L"1" : L"0";
    texts.onTime = ScheduleTimeText(editor.onTime, formats);
    return WriteScheduleDay(ini, day, texts);
}

}  // namespace zelvar
