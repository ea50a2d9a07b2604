#include "power/cycle_log.h"

#include <cstdio>
#include <cstdlib>

namespace zelvar {
namespace {

constexpr const char* kEol = "\r\n";

std::string Stamped(const LogMoment& at, std::string_view event) {
    std::string line = FormatLogMoment(at);
    line += ' ';
    line += event;
    line += kEol;
    return line;
}

std::string MomentOrNone(const std::optional<LogMoment>& m) { return m ? FormatLogMoment(*m) : "none"; }

const char* SourceName(CycleSource s) {
    switch (s) {
        case CycleSource::Plan: return "plan";
        case CycleSource::Schedule: return "schedule";
        case CycleSource::Both: return "both";
    }
    return "?";
}

const char* ActionName(CycleAction a) {
    switch (a) {
        case CycleAction::PowerOff: return "poweroff";
        case CycleAction::Hibernate: return "hibernate";
        case CycleAction::None: return "none";
    }
    return "?";
}

const char* StepName(CycleStep s) {
    switch (s) {
        case CycleStep::OffTimer: return "off-timer";
        case CycleStep::WakeTimer: return "wake-timer";
        case CycleStep::PowerOff: return "poweroff";
        case CycleStep::Hibernate: return "hibernate";
    }
    return "?";
}

const char* CancelName(CycleCancel c) {
    switch (c) {
        case CycleCancel::FromCountdown: return "cancelled-countdown";
        case CycleCancel::OnPage: return "cancelled-page";
        case CycleCancel::Stopped: return "stopped";
    }
    return "?";
}

}  // namespace

std::string FormatLogMoment(const LogMoment& moment) {
    const DateTimeFields f = DecodeDateTime(WholeSeconds(moment.local));
    const int offset = std::abs(moment.utcOffsetMinutes);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", f.year, f.month, f.day, f.hour,
                  f.minute, f.second, moment.utcOffsetMinutes < 0 ? '-' : '+', offset / 60 % 100, offset % 60);
    return text;
}

CycleSource CycleSourceOf(bool planArmed, bool schedulerMomentTaken) {
    if (!planArmed) return CycleSource::Schedule;
    return schedulerMomentTaken ? CycleSource::Both : CycleSource::Plan;
}

std::string CycleStartLine(const LogMoment& at, CycleSource source, const std::optional<LogMoment>& off,
                           const std::optional<LogMoment>& wake) {
    return Stamped(at, std::string("start source=") + SourceName(source) + " off=" + MomentOrNone(off) +
                           " wake=" + MomentOrNone(wake));
}

std::string CycleActionLine(const LogMoment& at, CycleAction action) {
    return Stamped(at, std::string("action ") + ActionName(action));
}

std::string CycleResumedLine(const LogMoment& at) { return Stamped(at, "resumed"); }

std::string CycleDoneLine(const LogMoment& at) { return Stamped(at, "end done"); }

std::string CycleCancelledLine(const LogMoment& at, CycleCancel how) {
    return Stamped(at, std::string("end ") + CancelName(how));
}

std::string CycleRefusedLine(const LogMoment& at, CycleStep step, std::uint32_t systemErrorCode) {
    return Stamped(at, std::string("end refused ") + StepName(step) + " code=" + std::to_string(systemErrorCode));
}

std::string MomentSkippedLine(const LogMoment& at, const LogMoment& moment) {
    return Stamped(at, "end skipped moment=" + FormatLogMoment(moment));
}

std::string CountdownOpenedLine(const LogMoment& at, const LogMoment& due) {
    return Stamped(at, "countdown due=" + FormatLogMoment(due));
}

std::string WakeNotArmedLine(const LogMoment& at, const LogMoment& wake) {
    return Stamped(at, "wake not-armed moment=" + FormatLogMoment(wake));
}

std::string TimerWakeLine(const LogMoment& at, const LogMoment& due) {
    return Stamped(at, "resumed by=wake-timer due=" + FormatLogMoment(due));
}

std::string TaskWakeLine(const LogMoment& at, const LogMoment& due) {
    return Stamped(at, "resumed by=wake-task due=" + FormatLogMoment(due));
}

std::string WakeTaskRefusedLine(const LogMoment& at, std::string_view step, std::uint32_t code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
    return Stamped(at, "wake task refused step=" + std::string(step) + " code=" + hex);
}

std::string ClockChangedLine(const LogMoment& at) { return Stamped(at, "clock changed"); }

std::size_t CycleLogCutOffset(std::string_view log) {
    if (log.size() <= kCycleLogLimit) return 0;
    const std::size_t half = log.size() - log.size() / 2;
    if (log[half - 1] == '\n') return half;
    const std::size_t eol = log.find('\n', half);
    return eol == std::string_view::npos ? log.size() : eol + 1;
}

}  // namespace zelvar
