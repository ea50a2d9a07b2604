#include "online/about_window.h"

#include <shellapi.h>

#include "app/art.h"
#include "app/control_ids.h"
#include "app/ui_win.h"
#include "app/zelvar.h"
#include "online/web_addresses.h"

namespace zelvar {
namespace {

constexpr int kLogoW = 266, kLogoH = 137, kLabelH = 20, kButtonW = 90, kButtonH = 28;

int Bottom(HWND control) {
    const RECT r = ui::ChildRect(control);
    return r.bottom;
}

}  // namespace

bool TFabout::Create(HINSTANCE instance, HWND owner, LangLookup lookup) {
    lookup_ = std::move(lookup);
    return SecondaryWindow::Create(instance, owner, ZELVAR_ABOUT_CLASS, L"", kLogoW + 12, 300, WS_POPUP | WS_CAPTION, 0,
                                   ui::WhiteBrush());
}

void TFabout::OnCreated() {
    image1_ = ui::CreatePicture(hwnd_, IDC_ABOUT_IMAGE1, kBitmapAbout, 3, 3, kLogoW, kLogoH, true);
    label3_ = ui::CreateLabel(hwnd_, IDC_ABOUT_LABEL3, L"", 0, 0, 10, kLabelH, SS_CENTER);
    label1_ = ui::CreateLabel(hwnd_, IDC_ABOUT_LABEL1, L"\x00A9 2026 Zelvar", 0, 0, 10, kLabelH, SS_CENTER);
    label2_ = ui::CreateLink(hwnd_, IDC_ABOUT_LABEL2, WebSiteAddress().c_str(), 0, 0, 10, kLabelH);
    label16_ = ui::CreateLink(hwnd_, IDC_ABOUT_LABEL16, kMailAddress, 0, 0, 10, kLabelH);
    for (HWND l : {label3_, label1_, label2_, label16_})
        SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(ui::BoldFont()), FALSE);
    button1_ = ui::CreateImageButton(hwnd_, IDC_ABOUT_PNGBUTTON1, L"Ok", 0, 0, kButtonW, kButtonH);
    LayoutAboutWindow();
}

void TFabout::LayoutAboutWindow() {
    ui::SetText(label3_, MainWindowCaption());
    const int width = kLogoW + 12;
    ui::Move(image1_, 3, 3, kLogoW, kLogoH);
    int top = Bottom(image1_) + 4;
    for (HWND label : {label3_, label1_, label2_, label16_}) {
        ui::Move(label, 0, top, width, kLabelH);
        top = Bottom(label) + 4;
    }
    ui::Move(button1_, width / 2 - kButtonW / 2, Bottom(label16_) + 10, kButtonW, kButtonH);
    // The client area takes the size; the frame follows.
    RECT rc{0, 0, width, Bottom(button1_) + 36};
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFabout::ShowOver(HWND mainWindow) {
    RECT owner{}, self{};
    GetWindowRect(mainWindow, &owner);
    GetWindowRect(hwnd_, &self);
    const int x = (owner.left + owner.right) / 2 - (self.right - self.left) / 2;
    const int y = (owner.top + owner.bottom) / 2 - (self.bottom - self.top) / 2;
    SetWindowPos(hwnd_, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
    Show();
}

LRESULT TFabout::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATE:
            // Each activation takes the caption in the language chosen now.
            if (LOWORD(wp) != WA_INACTIVE) {
                if (lookup_) SetCaption(lookup_(L"menuabout"));
                LayoutAboutWindow();
            }
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDC_ABOUT_IMAGE1:
                case IDC_ABOUT_LABEL2:
                    ShellExecuteW(hwnd_, L"open", ui::GetText(label2_).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
                    return 0;
                case IDC_ABOUT_LABEL16: {
                    const std::wstring link = std::wstring(L"mailto:") + kMailAddress;
                    ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOW);
                    return 0;
                }
                case IDC_ABOUT_PNGBUTTON1:
                    Hide();
                    return 0;
            }
            return 0;
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            ui::DrawImageButton(*item, ui::IsHot(item->hwndItem));
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            // Version line orange; links dark, orange under the pointer.
            HDC dc = reinterpret_cast<HDC>(wp);
            auto control = reinterpret_cast<HWND>(lp);
            COLORREF color = ui::kDark;
            if (control == label3_ || ((control == label2_ || control == label16_) && ui::IsHot(control)))
                color = ui::kAccent;
            SetTextColor(dc, color);
            SetBkColor(dc, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(ui::WhiteBrush());
        }
    }
    return SecondaryWindow::HandleMessage(msg, wp, lp);
}

}  // namespace zelvar
