#include "ui/secondary_window_win.h"

#include "ui/controls_win.h"
#include "ui/theme_win.h"

namespace zelvar::ui {

bool SecondaryWindow::Create(HWND owner, const wchar_t* className, const std::wstring& caption, int clientWidth,
                             int clientHeight, DWORD style, DWORD exStyle) {
    RECT rc{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (!CreateBound(className, caption.c_str(), style, exStyle | WS_EX_CONTROLPARENT, x, y, w, h, owner, 0))
        return false;
    OnCreated();
    return true;
}

bool SecondaryWindow::EnsureMade() {
    if (!hwnd_ && make_) make_();
    return hwnd_ != nullptr;
}

void SecondaryWindow::Show() {
    if (!EnsureMade()) return;
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

void SecondaryWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }
bool SecondaryWindow::IsVisible() const { return IsWindowVisible(hwnd_) != FALSE; }
void SecondaryWindow::SetCaption(const std::wstring& caption) {
    if (EnsureMade()) SetWindowTextW(hwnd_, caption.c_str());
}

void SecondaryWindow::ShowOver(HWND window) {
    if (!EnsureMade()) return;
    RECT owner{}, self{};
    GetWindowRect(window, &owner);
    GetWindowRect(hwnd_, &self);
    const int x = (owner.left + owner.right) / 2 - (self.right - self.left) / 2;
    const int y = (owner.top + owner.bottom) / 2 - (self.bottom - self.top) / 2;
    SetWindowPos(hwnd_, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
    Show();
}

bool SecondaryWindow::OnEscape() {
    Hide();
    return true;
}

HBRUSH SecondaryWindow::Background() const { return BrushOf(Role::Background); }

HWND SecondaryWindow::FirstFocus() const { return GetNextDlgTabItem(hwnd_, nullptr, FALSE); }

LRESULT SecondaryWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:  // closing only hides: the window lives until the program ends
            Hide();
            return 0;
        case WM_DPICHANGED: {
            const RECT& r = *reinterpret_cast<const RECT*>(lp);
            SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            ApplyFonts(hwnd_, HIWORD(wp));
            OnDpiChanged();
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            return 0;
        }
        case WM_ACTIVATE:
            // The focus comes back to where it was (after a message box, too).
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) savedFocus_ = focus;
            } else {
                HWND target = savedFocus_ && IsChild(hwnd_, savedFocus_) && IsWindowVisible(savedFocus_) &&
                                      IsWindowEnabled(savedFocus_)
                                  ? savedFocus_
                                  : FirstFocus();
                if (target) SetFocus(target);
            }
            return 0;
        case WM_CTLCOLORSTATIC:
            SetTextColor(reinterpret_cast<HDC>(wp), ColorOf(Role::Text));
            SetBkColor(reinterpret_cast<HDC>(wp), ColorOf(Role::Background));
            return reinterpret_cast<LRESULT>(BrushOf(Role::Background));
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace zelvar::ui
