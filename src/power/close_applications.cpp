#include "power/close_applications.h"

#include <dwmapi.h>

#include <algorithm>

#include "common/handles_win.h"

namespace zelvar {
namespace {

constexpr UINT kTerminatedExitCode = 4;
constexpr int kTitleBufferLength = 128;  // only tells an empty title from a nonempty one

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    if (window) GetWindowThreadProcessId(window, &processId);
    return processId;
}

DWORD SessionOf(DWORD processId) {
    DWORD session = 0;
    return ProcessIdToSessionId(processId, &session) ? session : DWORD(-1);
}

// A cloaked window is drawn nowhere although it counts as visible: a
// suspended store app's frame, the hidden start menu, search and touch
// keyboard hosts of the shell. The user sees no such program open.
bool IsCloaked(HWND window) {
    DWORD cloaked = 0;
    return SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
}

bool IsApplicationWindow(HWND window, const SparedProcesses& spared) {
    if (!IsWindowVisible(window)) return false;
    if (GetWindow(window, GW_OWNER)) return false;
    wchar_t title[kTitleBufferLength];
    if (GetWindowTextW(window, title, kTitleBufferLength) <= 0) return false;
    if (IsSpared(ProcessOf(window), spared)) return false;
    return !IsCloaked(window);
}

}  // namespace

SparedProcesses CurrentSparedProcesses() {
    SparedProcesses spared;
    spared.own = GetCurrentProcessId();
    spared.session = SessionOf(spared.own);
    if (const DWORD shell = ProcessOf(GetShellWindow())) spared.shell.push_back(shell);
    // Every taskbar, not only the first: one per screen, and more than one
    // shell may run (under Wine its own explorer may own one too).
    for (const wchar_t* cls : {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})
        for (HWND bar = nullptr; (bar = FindWindowExW(nullptr, bar, cls, nullptr));)
            if (const DWORD process = ProcessOf(bar)) spared.shell.push_back(process);
    return spared;
}

bool IsSpared(DWORD processId, const SparedProcesses& spared) {
    if (processId == 0 || processId == spared.own) return true;
    if (std::find(spared.shell.begin(), spared.shell.end(), processId) != spared.shell.end()) return true;
    return SessionOf(processId) != spared.session;
}

std::vector<HWND> CollectApplicationWindows(HWND mainWindow) {
    std::vector<HWND> windows;
    const SparedProcesses spared = CurrentSparedProcesses();
    HWND window = mainWindow ? GetWindow(mainWindow, GW_HWNDFIRST) : GetTopWindow(nullptr);
    for (; window; window = GetWindow(window, GW_HWNDNEXT))
        if (IsApplicationWindow(window, spared)) windows.push_back(window);
    return windows;
}

void CloseApplications(HWND mainWindow, bool enabled) {
    if (!enabled) return;
    // Ending processes changes the z-order, so walk it completely first.
    for (HWND window : CollectApplicationWindows(mainWindow)) TerminateWindowProcess(window);
}

void TerminateWindowProcess(HWND window) {
    const DWORD processId = ProcessOf(window);
    if (processId == 0) return;
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (process) TerminateProcess(process.get(), kTerminatedExitCode);
}

}  // namespace zelvar
