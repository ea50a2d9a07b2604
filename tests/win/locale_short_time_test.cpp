// The user's short time pattern as the system gives it.
#include <gtest/gtest.h>

#include "common/locale_win.h"

using namespace zelvar;

TEST(UserLocale, ShortTimeIsHoursAndMinutes) {
    const LocaleFormats f = ReadUserLocaleFormats();
    ASSERT_FALSE(f.shortTime.empty());
    EXPECT_NE(f.shortTime.find(L"mm"), std::wstring::npos) << f.shortTime.c_str();
    EXPECT_EQ(f.shortTime.find(L's'), std::wstring::npos) << f.shortTime.c_str();
    // Whatever the pattern, a time formats to something shorter than the long form.
    const TDateTime t = 0.5 + 1.0 / 24 / 60 * 7 + 1.0 / 86400 * 30;  // 12:07:30
    EXPECT_LT(FormatShortTime(t, f).size(), FormatTime(t, f).size());
}
