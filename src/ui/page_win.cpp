#include "ui/page_win.h"

namespace zelvar::ui {

bool Page::Create(HWND mainWindow, int panelId, Hints& hints, const AppliedTexts& texts) {
    hints_ = &hints;
    texts_ = &texts;
    return CreateBound(L"ZelvarPage", L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, 0, 0, 300,
                       259, mainWindow, panelId);
}

void Page::Make() {
    if (made_ || !hwnd_) return;
    made_ = true;
    CreateControls();  // the controls take their fonts at the panel's density
    if (texts_ && !texts_->Empty()) ApplyTexts(texts_->Lookup());
    if (placed_) Layout();
    OnMade();
}

void Page::Place(const RECT& rect, int dpi) {
    dpi_ = dpi;
    placed_ = true;
    Move(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    if (made_) Layout();
}

int Page::Width() const {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    return rc.right;
}

int Page::Height() const {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    return rc.bottom;
}

LRESULT Page::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)); return 0;
        case WM_NOTIFY: return OnNotify(reinterpret_cast<NMHDR*>(lp));
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (!OnDrawItem(item) && item.CtlType == ODT_BUTTON) DrawImageButton(item);
            return TRUE;
        }
        case WM_MEASUREITEM: OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp)); return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, TextColor(reinterpret_cast<HWND>(lp)));
            SetBkColor(dc, ColorOf(Role::Background));
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(BrushOf(Role::Background));
        }
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace zelvar::ui
