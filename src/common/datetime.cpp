#include "common/datetime.h"

#include <algorithm>
#include <cmath>

namespace zelvar {
namespace {

// Days from 0001-01-01 (proleptic Gregorian) to 1899-12-30.
constexpr std::int64_t kEpochOffset = 693593;

std::int64_t DaysFromCivil(int y, int m, int d) {
    // Days since 0001-01-01 of a proleptic Gregorian date.
    std::int64_t yy = y - 1;
    std::int64_t days = yy * 365 + yy / 4 - yy / 100 + yy / 400;
    static const int kCum[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    days += kCum[m - 1] + (m > 2 && IsLeapYear(y) ? 1 : 0);
    return days + d - 1;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
    // Inverse of DaysFromCivil, via the March-based era algorithm.
    z += 306;  // shift 0001-01-01 to 0000-03-01 based count
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t year = yoe + era * 400;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    if (m <= 2) ++year;
    y = static_cast<int>(year);
}

// The calendar's ends: 0001-01-01 and 9999-12-31.
constexpr std::int64_t kFirstDay = -693593;
constexpr std::int64_t kLastDay = 2958465;
constexpr std::int64_t kMsPerDay = 86400000;
constexpr std::int64_t kFirstMs = kFirstDay * kMsPerDay;
constexpr std::int64_t kLastMs = (kLastDay + 1) * kMsPerDay - 1;

// Milliseconds of a value, counted from 1899-12-30 00:00 on a straight line
// (for negative values the fraction still counts forward from midnight).
// A value outside the years 1 to 9999 has no calendar fields: it counts as
// the nearest end of that range, and NaN as the first moment, so nothing
// built on the fields ever sees a date that does not exist.
std::int64_t TotalMilliseconds(TDateTime value) {
    if (!(value > static_cast<double>(kFirstDay - 1))) return kFirstMs;  // also NaN
    if (value >= static_cast<double>(kLastDay + 1)) return kLastMs;
    const double days = std::floor(value);
    double frac = value - days;
    std::int64_t ms;
    if (value < 0 && value != days) {
        // Delphi-style negative values: -1.25 is 29 Dec 1899 06:00.
        const double whole = std::ceil(value);
        frac = whole - value;
        ms = static_cast<std::int64_t>(whole) * kMsPerDay + std::llround(frac * 86400000.0);
    } else {
        ms = static_cast<std::int64_t>(days) * kMsPerDay + std::llround(frac * 86400000.0);
    }
    return std::clamp(ms, kFirstMs, kLastMs);  // rounding to milliseconds may step over an end
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

bool IsValidTime(int hour, int minute, int second, int millisecond) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 && millisecond >= 0 &&
           millisecond < 1000;
}

std::optional<TDateTime> EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) return std::nullopt;
    return static_cast<TDateTime>(DaysFromCivil(year, month, day) - kEpochOffset);
}

std::optional<TDateTime> EncodeTime(int hour, int minute, int second, int millisecond) {
    if (!IsValidTime(hour, minute, second, millisecond)) return std::nullopt;
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / 86400000.0;
}

std::optional<TDateTime> EncodeDateTime(const DateTimeFields& f) {
    auto date = EncodeDate(f.year, f.month, f.day);
    auto time = EncodeTime(f.hour, f.minute, f.second, f.millisecond);
    if (!date || !time) return std::nullopt;
    return CombineDateAndTime(*date, *time);
}

DateTimeFields DecodeDateTime(TDateTime value) {
    std::int64_t ms = TotalMilliseconds(value);
    std::int64_t days = ms / 86400000LL;
    std::int64_t msOfDay = ms % 86400000LL;
    if (msOfDay < 0) {  // only reachable for values before the epoch
        msOfDay += 86400000LL;
        days -= 1;
    }
    DateTimeFields f;
    CivilFromDays(days + kEpochOffset, f.year, f.month, f.day);
    f.hour = static_cast<int>(msOfDay / 3600000);
    f.minute = static_cast<int>(msOfDay / 60000 % 60);
    f.second = static_cast<int>(msOfDay / 1000 % 60);
    f.millisecond = static_cast<int>(msOfDay % 1000);
    return f;
}

TDateTime DateOf(TDateTime value) {
    const DateTimeFields f = DecodeDateTime(value);
    return *EncodeDate(f.year, f.month, f.day);
}

TDateTime TimeOf(TDateTime value) {
    const DateTimeFields f = DecodeDateTime(value);
    return *EncodeTime(f.hour, f.minute, f.second, f.millisecond);
}

TDateTime CombineDateAndTime(TDateTime date, TDateTime timeOfDay) {
    const TDateTime d = DateOf(date);
    const TDateTime t = TimeOf(timeOfDay);
    // Before the epoch the fraction counts away from zero.
    return d >= 0 ? d + t : d - t;
}

TDateTime WholeSeconds(TDateTime value) {
    DateTimeFields f = DecodeDateTime(value);
    f.millisecond = 0;
    return *EncodeDateTime(f);
}

int IsoWeekday(TDateTime value) {
    // 30 Dec 1899 was a Saturday (ISO 6).
    const std::int64_t days = TotalMilliseconds(DateOf(value)) / 86400000LL;
    const std::int64_t r = ((days + 5) % 7 + 7) % 7;  // 0 = Monday
    return static_cast<int>(r) + 1;
}

int SecondsOfDay(TDateTime value) {
    const DateTimeFields f = DecodeDateTime(value);
    return f.hour * 3600 + f.minute * 60 + f.second;
}

std::int64_t SecondsBetween(TDateTime now, TDateTime moment) {
    // No two moments of the calendar lie farther apart than its whole span;
    // a distance beyond it (huge values, infinities) or none at all (NaN)
    // counts as that span, so a damaged moment reads as far away, never as
    // now, and callers can still count it in 100-nanosecond units.
    constexpr double kLongest = static_cast<double>((kLastDay + 1 - kFirstDay) * 86400);
    const double seconds = std::fabs(now - moment) * kSecondsPerDay;
    if (!(seconds < kLongest)) return static_cast<std::int64_t>(kLongest);
    return static_cast<std::int64_t>(std::nearbyint(seconds));  // default mode: halves to even
}

}  // namespace zelvar
