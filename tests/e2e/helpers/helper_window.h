#pragma once
// What the helper programs share: a plain window class and a message loop
// that ends the program after 60 seconds, so a test that fails halfway
// leaves nothing running.
#include <windows.h>

namespace helper {

constexpr UINT_PTR kLifetimeTimer = 1;
constexpr UINT kLifetimeMs = 60000;

inline LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if ((msg == WM_TIMER && wp == kLifetimeTimer) || msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

inline void RegisterWindowClass(HINSTANCE instance, const wchar_t* className) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
}

// Shows window, then runs until the lifetime timer of timerOwner fires.
inline int Run(HWND window, HWND timerOwner) {
    ShowWindow(window, SW_SHOWNORMAL);
    SetTimer(timerOwner, kLifetimeTimer, kLifetimeMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace helper
