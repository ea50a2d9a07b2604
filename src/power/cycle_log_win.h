#pragma once
// Writing the night log, zelvar.log beside the exe. A line that cannot be
// written is dropped: no retries, no waits, nothing raised, so the log never
// stops or delays a cycle.
#include <windows.h>

#include <string>
#include <string_view>

#include "power/cycle_log.h"

namespace zelvar {

// The current local time to the second, with the offset in force now.
LogMoment LogNow();
// A local moment with the offset the zone's rules give it (a moment beyond a
// daylight-saving change gets the offset of its own season).
LogMoment LogMomentAt(TDateTime local);
// The same by the rules of a given zone.
LogMoment LogMomentAt(TDateTime local, const DYNAMIC_TIME_ZONE_INFORMATION& zone);

// Appends one line to zelvar.log beside the exe; past kCycleLogLimit the file
// is cut to its newer half first. False when the line could not be written.
bool AppendCycleLog(std::string_view line) noexcept;
// The same for a log elsewhere.
bool AppendCycleLogTo(const std::wstring& path, std::string_view line) noexcept;

// One-line calls for the window handlers: a cycle or a coming moment given
// up, and a scheduled moment that had passed when its turn came.
void LogCycleCancelled(CycleCancel how) noexcept;
void LogScheduledMomentSkipped(TDateTime moment) noexcept;

}  // namespace zelvar
