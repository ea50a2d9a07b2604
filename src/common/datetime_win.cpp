#include "common/datetime_win.h"

namespace zelvar {

SYSTEMTIME ToSystemTime(TDateTime value) {
    const DateTimeFields f = DecodeDateTime(value);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(f.year);
    st.wMonth = static_cast<WORD>(f.month);
    st.wDay = static_cast<WORD>(f.day);
    st.wDayOfWeek = static_cast<WORD>(IsoWeekday(value) % 7);
    st.wHour = static_cast<WORD>(f.hour);
    st.wMinute = static_cast<WORD>(f.minute);
    st.wSecond = static_cast<WORD>(f.second);
    st.wMilliseconds = static_cast<WORD>(f.millisecond);
    return st;
}

std::optional<TDateTime> FromSystemTime(const SYSTEMTIME& t) {
    return EncodeDateTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

}  // namespace zelvar
