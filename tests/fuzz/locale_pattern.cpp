// The locale's own picture strings fuzzed too: short date, long time, the two
// designators, then texts to read, one per line. Nothing may crash or hang.
#include <cstdint>

#include "common/locale_format.h"
#include "fuzz_input.h"

using namespace zelvar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::vector<std::string_view> lines = fuzz::Lines(fuzz::Bytes(data, size), 8);
    auto line = [&lines](size_t i) { return i < lines.size() ? fuzz::Text(lines[i]) : std::wstring(); };
    const LocaleFormats f{line(0), line(1), line(2), line(3)};

    for (size_t i = 4; i < lines.size(); ++i) {
        const std::wstring text = line(i);
        if (const auto date = ParseDate(text, f)) FormatDate(*date, f);
        if (const auto time = ParseTime(text, f)) FormatTime(*time, f);
        if (const auto moment = ParseDateTime(text, f)) FormatDateTime(*moment, f);
    }
    // Writing and reading back the ends of the calendar, a day of today and a
    // value beyond any calendar.
    for (const TDateTime value : {-693593.0, 2958465.99998843, 46363.75, 1e20}) ComposeMoment(value, value, f);
    return 0;
}
