#include "power/oneshot_rules.h"

namespace zelvar {

PlanFault CheckPlan(const PlanInput& p, const LocaleFormats& f) {
    auto sameDay = [&f](TDateTime a, TDateTime b) { return FormatDate(a, f) == FormatDate(b, f); };
    auto before = [&sameDay](TDateTime a, TDateTime b) { return !sameDay(a, b) && DateOf(a) < DateOf(b); };
    const int nowSeconds = SecondsOfDay(p.now);
    if (before(p.offDate, p.now)) return PlanFault::OffDateBeforeToday;
    if (sameDay(p.offDate, p.now) && SecondsOfDay(p.offTime) < nowSeconds) return PlanFault::OffTimeBeforeNow;
    if (!p.wakeTicked) return PlanFault::None;
    if (before(p.wakeDate, p.now)) return PlanFault::WakeDateBeforeToday;
    if (sameDay(p.wakeDate, p.now) && SecondsOfDay(p.wakeTime) < nowSeconds) return PlanFault::WakeTimeBeforeNow;
    if (before(p.wakeDate, p.offDate)) return PlanFault::WakeDateBeforeOffDate;
    if (sameDay(p.wakeDate, p.offDate) && SecondsOfDay(p.wakeTime) < SecondsOfDay(p.offTime))
        return PlanFault::WakeTimeBeforeOffTime;
    const double daysApart = DateOf(p.wakeDate) - DateOf(p.offDate);
    const double secondsApart = daysApart * 86400.0 + SecondsOfDay(p.wakeTime) - SecondsOfDay(p.offTime);
    if (secondsApart < kLeastSecondsFromOffToWake) return PlanFault::WakeTooSoonAfterOff;
    return PlanFault::None;
}

std::wstring CountdownText(int secondsLeft) {
    return (secondsLeft < 10 ? L"00:0" : L"00:") + std::to_wstring(secondsLeft);
}

std::wstring CountdownAlertText(const std::wstring& pattern, int secondsLeft) {
    if (pattern.empty()) return CountdownText(secondsLeft);
    const std::wstring seconds = std::to_wstring(secondsLeft);
    std::wstring out = pattern;
    if (const size_t at = out.find(L"%1"); at != std::wstring::npos) out.replace(at, 2, seconds);
    else out += L" " + seconds;
    return out;
}

}  // namespace zelvar
