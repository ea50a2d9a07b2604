#pragma once
// Whether a timer wake out of hibernation can happen on this machine, from
// what the probe (wake_probe_win.h) found. Every probed value may be unknown
// (the interface is missing or refused); an unknown value raises no warning,
// so only what is known to stand in the way is reported.
#include <optional>
#include <string_view>

namespace zelvar {

// The power scheme's "Allow wake timers" (sleep subgroup) value.
enum class WakeTimerPolicy { Disabled = 0, Enabled = 1, ImportantOnly = 2 };

struct WakeProbeValues {
    std::optional<bool> hibernationSupported;  // SYSTEM_POWER_CAPABILITIES.SystemS4
    std::optional<bool> hibernationEnabled;    // .HiberFilePresent
    std::optional<bool> batteryPresent;        // .SystemBatteriesPresent
    std::optional<WakeTimerPolicy> onMains;    // PowerReadACValueIndex
    std::optional<WakeTimerPolicy> onBattery;  // PowerReadDCValueIndex
    // A resume timer was armed without ERROR_NOT_SUPPORTED.
    std::optional<bool> resumeAccepted;
    // Windows' Task Scheduler holds the wake task (false: it refused it).
    std::optional<bool> wakeTaskHeld;
    friend bool operator==(const WakeProbeValues&, const WakeProbeValues&) = default;
};

// The one thing to tell the user, the most basic first: without hibernation
// nothing else matters, a refused resume flag makes the scheme moot.
enum class WakeProblem {
    None,
    NoHibernation,     // the machine cannot hibernate at all
    HibernationOff,    // it can, but hibernation is switched off
    ResumeRefused,     // the system takes timers but will not wake for them
    TimersOffMains,    // the power plan blocks wake timers when plugged in
    TimersOffBattery,  // ... on battery (only a machine with a battery)
    TimersOffBoth,
    OnlyWhileRunning,  // the wake task was refused: the wake holds only while the program runs
};

// A policy value read from the scheme; values Windows may add later are
// treated as unknown rather than as a block.
std::optional<WakeTimerPolicy> WakeTimerPolicyFromValue(unsigned long value);

WakeProblem DecideWakeReadiness(const WakeProbeValues& v);

// The language key of the line that explains the problem and the remedy;
// empty for WakeProblem::None.
std::wstring_view WakeProblemKey(WakeProblem problem);

// What the program can do itself about the problem the line names: allow
// wake timers in the active power plan (on mains, on battery, or both), or
// switch hibernation on, which takes an administrator's consent. Nothing for
// a machine that cannot hibernate or wake for timers at all.
enum class WakeFixKind { None, AllowWakeTimers, SwitchHibernationOn };

struct WakeFix {
    WakeFixKind kind = WakeFixKind::None;
    // For AllowWakeTimers: the plan's values to set to "Enable". Only what
    // blocks is written: the battery value only where there is a battery.
    bool onMains = false;
    bool onBattery = false;
    friend bool operator==(const WakeFix&, const WakeFix&) = default;
};

// The fix for the problem DecideWakeReadiness found in v.
WakeFix DecideWakeFix(const WakeProbeValues& v);

// The language keys of the fix's button caption and hint; empty for None.
std::wstring_view WakeFixCaptionKey(WakeFixKind kind);
std::wstring_view WakeFixHintKey(WakeFixKind kind);

// How a fix ended: the system's error code of the step that failed (0 when
// every step went), and the exit code of the program it ran, if any.
struct WakeFixResult {
    unsigned long error = 0;
    unsigned long exitCode = 0;
};

// The language key of what to tell the user once a fix has ended and the
// readiness was probed again (before: the problem the fix was for, after:
// the one found now): a declined consent, a refusal, a failure (its text
// takes the code for "%1"), a change that did not take; empty when the
// problem went, and the line shows what is left, if anything. A program's
// exit code counts only while the problem stays: the probe has the last word.
std::wstring_view WakeFixMessageKey(const WakeFixResult& result, WakeProblem before, WakeProblem after);

// Probe values written out for the test build ("name=value" pairs separated
// by commas or semicolons, as in "hiberfile=0,ac=off"): s4, hiberfile,
// battery and resume take 0 or 1; ac and dc take off, on or important
// (or 0, 1, 2). What the text does not name, or names with a value it does
// not know, stays unknown.
WakeProbeValues ParseWakeProbeOverride(std::wstring_view text);

}  // namespace zelvar
