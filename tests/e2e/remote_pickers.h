#pragma once
// Date and time pickers of another process: their messages carry a pointer,
// so the SYSTEMTIME goes through memory allocated in the program's process.
#include <windows.h>

#include <optional>

namespace zelvar::e2e {

bool SetPickerTime(HWND picker, const SYSTEMTIME& value);
std::optional<SYSTEMTIME> PickerTime(HWND picker);
// Local time now, to the millisecond.
SYSTEMTIME NowLocal();
// Local time now plus seconds, with whole seconds.
SYSTEMTIME LocalTimeIn(int seconds);
// Seconds from b to a (a - b), both local times.
double SecondsBetween(const SYSTEMTIME& a, const SYSTEMTIME& b);

}  // namespace zelvar::e2e
