// Helper program: one visible, unowned top-level window with an empty title.
#include "helper_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    helper::RegisterWindowClass(instance, L"ZelvarUntitledHelper");
    HWND hwnd = CreateWindowExW(0, L"ZelvarUntitledHelper", L"", WS_OVERLAPPEDWINDOW, 80, 80, 320, 160, nullptr,
                                nullptr, instance, nullptr);
    return hwnd ? helper::Run(hwnd, hwnd) : 1;
}
