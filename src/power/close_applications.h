#pragma once
// Ends the processes of the user's open programs before the machine powers
// down. The programs are not asked to close; unsaved work in them is lost.
#include <windows.h>

#include <vector>

namespace zelvar {

// Processes that are never ended, whatever windows they show: our own, the
// Windows shell's (the process of the shell window, the desktop, and of every
// taskbar, so the user does not come back to a PC without a taskbar), and
// every process of another session.
struct SparedProcesses {
    DWORD own = 0;
    std::vector<DWORD> shell;  // of GetShellWindow and of each Shell_TrayWnd / Shell_SecondaryTrayWnd
    DWORD session = 0;         // our session; a process of another one is spared
};
SparedProcesses CurrentSparedProcesses();
bool IsSpared(DWORD processId, const SparedProcesses& spared);

// Top-level windows in z-order (topmost first, starting from the first
// sibling of mainWindow) that are visible, not cloaked, have no owner and a
// nonempty title, leaving out every window of a spared process.
std::vector<HWND> CollectApplicationWindows(HWND mainWindow);

// enabled is CheckBox5. Collects first, then ends the owner process of each
// collected window in order; failures are skipped silently, and a process
// with several windows is simply ended by the first attempt.
void CloseApplications(HWND mainWindow, bool enabled);

// Ends the process that owns the window with exit code 4.
void TerminateWindowProcess(HWND window);

}  // namespace zelvar
