// The smallest Win32 program that opens one window: the yardstick for how
// long Zelvar takes from start to its main window under the same conditions.
#include "helper_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    helper::RegisterWindowClass(instance, L"ZelvarMinimalWindow");
    HWND hwnd = CreateWindowExW(0, L"ZelvarMinimalWindow", L"Minimal window", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                                nullptr, nullptr, instance, nullptr);
    return hwnd ? helper::Run(hwnd, hwnd) : 1;
}
