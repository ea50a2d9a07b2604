#pragma once
// Checks of the one-shot plan and the countdown's text: plain values in,
// plain values out.
#include <string>

#include "common/datetime.h"
#include "common/locale_format.h"

namespace zelvar {

struct PlanInput {
    TDateTime now = 0;        // current local date-time
    TDateTime offDate = 0;    // DateTimePicker1
    TDateTime offTime = 0;    // DateTimePicker2
    bool wakeTicked = false;  // CheckBox1
    TDateTime wakeDate = 0;   // DateTimePicker3
    TDateTime wakeTime = 0;   // DateTimePicker4
};

// Which check rejected a plan, for messages and tests; None when accepted.
enum class PlanFault {
    None,
    OffDateBeforeToday,
    OffTimeBeforeNow,
    WakeDateBeforeToday,
    WakeTimeBeforeNow,
    WakeDateBeforeOffDate,
    WakeTimeBeforeOffTime,
    // The machine needs time to hibernate: a wake less than this soon after
    // the off moment would come before it is down, and nothing would wake it.
    WakeTooSoonAfterOff,
};
inline constexpr int kLeastSecondsFromOffToWake = 120;

// Times compare as whole seconds since midnight; two dates are the same day
// when the locale's short date format writes them alike. An off time equal
// to now passes; a wake needs two minutes after the off moment.
PlanFault CheckPlan(const PlanInput& plan, const LocaleFormats& formats);

// "00:30" ... "00:00": the countdown window's text for a count of seconds.
std::wstring CountdownText(int secondsLeft);
// What a screen reader reads of the countdown: the language's sentence with
// the seconds in place of "%1" (after it when it has no place for them), or
// the count itself when the language has no sentence.
std::wstring CountdownAlertText(const std::wstring& pattern, int secondsLeft);

}  // namespace zelvar
