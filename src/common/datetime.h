#pragma once
// Local date-time values as the program keeps them: a day count since
// 30 December 1899, the time of day as the fraction.
#include <cstdint>
#include <optional>

namespace zelvar {

using TDateTime = double;

struct DateTimeFields {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    friend bool operator==(const DateTimeFields&, const DateTimeFields&) = default;
};

constexpr double kSecondsPerDay = 86400.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidDate(int year, int month, int day);
bool IsValidTime(int hour, int minute, int second, int millisecond = 0);

// Whole days of a calendar date; nullopt when the date does not exist.
std::optional<TDateTime> EncodeDate(int year, int month, int day);
// The fraction of a day for a time of day; nullopt when out of range.
std::optional<TDateTime> EncodeTime(int hour, int minute, int second, int millisecond = 0);
std::optional<TDateTime> EncodeDateTime(const DateTimeFields& f);
// Calendar fields of a value, the time rounded to the nearest millisecond.
DateTimeFields DecodeDateTime(TDateTime value);

TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);
// The date of one value with the time of day of another.
TDateTime CombineDateAndTime(TDateTime date, TDateTime timeOfDay);
// The same moment with the milliseconds dropped.
TDateTime WholeSeconds(TDateTime value);

// ISO weekday: 1 Monday ... 7 Sunday.
int IsoWeekday(TDateTime value);
// hours * 3600 + minutes * 60 + seconds of the time of day, milliseconds dropped.
int SecondsOfDay(TDateTime value);
// |now - moment| in whole seconds, rounded to nearest, halves to even.
std::int64_t SecondsBetween(TDateTime now, TDateTime moment);

}  // namespace zelvar
