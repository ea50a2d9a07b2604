// Helper program: windows of the Windows shell as closing applications meets
// them, each visible, unowned and titled.
//   shell_window.exe desktop  the desktop ("Progman", "Program Manager"),
//                             made the shell window when there is none yet
//   shell_window.exe taskbar  a taskbar ("Shell_TrayWnd")
// Either way the process also shows a folder window, as the shell's own
// process does, which must be spared with it.
#include <string>

#include "helper_window.h"

namespace {

// Not in the SDK headers; user32 has had it since Windows 2000.
void BecomeShellWindow(HWND window) {
    using SetShellWindowFn = BOOL(WINAPI*)(HWND);
    const auto set = reinterpret_cast<SetShellWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetShellWindow")));
    if (set && !GetShellWindow()) set(window);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR cmdLine, int) {
    const bool desktop = cmdLine && std::wstring(cmdLine) == L"desktop";
    const wchar_t* cls = desktop ? L"Progman" : L"Shell_TrayWnd";
    helper::RegisterWindowClass(instance, cls);
    helper::RegisterWindowClass(instance, L"CabinetWClass");
    HWND shell = CreateWindowExW(0, cls, desktop ? L"Program Manager" : L"Zelvar test taskbar", WS_POPUP | WS_CAPTION,
                                 0, desktop ? 0 : 600, 400, 40, nullptr, nullptr, instance, nullptr);
    HWND folder = CreateWindowExW(
        0, L"CabinetWClass", desktop ? L"Zelvar test folder of the desktop" : L"Zelvar test folder of the taskbar",
        WS_OVERLAPPEDWINDOW, 420, desktop ? 40 : 240, 320, 160, nullptr, nullptr, instance, nullptr);
    if (!shell || !folder) return 1;
    ShowWindow(folder, SW_SHOWNOACTIVATE);
    if (desktop) BecomeShellWindow(shell);
    return helper::Run(shell, shell);
}
