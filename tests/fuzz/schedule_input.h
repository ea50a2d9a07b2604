#pragma once
// The schedule targets' view of their bytes: scheduler.ini's 28 values, one
// input line per key in the order the readers use (day 1 off tick, off time,
// wake tick, wake time, then day 2 ...). A line of the single byte 0x7F
// leaves its key out; keys past the last line are missing as well.
#include <string_view>

#include "common/ini.h"
#include "common/locale_format.h"
#include "fuzz_input.h"
#include "scheduler/schedule_file.h"

namespace zelvar::fuzz {

inline constexpr size_t kScheduleKeys = 28;

// Key i of the file: day i / 4 + 1, the four keys of a day in reader order.
inline std::wstring ScheduleKey(size_t i) {
    const int day = static_cast<int>(i / 4) + 1;
    const ScheduleDirection d = (i % 4) < 2 ? ScheduleDirection::Off : ScheduleDirection::On;
    return i % 2 == 0 ? ScheduleTickKey(d, day) : ScheduleTimeKey(d, day);
}

inline MemoryIni ScheduleFileOf(std::string_view bytes) {
    MemoryIni ini;
    const std::vector<std::string_view> lines = Lines(bytes, kScheduleKeys);
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] != "\x7F") ini.Write(kScheduleSection, ScheduleKey(i), Text(lines[i]));
    return ini;
}

// The three regional formats the program is tested under.
inline const LocaleFormats* TestLocales() {
    static const LocaleFormats locales[3] = {RussianFormats(), UsEnglishFormats(), GermanFormats()};
    return locales;
}

}  // namespace zelvar::fuzz
