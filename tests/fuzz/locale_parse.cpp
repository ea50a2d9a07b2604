// Dates, times and moments as typed or stored, read with each of the three
// locales' patterns; whatever reads is written and read back unchanged.
#include <cstdint>

#include "common/locale_format.h"
#include "fuzz_input.h"

using namespace zelvar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const LocaleFormats kLocales[] = {RussianFormats(), UsEnglishFormats(), GermanFormats()};
    const std::wstring text = fuzz::Text(fuzz::Bytes(data, size));
    for (const LocaleFormats& f : kLocales) {
        if (const auto date = ParseDate(text, f)) {
            ZELVAR_FUZZ_CHECK(DateOf(*date) == *date);
            ZELVAR_FUZZ_CHECK(ParseDate(FormatDate(*date, f), f) == date);
        }
        if (const auto time = ParseTime(text, f)) {
            ZELVAR_FUZZ_CHECK(*time >= 0 && *time < 1);
            ZELVAR_FUZZ_CHECK(ParseTime(FormatTime(*time, f), f) == time);
        }
        if (const auto moment = ParseDateTime(text, f)) {
            ZELVAR_FUZZ_CHECK(WholeSeconds(*moment) == *moment);
            ZELVAR_FUZZ_CHECK(ParseDateTime(FormatDateTime(*moment, f), f) == moment);
            ZELVAR_FUZZ_CHECK(ComposeMoment(*moment, *moment, f) == moment);
        }
    }
    return 0;
}
