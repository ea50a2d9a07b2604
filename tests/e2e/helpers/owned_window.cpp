// Helper program: a hidden titled owner and a visible titled window it owns,
// so none of its windows is both visible and unowned. Ends by itself after
// 60 seconds.
#include <windows.h>

namespace {

constexpr UINT_PTR kLifetimeTimer = 1;
constexpr UINT kLifetimeMs = 60000;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            if (wp == kLifetimeTimer) PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"ZelvarOwnedHelper";
    RegisterClassW(&wc);
    HWND owner = CreateWindowExW(0, wc.lpszClassName, L"Zelvar hidden owner helper", WS_OVERLAPPEDWINDOW, 0, 0,
                                 100, 100, nullptr, nullptr, instance, nullptr);
    if (!owner) return 1;
    HWND owned = CreateWindowExW(0, wc.lpszClassName, L"Zelvar owned helper", WS_OVERLAPPEDWINDOW, 120, 120, 320,
                                 160, owner, nullptr, instance, nullptr);
    if (!owned) return 1;
    ShowWindow(owned, SW_SHOWNORMAL);
    SetTimer(owner, kLifetimeTimer, kLifetimeMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
