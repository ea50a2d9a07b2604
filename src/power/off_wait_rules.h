#pragma once
// The promises around an off moment, as plain functions over real time
// (seconds of universal time on one fixed scale, so neither a clock set by
// hand nor a daylight-saving change moves them):
// - the machine never goes down less than 30 seconds after the countdown
//   window first showed, unless the user chose a moment that close;
// - a moment found more than a few seconds after it came is skipped, never
//   acted on late (the machine slept through it, or the program was held);
// - a countdown that was open when the machine slept starts again from
//   "00:30" after the resume.
#include <optional>

namespace zelvar {

// How long the countdown window warns before the power-down, in seconds.
inline constexpr double kWarningSeconds = 30;
// The countdown window opens this many seconds before the off moment.
inline constexpr double kWarningLeadSeconds = 31;
// How late the end of the off wait may come and still be acted on. A wait
// normally ends within a millisecond of its moment; more than this means the
// moment passed while the machine slept or the program was held.
inline constexpr double kStaleGraceSeconds = 5;

// A plan applied fewer than this many seconds (rounded) before its off
// moment was chosen with the power-down in view: it keeps its moment and
// shows the seconds that are left instead of a full warning.
inline constexpr double kShortNoticeSeconds = 32;
bool PlanChosenAtShortNotice(double appliedAt, double off);

// The full countdown shown for an off moment: since when, and for which
// moment (a countdown opened for another moment is no warning for this one).
struct OffWarning {
    double since = 0;
    double forOff = 0;
};

struct OffWaitInput {
    double now = 0;
    double off = 0;               // the off moment
    bool warningRequired = true;  // false only for a plan chosen at short notice
    std::optional<OffWarning> warning;
    bool countdownVisible = false;
    // The machine went to sleep since the wait last looked (and has come back).
    bool resumed = false;
};

enum class OffWaitStep {
    Wait,           // wait until due
    OpenCountdown,  // show the countdown from "00:30" now, then ask again
    Act,            // the moment has come: close the programs, power down
    Skip,           // the moment is stale: end without a power action
};

struct OffWaitDecision {
    OffWaitStep step = OffWaitStep::Wait;
    // When the power-down is due: the off moment, or the end of the
    // countdown when that comes later.
    double due = 0;
    // When to look again while waiting: the due time, or 31 seconds before
    // it while a required countdown has not shown yet (the cycle then opens
    // it itself, should the countdown timer not have).
    double lookAt = 0;
    friend bool operator==(const OffWaitDecision&, const OffWaitDecision&) = default;
};

// Whether a countdown shown since `warning` counts for this off moment.
bool WarnsFor(const std::optional<OffWarning>& warning, double off);

OffWaitDecision DecideOffWait(const OffWaitInput& in);

// The count a plan chosen at short notice shows at once: the whole seconds
// left, rounded up; nullopt when nothing is left to count.
std::optional<int> ShortNoticeCount(double now, double off);

}  // namespace zelvar
