#pragma once
// The wake task: Windows' Task Scheduler keeps one task of the program's,
// per user, that wakes the computer at each known wake moment, so the wake
// outlives the program (an update restart, a log-off, a crash). Its action
// starts the program with kWokenArgument: a copy that runs is told, else the
// program starts as at logon. Here its definition is built from plain
// values, as the task XML Windows reads; wake_task_win.h registers it.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/datetime.h"

namespace zelvar {

// The argument the task starts the program with: "woken for the moment
// that has come now". One task's triggers share its one action, so the
// moment is the one of the wakes the program keeps nearest to now.
inline constexpr wchar_t kWokenArgument[] = L"--woken";

// A local moment for a one-time trigger, pinned to its offset from UTC only
// where the local time alone is ambiguous.
struct WakeTaskMoment {
    TDateTime local = 0;
    std::optional<int> utcOffsetMinutes;
    friend bool operator==(const WakeTaskMoment&, const WakeTaskMoment&) = default;
};

// A local moment placed by the rule the wake timer uses across a clock
// change: a time the clock jumps over moves as far past the change as it lay
// past the jump (02:30 becomes 03:30 new time), a time the clock shows twice
// is its first showing. localSeconds is the moment in seconds on the epoch of
// offsetAt (local minus universal seconds in force at a universal moment).
WakeTaskMoment WakeTaskMomentOf(TDateTime local, std::int64_t localSeconds,
                                const std::function<std::int64_t(std::int64_t)>& offsetAt);

struct WakeTaskPlan {
    // The running scheduler's wake time of day for each weekday, [0] Monday
    // ... [6] Sunday (the schedule file with the policy's week over it).
    std::array<std::optional<TDateTime>, 7> weekly;
    // The one-shot plan's ticked wake.
    std::optional<WakeTaskMoment> once;
    bool Empty() const;
    friend bool operator==(const WakeTaskPlan&, const WakeTaskPlan&) = default;
};

struct WakeTaskIdentity {
    std::wstring exePath;      // the program the task starts
    std::wstring userSid;      // the user it runs as, "S-1-5-21-..."
    std::wstring description;  // in the user's language
};

// "Zelvar wake S-1-5-21-...": one task per user, so two users of one PC
// never write over each other's.
std::wstring WakeTaskName(std::wstring_view userSid);

// How long the task's action may run: it only tells a running copy or
// starts one that goes on by itself.
inline constexpr wchar_t kWakeTaskTimeLimit[] = L"PT5M";

// The task's XML: a weekly trigger for each weekday with a wake time (from
// its next date on or after today), a one-time trigger for the plan's wake,
// in local time as Windows' own tasks are; wake the computer to run, allowed
// on battery, never started late for a moment missed, one copy at a time,
// the short time limit above, run as the user while logged on.
std::wstring WakeTaskXml(const WakeTaskPlan& plan, const WakeTaskIdentity& who, TDateTime today);

}  // namespace zelvar
