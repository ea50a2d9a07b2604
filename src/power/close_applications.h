#pragma once
// Ends the processes of the user's open programs before the machine powers
// down. The programs are not asked to close; unsaved work in them is lost.
#include <windows.h>

#include <vector>

namespace zelvar {

// Top-level windows in z-order (topmost first, starting from the first
// sibling of mainWindow) that are visible, have no owner and a nonempty
// title, leaving out every window of our own process.
std::vector<HWND> CollectApplicationWindows(HWND mainWindow);

// enabled is CheckBox5. Collects first, then ends the owner process of each
// collected window in order; failures are skipped silently, and a process
// with several windows is simply ended by the first attempt.
void CloseApplications(HWND mainWindow, bool enabled);

// Ends the process that owns the window with exit code 4.
void TerminateWindowProcess(HWND window);

}  // namespace zelvar
