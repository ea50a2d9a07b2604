// Program entry: one running copy, the windows made once, the message
// loop. A plain start takes no arguments; the wake task and Windows' restart
// of the program start it with one of their own (app/launch.h).
#include <windows.h>
#include <commctrl.h>

#include <cwctype>
#include <string>

#include "app/application_win.h"
#include "app/launch.h"
#include "common/handles_win.h"
#include "common/paths_win.h"
#include "common/version.h"
#include "power/wake_task_win.h"

namespace {

// Held for the program's life by the copy started from this executable, so
// two starts at one moment (Windows restarting the program as the user
// starts it) never make two copies. Named after the executable's path:
// copies in other folders are told apart by the window's title alone.
std::wstring SingleInstanceName() {
    std::wstring path = zelvar::ExePath();
    unsigned long long hash = 14695981039346656037ull;
    for (wchar_t c : path) hash = (hash ^ static_cast<unsigned long long>(std::towlower(c))) * 1099511628211ull;
    wchar_t name[64];
    swprintf(name, 64, L"Local\\Zelvar-%016llx", hash);
    return name;
}

// The wake task's action is to be short: the copy that goes on runs as a
// process of its own, outside the task's job where Windows allows it.
void StartCopyAtWakeMoment() {
    const std::wstring exe = zelvar::ExePath();
    std::wstring command = L"\"" + exe + L"\" " + zelvar::kWokenStartArgument;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_BREAKAWAY_FROM_JOB,
                                  nullptr, nullptr, &si, &pi);
    if (!started && GetLastError() == ERROR_ACCESS_DENIED)
        started = CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    if (!started) return;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    const zelvar::LaunchKind launch = zelvar::ParseLaunch(arguments ? arguments : L"");
    if (launch == zelvar::LaunchKind::RemoveWakeTask) return zelvar::RemoveWakeTaskNow() ? 0 : 1;

    zelvar::UniqueHandle instance(CreateMutexW(nullptr, FALSE, SingleInstanceName().c_str()));
    const bool starting = instance && GetLastError() == ERROR_ALREADY_EXISTS;
    if (HWND running = FindWindowW(nullptr, zelvar::kMainWindowCaption)) {
        // A copy that is already running is only brought to the front; told
        // by the wake task, it is told without showing its window.
        if (launch == zelvar::LaunchKind::Woken) PostMessageW(running, zelvar::WokenByTaskMessage(), 0, 0);
        else if (launch != zelvar::LaunchKind::Restarted) SetForegroundWindow(running);
        return 0;
    }
    if (starting) return 0;  // a copy from this folder is starting this very moment
    if (launch == zelvar::LaunchKind::Woken) {
        instance.reset();  // the copy started now takes it over
        StartCopyAtWakeMoment();
        return 0;
    }

    zelvar::Application application(launch);
    if (!application.Create()) return 1;
    return application.Run();
}
