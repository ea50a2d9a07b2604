// Any double as a date-time value: its calendar fields always exist, and what
// is built on them (date, time of day, weekday, text, distances) stays in range.
#include <cstdint>

#include "common/locale_format.h"
#include "fuzz_input.h"

using namespace zelvar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::vector<double> values = fuzz::Doubles(fuzz::Bytes(data, size));
    for (size_t i = 0; i < values.size(); ++i) {
        const double v = values[i];
        const DateTimeFields f = DecodeDateTime(v);
        ZELVAR_FUZZ_CHECK(IsValidDate(f.year, f.month, f.day));
        ZELVAR_FUZZ_CHECK(IsValidTime(f.hour, f.minute, f.second, f.millisecond));
        ZELVAR_FUZZ_CHECK(EncodeDateTime(f).has_value());
        const TDateTime time = TimeOf(v);
        ZELVAR_FUZZ_CHECK(time >= 0 && time < 1);
        DateOf(v);
        const int weekday = IsoWeekday(v);
        ZELVAR_FUZZ_CHECK(weekday >= 1 && weekday <= 7);
        const int seconds = SecondsOfDay(v);
        ZELVAR_FUZZ_CHECK(seconds >= 0 && seconds < 86400);
        // The text of a value reads back as the value without its milliseconds.
        const LocaleFormats ru = RussianFormats();
        ZELVAR_FUZZ_CHECK(ParseDateTime(FormatDateTime(v, ru), ru) == WholeSeconds(v));
        if (i > 0) {
            const DateTimeFields c = DecodeDateTime(CombineDateAndTime(values[i - 1], v));
            ZELVAR_FUZZ_CHECK(IsValidDate(c.year, c.month, c.day));
            // A distance exists between any two values and is never negative.
            const std::int64_t apart = SecondsBetween(values[i - 1], v);
            ZELVAR_FUZZ_CHECK(apart >= 0 && apart == SecondsBetween(v, values[i - 1]));
        }
    }
    return 0;
}
