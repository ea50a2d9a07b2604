#include "power/wake_readiness.h"

namespace zelvar {
namespace {

// Wake timers only wake the machine for a plain program when the plan says
// "Enable": "Important wake timers only" keeps them out like "Disable".
bool Blocks(const std::optional<WakeTimerPolicy>& p) {
    return p && (*p == WakeTimerPolicy::Disabled || *p == WakeTimerPolicy::ImportantOnly);
}

std::wstring_view TrimBlanks(std::wstring_view s) {
    while (!s.empty() && (s.front() == L' ' || s.front() == L'\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t')) s.remove_suffix(1);
    return s;
}

std::optional<bool> ParseFlag(std::wstring_view v) {
    if (v == L"1") return true;
    if (v == L"0") return false;
    return std::nullopt;
}

std::optional<WakeTimerPolicy> ParsePolicy(std::wstring_view v) {
    if (v == L"off" || v == L"0") return WakeTimerPolicy::Disabled;
    if (v == L"on" || v == L"1") return WakeTimerPolicy::Enabled;
    if (v == L"important" || v == L"2") return WakeTimerPolicy::ImportantOnly;
    return std::nullopt;
}

}  // namespace

std::optional<WakeTimerPolicy> WakeTimerPolicyFromValue(unsigned long value) {
    switch (value) {
        case 0: return WakeTimerPolicy::Disabled;
        case 1: return WakeTimerPolicy::Enabled;
        case 2: return WakeTimerPolicy::ImportantOnly;
        default: return std::nullopt;
    }
}

WakeProblem DecideWakeReadiness(const WakeProbeValues& v) {
    if (v.hibernationSupported == false) return WakeProblem::NoHibernation;
    if (v.hibernationEnabled == false) return WakeProblem::HibernationOff;
    if (v.resumeAccepted == false) return WakeProblem::ResumeRefused;
    const bool mains = Blocks(v.onMains);
    // The battery setting only matters where there is known to be a battery:
    // desktops carry a battery value too, and a false alarm would teach the
    // user to ignore the line.
    const bool battery = Blocks(v.onBattery) && v.batteryPresent == true;
    if (mains && battery) return WakeProblem::TimersOffBoth;
    if (mains) return WakeProblem::TimersOffMains;
    if (battery) return WakeProblem::TimersOffBattery;
    if (v.wakeTaskHeld == false) return WakeProblem::OnlyWhileRunning;
    return WakeProblem::None;
}

std::wstring_view WakeProblemKey(WakeProblem problem) {
    switch (problem) {
        case WakeProblem::None: return {};
        case WakeProblem::NoHibernation: return L"wakenohibernation";
        case WakeProblem::HibernationOff: return L"wakehibernationoff";
        case WakeProblem::ResumeRefused: return L"wakeresumerefused";
        case WakeProblem::TimersOffMains: return L"wakeoffmains";
        case WakeProblem::TimersOffBattery: return L"wakeoffbattery";
        case WakeProblem::TimersOffBoth: return L"wakeoffboth";
        case WakeProblem::OnlyWhileRunning: return L"wakeonlywhilerunning";
    }
    return {};
}

WakeFix DecideWakeFix(const WakeProbeValues& v) {
    switch (DecideWakeReadiness(v)) {
        case WakeProblem::HibernationOff: return {WakeFixKind::SwitchHibernationOn};
        case WakeProblem::TimersOffMains:
        case WakeProblem::TimersOffBattery:
        case WakeProblem::TimersOffBoth:
            return {WakeFixKind::AllowWakeTimers, Blocks(v.onMains), Blocks(v.onBattery) && v.batteryPresent == true};
        case WakeProblem::None:
        case WakeProblem::NoHibernation:
        case WakeProblem::ResumeRefused:
        case WakeProblem::OnlyWhileRunning: break;
    }
    return {};
}

std::wstring_view WakeFixCaptionKey(WakeFixKind kind) {
    switch (kind) {
        case WakeFixKind::None: return {};
        case WakeFixKind::AllowWakeTimers: return L"wakefixtimers";
        case WakeFixKind::SwitchHibernationOn: return L"wakefixhibernation";
    }
    return {};
}

std::wstring_view WakeFixHintKey(WakeFixKind kind) {
    switch (kind) {
        case WakeFixKind::None: return {};
        case WakeFixKind::AllowWakeTimers: return L"hintwakefixtimers";
        case WakeFixKind::SwitchHibernationOn: return L"hintwakefixhibernation";
    }
    return {};
}

std::wstring_view WakeFixMessageKey(const WakeFixResult& result, WakeProblem before, WakeProblem after) {
    // The numbers of ERROR_CANCELLED (the consent prompt was declined),
    // ERROR_ACCESS_DENIED and ERROR_PRIVILEGE_NOT_HELD.
    constexpr unsigned long kCancelled = 1223, kAccessDenied = 5, kPrivilegeNotHeld = 1314;
    if (result.error == kCancelled) return L"wakefixdeclined";
    if (result.error == kAccessDenied || result.error == kPrivilegeNotHeld) return L"wakefixdenied";
    if (result.error != 0) return L"wakefixfailed";
    if (after != before || before == WakeProblem::None) return {};
    // The program it ran said it failed, or Windows took the change yet the
    // probe finds the same (a policy may hold the setting): silence would
    // pass for success.
    return result.exitCode != 0 ? L"wakefixfailed" : L"wakefixnochange";
}

WakeProbeValues ParseWakeProbeOverride(std::wstring_view text) {
    WakeProbeValues v;
    while (!text.empty()) {
        const size_t end = text.find_first_of(L",;");
        const std::wstring_view item = text.substr(0, end);
        text = end == std::wstring_view::npos ? std::wstring_view{} : text.substr(end + 1);
        const size_t eq = item.find(L'=');
        if (eq == std::wstring_view::npos) continue;
        const std::wstring_view name = TrimBlanks(item.substr(0, eq));
        const std::wstring_view value = TrimBlanks(item.substr(eq + 1));
        if (name == L"s4") v.hibernationSupported = ParseFlag(value);
        else if (name == L"hiberfile") v.hibernationEnabled = ParseFlag(value);
        else if (name == L"battery") v.batteryPresent = ParseFlag(value);
        else if (name == L"resume") v.resumeAccepted = ParseFlag(value);
        else if (name == L"ac") v.onMains = ParsePolicy(value);
        else if (name == L"dc") v.onBattery = ParsePolicy(value);
    }
    return v;
}

}  // namespace zelvar
