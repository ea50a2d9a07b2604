#pragma once
// The night log, zelvar.log: one UTF-8 line per event of a power cycle, each
// stamped with its local time and the UTC offset in force then, so a night
// across a daylight-saving change still reads right. Here the lines are made
// from plain values and the cut that keeps the file small is worked out; the
// Win32 side (cycle_log_win.h) writes them.
//
//   2026-12-08T21:59:50+01:00 start source=schedule off=2026-12-08T22:00:00+01:00 wake=2026-12-09T07:30:00+01:00
//   2026-12-08T22:00:00+01:00 action hibernate
//   2026-12-09T07:30:01+01:00 resumed
//   2026-12-09T07:30:02+01:00 end done
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/datetime.h"

namespace zelvar {

// A local moment and the offset from UTC in force at it, in minutes, east positive.
struct LogMoment {
    TDateTime local = 0;
    int utcOffsetMinutes = 0;
};

// ISO 8601 with the offset, to the second: "2026-12-08T22:00:00+01:00".
std::string FormatLogMoment(const LogMoment& moment);

enum class CycleSource { Plan, Schedule, Both };
enum class CycleAction { PowerOff, Hibernate, None };
// What the system refused: a timer the cycle needs, or the power action.
enum class CycleStep { OffTimer, WakeTimer, PowerOff, Hibernate };
// How a cycle or a moment about to come was given up.
enum class CycleCancel {
    FromCountdown,  // the countdown window's cancel
    OnPage,         // Cancel on the one-shot page
    Stopped,        // the program's exit, the scheduler stopped, Windows ending the session
};

// Plan: an armed plan whose moments both won. Schedule: no plan armed.
// Both: an armed plan with at least one scheduled moment taken.
CycleSource CycleSourceOf(bool planArmed, bool schedulerMomentTaken);

// Every line ends in CR LF. A missing off or wake moment reads "none".
std::string CycleStartLine(const LogMoment& at, CycleSource source, const std::optional<LogMoment>& off,
                           const std::optional<LogMoment>& wake);
std::string CycleActionLine(const LogMoment& at, CycleAction action);
std::string CycleResumedLine(const LogMoment& at);
std::string CycleDoneLine(const LogMoment& at);
std::string CycleCancelledLine(const LogMoment& at, CycleCancel how);
std::string CycleRefusedLine(const LogMoment& at, CycleStep step, std::uint32_t systemErrorCode);
// A scheduled moment that had already passed when its turn came.
std::string MomentSkippedLine(const LogMoment& at, const LogMoment& moment);

// The countdown opened (or opened again after a sleep or a clock change) and
// moved the power-down to its end.
std::string CountdownOpenedLine(const LogMoment& at, const LogMoment& due);
// A wake moment that lies before the power-down cannot wake the machine.
std::string WakeNotArmedLine(const LogMoment& at, const LogMoment& wake);
// The machine came back at the standing wake timer's moment, not from a
// hibernation of the program's own.
std::string TimerWakeLine(const LogMoment& at, const LogMoment& due);
// The wake task said a wake moment had come before Windows' word of the
// resume did (or started the program at it).
std::string TaskWakeLine(const LogMoment& at, const LogMoment& due);
// The wake task could not be written or removed: the step, and the
// system's code; the wake then holds only while the program runs.
std::string WakeTaskRefusedLine(const LogMoment& at, std::string_view step, std::uint32_t code);
// The system clock or the time zone was changed.
std::string ClockChangedLine(const LogMoment& at);

// The log is cut to its newer half once it grows past this size.
inline constexpr std::size_t kCycleLogLimit = 256 * 1024;
// Where the part to keep begins: 0 while the log is within the limit, else
// the start of the first whole line in its newer half (the log's size when
// no line starts there).
std::size_t CycleLogCutOffset(std::string_view log);

}  // namespace zelvar
