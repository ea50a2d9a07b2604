#pragma once
// Dates and times as the user's locale writes them. The patterns are the
// Windows picture strings (short date "dd.MM.yyyy", long time "h:mm:ss tt"),
// passed in so the same code serves every locale and the tests.
#include <optional>
#include <string>

#include "common/datetime.h"

namespace zelvar {

struct LocaleFormats {
    std::wstring shortDate = L"dd.MM.yyyy";
    std::wstring longTime = L"HH:mm:ss";
    std::wstring am = L"AM";
    std::wstring pm = L"PM";
    // Hours and minutes only ("H:mm", "h:mm tt"), for short notices such as
    // the tray icon's tooltip.
    std::wstring shortTime = L"HH:mm";
};

// Some ready-made formats, the ones the tests use most.
LocaleFormats RussianFormats();
LocaleFormats UsEnglishFormats();
LocaleFormats GermanFormats();

std::wstring FormatDate(TDateTime value, const LocaleFormats& f);
std::wstring FormatTime(TDateTime value, const LocaleFormats& f);
// The time in the short time pattern.
std::wstring FormatShortTime(TDateTime value, const LocaleFormats& f);
// The date, one blank, the time.
std::wstring FormatDateTime(TDateTime value, const LocaleFormats& f);

// Formats a value with any picture string (date and time elements mixed).
std::wstring FormatWithPattern(TDateTime value, const std::wstring& pattern, const LocaleFormats& f);

std::optional<TDateTime> ParseDate(const std::wstring& text, const LocaleFormats& f);
std::optional<TDateTime> ParseTime(const std::wstring& text, const LocaleFormats& f);
// "date blank time" as FormatDateTime writes it.
std::optional<TDateTime> ParseDateTime(const std::wstring& text, const LocaleFormats& f);

// A moment put together from the date of one value and the time of day of
// another by writing it as text and reading it back, so it has whole seconds
// exactly as the locale shows them. nullopt when the text does not read back.
std::optional<TDateTime> ComposeMoment(TDateTime date, TDateTime timeOfDay, const LocaleFormats& f);
// The moment the program means by a date and a time of day: as ComposeMoment,
// or, for a locale whose text does not read back, the two joined directly
// with the milliseconds dropped.
TDateTime MomentOf(TDateTime date, TDateTime timeOfDay, const LocaleFormats& f);

}  // namespace zelvar
