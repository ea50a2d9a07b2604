#include "app/secondary_window_win.h"

#include "app/control_ids.h"
#include "app/ui_win.h"
#include "common/os_error_win.h"

namespace zelvar {

bool SecondaryWindow::Create(HINSTANCE instance, HWND owner, const wchar_t* className, const std::wstring& caption,
                             int width, int height, DWORD style, DWORD exStyle, HBRUSH background) {
    instance_ = instance;
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background ? background : ui::DarkBrush();
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZELVAR));
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    RECT rc{0, 0, width, height};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    hwnd_ = CreateWindowExW(exStyle, className, caption.c_str(), style, x, y, w, h, owner, nullptr, instance, this);
    if (hwnd_) OnCreated();
    return hwnd_ != nullptr;
}

void SecondaryWindow::Show() {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

void SecondaryWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }
bool SecondaryWindow::IsVisible() const { return IsWindowVisible(hwnd_) != FALSE; }
void SecondaryWindow::SetCaption(const std::wstring& caption) { SetWindowTextW(hwnd_, caption.c_str()); }

LRESULT SecondaryWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {  // closing only hides: the window lives until the program ends
        Hide();
        return 0;
    }
    if (msg == WM_CTLCOLORSTATIC) {
        SetTextColor(reinterpret_cast<HDC>(wp), ui::kText);
        SetBkColor(reinterpret_cast<HDC>(wp), ui::kDark);
        return reinterpret_cast<LRESULT>(ui::DarkBrush());
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK SecondaryWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto self = static_cast<SecondaryWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto self = reinterpret_cast<SecondaryWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    try {
        return self->HandleMessage(msg, wp, lp);
    } catch (const std::exception& e) {
        ShowUnhandledError(hwnd, e);
        return 0;
    }
}

}  // namespace zelvar
