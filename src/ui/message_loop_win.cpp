#include "ui/message_loop_win.h"

#include <commctrl.h>

#include "ui/window_win.h"

namespace zelvar::ui {
namespace {

// A drop-down list or a calendar that is open takes Esc and Enter itself.
bool DropDownOpen(HWND focus) {
    if (!focus) return false;
    wchar_t name[64] = {};
    GetClassNameW(focus, name, 64);
    if (_wcsicmp(name, WC_COMBOBOXW) == 0) return SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (_wcsicmp(name, DATETIMEPICK_CLASSW) == 0) {
        // Windows has a calendar only while it is dropped down; Wine keeps a hidden one.
        auto calendar = reinterpret_cast<HWND>(SendMessageW(focus, DTM_GETMONTHCAL, 0, 0));
        return calendar && IsWindowVisible(calendar);
    }
    return false;
}

void Dispatch(MSG& msg) {
    if (TranslateDialogKeys(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

}  // namespace

bool TranslateDialogKeys(MSG& msg) {
    if (!msg.hwnd || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    Window* window = Window::FromHandle(root);
    if (!window || !IsWindowEnabled(root)) return false;
    if (msg.message == WM_KEYDOWN && !DropDownOpen(GetFocus())) {
        if (msg.wParam == VK_ESCAPE && window->OnEscape()) return true;
        if (msg.wParam == VK_RETURN && window->OnEnter(GetFocus())) return true;
    }
    return IsDialogMessageW(root, &msg) != FALSE;
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
    return static_cast<int>(msg.wParam);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {  // leave it for the main loop
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

}  // namespace zelvar::ui
