#include "power/close_applications.h"

#include "common/handles_win.h"

namespace zelvar {
namespace {

constexpr UINT kTerminatedExitCode = 4;
constexpr int kTitleBufferLength = 128;  // only tells an empty title from a nonempty one

bool IsApplicationWindow(HWND window, DWORD ownProcessId) {
    if (!IsWindowVisible(window)) return false;
    if (GetWindow(window, GW_OWNER)) return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    // Our own windows may well be unowned; never end ourselves.
    if (processId == ownProcessId) return false;
    wchar_t title[kTitleBufferLength];
    return GetWindowTextW(window, title, kTitleBufferLength) > 0;
}

}  // namespace

std::vector<HWND> CollectApplicationWindows(HWND mainWindow) {
    std::vector<HWND> windows;
    const DWORD ownProcessId = GetCurrentProcessId();
    HWND window = mainWindow ? GetWindow(mainWindow, GW_HWNDFIRST) : GetTopWindow(nullptr);
    for (; window; window = GetWindow(window, GW_HWNDNEXT))
        if (IsApplicationWindow(window, ownProcessId)) windows.push_back(window);
    return windows;
}

void CloseApplications(HWND mainWindow, bool enabled) {
    if (!enabled) return;
    // Ending processes changes the z-order, so walk it completely first.
    for (HWND window : CollectApplicationWindows(mainWindow)) TerminateWindowProcess(window);
}

void TerminateWindowProcess(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0) return;
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (process) TerminateProcess(process.get(), kTerminatedExitCode);
}

}  // namespace zelvar
