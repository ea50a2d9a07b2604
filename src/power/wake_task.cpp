#include "power/wake_task.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "power/local_time_rules.h"

namespace zelvar {
namespace {

std::wstring Escaped(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
            case L'&': out += L"&amp;"; break;
            case L'<': out += L"&lt;"; break;
            case L'>': out += L"&gt;"; break;
            case L'"': out += L"&quot;"; break;
            case L'\'': out += L"&apos;"; break;
            default:
                // Characters XML 1.0 cannot carry are left out.
                if (c >= 0x20 || c == L'\t' || c == L'\n' || c == L'\r') out += c;
        }
    }
    return out;
}

// "2026-12-09T07:30:00", with "+01:00" when an offset is given.
std::wstring Boundary(TDateTime local, const std::optional<int>& offsetMinutes) {
    const DateTimeFields f = DecodeDateTime(WholeSeconds(local));
    wchar_t text[40];
    std::swprintf(text, 40, L"%04d-%02d-%02dT%02d:%02d:%02d", f.year, f.month, f.day, f.hour, f.minute, f.second);
    std::wstring out = text;
    if (offsetMinutes) {
        const int m = std::abs(*offsetMinutes);
        std::swprintf(text, 40, L"%c%02d:%02d", *offsetMinutes < 0 ? L'-' : L'+', m / 60, m % 60);
        out += text;
    }
    return out;
}

constexpr const wchar_t* kDayElements[7] = {L"Monday", L"Tuesday",  L"Wednesday", L"Thursday",
                                            L"Friday", L"Saturday", L"Sunday"};

}  // namespace

WakeTaskMoment WakeTaskMomentOf(TDateTime local, std::int64_t localSeconds,
                                const std::function<std::int64_t(std::int64_t)>& offsetAt) {
    const ResolvedLocalTime r = ResolveLocalTime(localSeconds, offsetAt);
    const std::int64_t offset = offsetAt(r.utcSeconds);
    switch (r.kind) {
        case LocalTimeKind::Unique: return {local, std::nullopt};
        case LocalTimeKind::Skipped:
            // The clock's reading at the moment the wake comes.
            return {local + static_cast<double>(r.utcSeconds + offset - localSeconds) / kSecondsPerDay, std::nullopt};
        case LocalTimeKind::Repeated: return {local, static_cast<int>(offset / 60)};
    }
    return {local, std::nullopt};
}

bool WakeTaskPlan::Empty() const {
    if (once) return false;
    for (const auto& t : weekly)
        if (t) return false;
    return true;
}

std::wstring WakeTaskName(std::wstring_view userSid) { return L"Zelvar wake " + std::wstring(userSid); }

std::wstring WakeTaskXml(const WakeTaskPlan& plan, const WakeTaskIdentity& who, TDateTime today) {
    std::wstring x;
    x += L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n";
    x += L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n";
    x += L"  <RegistrationInfo>\r\n    <Author>Zelvar</Author>\r\n    <Description>" + Escaped(who.description) +
         L"</Description>\r\n  </RegistrationInfo>\r\n";
    x += L"  <Triggers>\r\n";
    const TDateTime date = DateOf(today);
    const int todayWeekday = IsoWeekday(date);
    for (int day = 1; day <= 7; ++day) {
        const std::optional<TDateTime>& time = plan.weekly[static_cast<size_t>(day - 1)];
        if (!time) continue;
        const TDateTime first = date + (day - todayWeekday + 7) % 7;
        x += L"    <CalendarTrigger>\r\n      <StartBoundary>" + Boundary(first + TimeOf(*time), std::nullopt) +
             L"</StartBoundary>\r\n      <Enabled>true</Enabled>\r\n      <ScheduleByWeek>\r\n"
             L"        <DaysOfWeek><" +
             std::wstring(kDayElements[day - 1]) +
             L" /></DaysOfWeek>\r\n        <WeeksInterval>1</WeeksInterval>\r\n      </ScheduleByWeek>\r\n"
             L"    </CalendarTrigger>\r\n";
    }
    if (plan.once)
        x += L"    <TimeTrigger>\r\n      <StartBoundary>" + Boundary(plan.once->local, plan.once->utcOffsetMinutes) +
             L"</StartBoundary>\r\n      <Enabled>true</Enabled>\r\n    </TimeTrigger>\r\n";
    x += L"  </Triggers>\r\n";
    x += L"  <Principals>\r\n    <Principal id=\"Author\">\r\n      <UserId>" + Escaped(who.userSid) +
         L"</UserId>\r\n      <LogonType>InteractiveToken</LogonType>\r\n"
         L"      <RunLevel>LeastPrivilege</RunLevel>\r\n    </Principal>\r\n  </Principals>\r\n";
    x += L"  <Settings>\r\n"
         L"    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\r\n"
         L"    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\r\n"
         L"    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\r\n"
         L"    <AllowHardTerminate>true</AllowHardTerminate>\r\n"
         L"    <StartWhenAvailable>false</StartWhenAvailable>\r\n"
         L"    <RunOnlyIfNetworkAvailable>false</RunOnlyIfNetworkAvailable>\r\n"
         L"    <IdleSettings>\r\n      <StopOnIdleEnd>false</StopOnIdleEnd>\r\n"
         L"      <RestartOnIdle>false</RestartOnIdle>\r\n    </IdleSettings>\r\n"
         L"    <AllowStartOnDemand>true</AllowStartOnDemand>\r\n"
         L"    <Enabled>true</Enabled>\r\n"
         L"    <Hidden>false</Hidden>\r\n"
         L"    <RunOnlyIfIdle>false</RunOnlyIfIdle>\r\n"
         L"    <WakeToRun>true</WakeToRun>\r\n"
         L"    <ExecutionTimeLimit>" +
         std::wstring(kWakeTaskTimeLimit) +
         L"</ExecutionTimeLimit>\r\n"
         L"    <Priority>7</Priority>\r\n"
         L"  </Settings>\r\n";
    x += L"  <Actions Context=\"Author\">\r\n    <Exec>\r\n      <Command>" + Escaped(who.exePath) +
         L"</Command>\r\n      <Arguments>" + std::wstring(kWokenArgument) +
         L"</Arguments>\r\n    </Exec>\r\n  </Actions>\r\n";
    x += L"</Task>\r\n";
    return x;
}

}  // namespace zelvar
