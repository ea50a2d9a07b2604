// Helper program: one visible, unowned top-level window whose title is the
// command line (or "Zelvar titled helper").
#include <string>

#include "helper_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR cmdLine, int) {
    const std::wstring title = cmdLine && *cmdLine ? cmdLine : L"Zelvar titled helper";
    helper::RegisterWindowClass(instance, L"ZelvarTitledHelper");
    HWND hwnd = CreateWindowExW(0, L"ZelvarTitledHelper", title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 320, 160, nullptr,
                                nullptr, instance, nullptr);
    return hwnd ? helper::Run(hwnd, hwnd) : 1;
}
