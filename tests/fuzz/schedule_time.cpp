// Time texts of scheduler.ini under each test locale and under formats made
// of the input itself: whatever reads is a time of day in whole seconds, and
// under the test locales a time any of them wrote reads back in every one.
#include <cstdint>

#include "schedule_input.h"
#include "scheduler/schedule_time.h"

using namespace zelvar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    // Line 1 the text; lines 2 to 4, when there, a long time pattern and the
    // designators of a locale of their own.
    const std::vector<std::string_view> lines = fuzz::Lines(fuzz::Bytes(data, size), 4);
    const std::wstring text = fuzz::Text(lines[0]);
    const LocaleFormats* locales = fuzz::TestLocales();

    for (int l = 0; l < 3; ++l) {
        const LocaleFormats& f = locales[l];
        const std::optional<TDateTime> t = ReadScheduleTime(text, f);
        for (ScheduleDirection d : {ScheduleDirection::Off, ScheduleDirection::On}) {
            const TDateTime shown = EditorScheduleTime(text, d, f);
            ZELVAR_FUZZ_CHECK(shown == t.value_or(DefaultScheduleTime(d)));
        }
        if (!t) continue;
        ZELVAR_FUZZ_CHECK(*t >= 0 && *t < 1 && WholeSeconds(*t) == *t);
        for (int w = 0; w < 3; ++w) ZELVAR_FUZZ_CHECK(ReadScheduleTime(ScheduleTimeText(*t, locales[w]), f) == t);
    }

    if (lines.size() == 4) {
        LocaleFormats own;
        own.longTime = fuzz::Text(lines[1]);
        own.am = fuzz::Text(lines[2]);
        own.pm = fuzz::Text(lines[3]);
        // Its own pattern comes first and may read another locale's text
        // its own way; what it reads is still a time of day.
        if (const std::optional<TDateTime> t = ReadScheduleTime(text, own)) {
            ZELVAR_FUZZ_CHECK(*t >= 0 && *t < 1 && WholeSeconds(*t) == *t);
            ScheduleTimeText(*t, own);
        }
        const TDateTime shown = EditorScheduleTime(text, ScheduleDirection::On, own);
        ZELVAR_FUZZ_CHECK(shown >= 0 && shown < 1);
    }
    return 0;
}
