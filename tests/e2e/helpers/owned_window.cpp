// Helper program: a hidden titled owner and a visible titled window it owns,
// so none of its windows is both visible and unowned.
#include "helper_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    helper::RegisterWindowClass(instance, L"ZelvarOwnedHelper");
    HWND owner = CreateWindowExW(0, L"ZelvarOwnedHelper", L"Zelvar hidden owner helper", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                 100, nullptr, nullptr, instance, nullptr);
    if (!owner) return 1;
    HWND owned = CreateWindowExW(0, L"ZelvarOwnedHelper", L"Zelvar owned helper", WS_OVERLAPPEDWINDOW, 120, 120, 320,
                                 160, owner, nullptr, instance, nullptr);
    return owned ? helper::Run(owned, owner) : 1;
}
