#pragma once
// Date-time values and the system's SYSTEMTIME, both ways, in one place.
#include <windows.h>

#include <optional>

#include "common/datetime.h"

namespace zelvar {

// The calendar fields of a value (its weekday filled in too).
SYSTEMTIME ToSystemTime(TDateTime value);
// nullopt for fields that are no date or time; the milliseconds kept.
std::optional<TDateTime> FromSystemTime(const SYSTEMTIME& t);

}  // namespace zelvar
