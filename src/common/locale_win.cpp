#include "common/locale_win.h"

#include "common/datetime_win.h"

#include <windows.h>

namespace zelvar {
namespace {

std::wstring LocaleValue(LCTYPE type, const wchar_t* fallback) {
    wchar_t buf[128] = {};
    int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 128);
    return n > 1 ? std::wstring(buf, n - 1) : std::wstring(fallback);
}

}  // namespace

LocaleFormats ReadUserLocaleFormats() {
    LocaleFormats f;
    f.shortDate = LocaleValue(LOCALE_SSHORTDATE, L"dd.MM.yyyy");
    f.longTime = LocaleValue(LOCALE_STIMEFORMAT, L"HH:mm:ss");
    f.am = LocaleValue(LOCALE_S1159, L"");
    f.pm = LocaleValue(LOCALE_S2359, L"");
    f.shortTime = LocaleValue(LOCALE_SSHORTTIME, L"HH:mm");
    return f;
}

TDateTime NowLocal() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return *FromSystemTime(st);
}

}  // namespace zelvar
