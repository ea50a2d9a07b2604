#pragma once
#include <windows.h>

#include "common/os_error.h"

namespace zelvar {

// The system's text for an error code (empty when it has none).
std::wstring SystemErrorText(DWORD code);

// Builds the OsError for GetLastError() (or the given code) with the system's text.
OsError LastOsError();
OsError OsErrorFromCode(DWORD code);
[[noreturn]] void RaiseLastOsError();

// The program's top-level handler: shows what escaped an event handler in a
// message box titled with the application title, so the program carries on
// with the next event.
void ShowUnhandledError(HWND owner, const std::exception& error);

// The caption of the program's plain message boxes.
const wchar_t* ApplicationTitle();

}  // namespace zelvar
