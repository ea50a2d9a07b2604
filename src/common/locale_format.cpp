#include "common/locale_format.h"

#include <climits>
#include <cwctype>
#include <vector>

namespace zelvar {
namespace {

// One element of a picture string: a run of the same pattern letter, or a literal.
struct Token {
    wchar_t letter = 0;  // 'd','M','y','g','h','H','m','s','t', or 0 for a literal
    int count = 0;
    std::wstring literal;
};

bool IsPatternLetter(wchar_t c) {
    return c == L'd' || c == L'M' || c == L'y' || c == L'g' || c == L'h' || c == L'H' || c == L'm' || c == L's' ||
           c == L't' || c == L'f';
}

std::vector<Token> Tokenize(const std::wstring& pattern) {
    std::vector<Token> tokens;
    auto addLiteral = [&tokens](wchar_t c) {
        if (tokens.empty() || tokens.back().letter != 0) tokens.push_back(Token{});
        tokens.back().literal.push_back(c);
    };
    for (size_t i = 0; i < pattern.size();) {
        const wchar_t c = pattern[i];
        if (c == L'\'') {  // quoted literal; '' inside quotes is a quote
            ++i;
            while (i < pattern.size()) {
                if (pattern[i] == L'\'') {
                    if (i + 1 < pattern.size() && pattern[i + 1] == L'\'') {
                        addLiteral(L'\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                addLiteral(pattern[i++]);
            }
        } else if (IsPatternLetter(c)) {
            Token t;
            t.letter = c;
            while (i < pattern.size() && pattern[i] == c) {
                ++t.count;
                ++i;
            }
            tokens.push_back(t);
        } else {
            addLiteral(c);
            ++i;
        }
    }
    return tokens;
}

std::wstring Padded(int value, int width) {
    std::wstring s = std::to_wstring(value);
    while (static_cast<int>(s.size()) < width) s.insert(s.begin(), L'0');
    return s;
}

const wchar_t* const kMonthNames[] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                      L"July",    L"August",   L"September", L"October", L"November", L"December"};
const wchar_t* const kDayNames[] = {L"Monday", L"Tuesday",  L"Wednesday", L"Thursday",
                                    L"Friday", L"Saturday", L"Sunday"};

bool EqualsNoCase(const std::wstring& a, size_t pos, const std::wstring& b) {
    if (b.empty() || pos + b.size() > a.size()) return false;
    for (size_t i = 0; i < b.size(); ++i)
        if (std::towlower(a[pos + i]) != std::towlower(b[i])) return false;
    return true;
}

struct Parsed {
    int year = -1, month = -1, day = -1;
    int hour = -1, minute = 0, second = 0;
    int ampm = -1;  // 0 am, 1 pm
    bool hour12 = false;
};

// Reads up to maxDigits digits (at least one). A number too large for an int
// fails the read: no field of a date or time holds one.
bool ReadNumber(const std::wstring& s, size_t& pos, int maxDigits, int& out) {
    int n = 0, digits = 0;
    bool tooLarge = false;
    while (pos < s.size() && digits < maxDigits && s[pos] >= L'0' && s[pos] <= L'9') {
        const int digit = s[pos] - L'0';
        if (n > (INT_MAX - digit) / 10) tooLarge = true;
        else n = n * 10 + digit;
        ++pos;
        ++digits;
    }
    if (digits == 0 || tooLarge) return false;
    out = n;
    return true;
}

bool ParseWithPattern(const std::wstring& text, const std::wstring& pattern, const LocaleFormats& f, Parsed& p) {
    size_t pos = 0;
    for (const Token& t : Tokenize(pattern)) {
        if (t.letter == 0) {
            // Literals match exactly; blanks match any run of blanks.
            for (wchar_t c : t.literal) {
                if (c == L' ') {
                    while (pos < text.size() && text[pos] == L' ') ++pos;
                    continue;
                }
                if (pos >= text.size() || text[pos] != c) return false;
                ++pos;
            }
            continue;
        }
        switch (t.letter) {
            case L'd':
                if (t.count >= 3) {  // a day name: skip letters
                    size_t start = pos;
                    while (pos < text.size() && std::iswalpha(text[pos])) ++pos;
                    if (pos == start) return false;
                } else if (!ReadNumber(text, pos, 2, p.day)) {
                    return false;
                }
                break;
            case L'M':
                if (t.count >= 3) {
                    bool found = false;
                    for (int m = 0; m < 12 && !found; ++m) {
                        std::wstring name = kMonthNames[m];
                        if (t.count == 3) name = name.substr(0, 3);
                        if (EqualsNoCase(text, pos, name)) {
                            p.month = m + 1;
                            pos += name.size();
                            found = true;
                        }
                    }
                    if (!found) return false;
                } else if (!ReadNumber(text, pos, 2, p.month)) {
                    return false;
                }
                break;
            case L'y': {
                size_t start = pos;
                int y = 0;
                if (!ReadNumber(text, pos, t.count <= 2 ? 2 : 4, y)) return false;
                if (pos - start <= 2 && t.count <= 2) y += y < 50 ? 2000 : 1900;  // two-digit years
                p.year = y;
                break;
            }
            case L'g':  // era: skip letters and dots
                while (pos < text.size() && (std::iswalpha(text[pos]) || text[pos] == L'.')) ++pos;
                break;
            case L'h':
            case L'H':
                if (!ReadNumber(text, pos, 2, p.hour)) return false;
                p.hour12 = t.letter == L'h';
                break;
            case L'm':
                if (!ReadNumber(text, pos, 2, p.minute)) return false;
                break;
            case L's':
                if (!ReadNumber(text, pos, 2, p.second)) return false;
                break;
            case L'f': {
                int ignored = 0;
                if (!ReadNumber(text, pos, t.count, ignored)) return false;
                break;
            }
            case L't': {
                // The longer designator first, so "PM" never matches as "P".
                std::wstring am = t.count == 1 ? f.am.substr(0, 1) : f.am;
                std::wstring pm = t.count == 1 ? f.pm.substr(0, 1) : f.pm;
                if (am.empty() && pm.empty()) break;
                if (!pm.empty() && EqualsNoCase(text, pos, pm) &&
                    (pm.size() >= am.size() || !EqualsNoCase(text, pos, am))) {
                    p.ampm = 1;
                    pos += pm.size();
                } else if (!am.empty() && EqualsNoCase(text, pos, am)) {
                    p.ampm = 0;
                    pos += am.size();
                } else {
                    return false;
                }
                break;
            }
        }
    }
    while (pos < text.size() && text[pos] == L' ') ++pos;
    return pos == text.size();
}

std::optional<int> Hour24(const Parsed& p) {
    if (p.hour < 0) return std::nullopt;
    if (!p.hour12 && p.ampm < 0) return p.hour;
    if (p.hour12 || p.ampm >= 0) {
        if (p.ampm < 0) return p.hour12 ? (p.hour == 12 ? 12 : p.hour) : p.hour;
        if (p.hour < 1 || p.hour > 12) return p.hour12 ? std::nullopt : std::optional<int>(p.hour);
        return (p.hour % 12) + (p.ampm == 1 ? 12 : 0);
    }
    return p.hour;
}

}  // namespace

LocaleFormats RussianFormats() { return {L"dd.MM.yyyy", L"H:mm:ss", L"", L"", L"H:mm"}; }
LocaleFormats UsEnglishFormats() { return {L"M/d/yyyy", L"h:mm:ss tt", L"AM", L"PM", L"h:mm tt"}; }
LocaleFormats GermanFormats() { return {L"dd.MM.yyyy", L"HH:mm:ss", L"", L"", L"HH:mm"}; }

std::wstring FormatWithPattern(TDateTime value, const std::wstring& pattern, const LocaleFormats& f) {
    const DateTimeFields v = DecodeDateTime(value);
    std::wstring out;
    for (const Token& t : Tokenize(pattern)) {
        switch (t.letter) {
            case 0: out += t.literal; break;
            case L'd':
                if (t.count >= 4) out += kDayNames[IsoWeekday(value) - 1];
                else if (t.count == 3) out += std::wstring(kDayNames[IsoWeekday(value) - 1]).substr(0, 3);
                else out += Padded(v.day, t.count);
                break;
            case L'M':
                if (t.count >= 4) out += kMonthNames[v.month - 1];
                else if (t.count == 3) out += std::wstring(kMonthNames[v.month - 1]).substr(0, 3);
                else out += Padded(v.month, t.count);
                break;
            case L'y':
                if (t.count <= 2) out += Padded(v.year % 100, t.count);
                else out += Padded(v.year, t.count == 3 ? 4 : t.count);
                break;
            case L'g': out += L"A.D."; break;
            case L'h': out += Padded(v.hour % 12 == 0 ? 12 : v.hour % 12, t.count); break;
            case L'H': out += Padded(v.hour, t.count); break;
            case L'm': out += Padded(v.minute, t.count); break;
            case L's': out += Padded(v.second, t.count); break;
            case L'f': out += Padded(v.millisecond, 3).substr(0, t.count > 3 ? 3 : t.count); break;
            case L't': {
                const std::wstring& d = v.hour < 12 ? f.am : f.pm;
                out += t.count == 1 ? d.substr(0, 1) : d;
                break;
            }
        }
    }
    return out;
}

std::wstring FormatDate(TDateTime value, const LocaleFormats& f) { return FormatWithPattern(value, f.shortDate, f); }
std::wstring FormatTime(TDateTime value, const LocaleFormats& f) { return FormatWithPattern(value, f.longTime, f); }
std::wstring FormatShortTime(TDateTime value, const LocaleFormats& f) {
    return FormatWithPattern(value, f.shortTime, f);
}
std::wstring FormatDateTime(TDateTime value, const LocaleFormats& f) {
    return FormatDate(value, f) + L" " + FormatTime(value, f);
}

std::optional<TDateTime> ParseDate(const std::wstring& text, const LocaleFormats& f) {
    Parsed p;
    if (!ParseWithPattern(text, f.shortDate, f, p)) return std::nullopt;
    return EncodeDate(p.year, p.month, p.day);
}

std::optional<TDateTime> ParseTime(const std::wstring& text, const LocaleFormats& f) {
    Parsed p;
    if (!ParseWithPattern(text, f.longTime, f, p)) return std::nullopt;
    auto h = Hour24(p);
    if (!h) return std::nullopt;
    return EncodeTime(*h, p.minute, p.second);
}

std::optional<TDateTime> ParseDateTime(const std::wstring& text, const LocaleFormats& f) {
    Parsed p;
    if (!ParseWithPattern(text, f.shortDate + L" " + f.longTime, f, p)) return std::nullopt;
    auto h = Hour24(p);
    if (!h) return std::nullopt;
    return EncodeDateTime({p.year, p.month, p.day, *h, p.minute, p.second, 0});
}

std::optional<TDateTime> ComposeMoment(TDateTime date, TDateTime timeOfDay, const LocaleFormats& f) {
    return ParseDateTime(FormatDate(date, f) + L" " + FormatTime(timeOfDay, f), f);
}

}  // namespace zelvar

namespace zelvar {

TDateTime MomentOf(TDateTime date, TDateTime timeOfDay, const LocaleFormats& f) {
    if (auto moment = ComposeMoment(date, timeOfDay, f)) return *moment;
    return WholeSeconds(CombineDateAndTime(date, timeOfDay));
}

}  // namespace zelvar
