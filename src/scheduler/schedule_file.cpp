#include "scheduler/schedule_file.h"

namespace zelvar {
namespace {

std::wstring Key(const wchar_t* prefix, ScheduleDirection direction, int day) {
    return prefix + std::to_wstring(static_cast<int>(direction)) + L"_" + std::to_wstring(day);
}

// Writes in order, stopping at the first failure.
class WriteRun {
public:
    explicit WriteRun(IniStore& ini) : ini_(ini) {}
    bool Write(const std::wstring& key, const std::wstring& value) {
        if (!result_.ok) return false;
        if (!ini_.Write(kScheduleSection, key, value)) {
            result_.ok = false;
            result_.failedKey = key;
        }
        return result_.ok;
    }
    const ScheduleWriteResult& Result() const { return result_; }

private:
    IniStore& ini_;
    ScheduleWriteResult result_;
};

}  // namespace

bool IsScheduleDay(int day) { return day >= 1 && day <= 7; }

std::wstring ScheduleTickKey(ScheduleDirection direction, int day) { return Key(L"off_check", direction, day); }
std::wstring ScheduleTimeKey(ScheduleDirection direction, int day) { return Key(L"off_time", direction, day); }

const wchar_t* DefaultScheduleTimeText(ScheduleDirection direction) {
    return direction == ScheduleDirection::Off ? kDefaultOffTimeText : kDefaultOnTimeText;
}

ScheduleDay ReadScheduleDay(const IniStore& ini, int day) {
    ScheduleDay d;
    if (!IsScheduleDay(day)) return d;
    d.offTick = ini.Read(kScheduleSection, ScheduleTickKey(ScheduleDirection::Off, day), kDefaultTickText);
    d.offTime = ini.Read(kScheduleSection, ScheduleTimeKey(ScheduleDirection::Off, day), kDefaultOffTimeText);
    d.onTick = ini.Read(kScheduleSection, ScheduleTickKey(ScheduleDirection::On, day), kDefaultTickText);
    d.onTime = ini.Read(kScheduleSection, ScheduleTimeKey(ScheduleDirection::On, day), kDefaultOnTimeText);
    return d;
}

bool TickedForEngine(const std::wstring& tickText) { return tickText == L"1"; }
bool TickedForEditor(const std::wstring& tickText) { return tickText != L"0"; }

ScheduleWriteResult WriteScheduleDay(IniStore& ini, int day, const ScheduleDay& texts) {
    if (!IsScheduleDay(day)) return {false, L""};
    WriteRun run(ini);
    run.Write(ScheduleTickKey(ScheduleDirection::Off, day), texts.offTick) &&
        run.Write(ScheduleTimeKey(ScheduleDirection::Off, day), texts.offTime) &&
        run.Write(ScheduleTickKey(ScheduleDirection::On, day), texts.onTick) &&
        run.Write(ScheduleTimeKey(ScheduleDirection::On, day), texts.onTime);
    return run.Result();
}

ScheduleWriteResult CopyTimeToDays(IniStore& ini, const std::array<bool, 7>& days, const std::wstring& direction,
                                   const std::wstring& timeText) {
    ScheduleDirection d;
    if (direction == L"off") d = ScheduleDirection::Off;
    else if (direction == L"on") d = ScheduleDirection::On;
    else return {};
    WriteRun run(ini);
    for (int day = 1; day <= 7; ++day) {
        if (!days[day - 1]) continue;
        if (!run.Write(ScheduleTickKey(d, day), L"1") || !run.Write(ScheduleTimeKey(d, day), timeText)) break;
    }
    return run.Result();
}

WeekGridRow WeekGridCells(const ScheduleDay& day) {
    WeekGridRow row;
    if (TickedForEngine(day.offTick)) row.offText = day.offTime;
    if (TickedForEngine(day.onTick)) row.onText = day.onTime;
    return row;
}

std::array<WeekGridRow, 7> ReadWeekGrid(const IniStore& ini) {
    std::array<WeekGridRow, 7> rows;
    for (int day = 1; day <= 7; ++day) rows[day - 1] = WeekGridCells(ReadScheduleDay(ini, day));
    return rows;
}

}  // namespace zelvar
