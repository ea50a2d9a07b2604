#include "online/about_window.h"

#include "common/version.h"
#include "ui/links_win.h"
#include "common/web_addresses.h"
#include "ui/art.h"
#include "online/online_ids.h"
#include "ui/controls_win.h"

namespace zelvar {
namespace {

constexpr int kLogoW = 266, kLogoH = 137, kLabelH = 20, kButtonW = 90, kButtonH = 28;

}  // namespace

bool TFabout::Create(HWND owner, LangLookup lookup) {
    lookup_ = std::move(lookup);
    return SecondaryWindow::Create(owner, ZELVAR_ABOUT_CLASS, L"", kLogoW + 12, 300, WS_POPUP | WS_CAPTION, 0);
}

void TFabout::OnCreated() {
    image1_ = ui::CreatePicture(hwnd_, IDC_ABOUT_IMAGE1, kBitmapAbout, 3, 3, kLogoW, kLogoH, true);
    label3_ = ui::CreateLabel(hwnd_, IDC_ABOUT_LABEL3, L"", 0, 0, 10, kLabelH, SS_CENTER);
    label1_ = ui::CreateLabel(hwnd_, IDC_ABOUT_LABEL1, L"\x00A9 2026 Zelvar", 0, 0, 10, kLabelH, SS_CENTER);
    label2_ = ui::CreateLink(hwnd_, IDC_ABOUT_LABEL2, WebSiteAddress().c_str(), 0, 0, 10, kLabelH);
    label16_ = ui::CreateLink(hwnd_, IDC_ABOUT_LABEL16, kMailAddress, 0, 0, 10, kLabelH);
    for (HWND l : {label3_, label1_, label2_, label16_}) ui::MakeBold(l);
    button1_ = ui::CreateImageButton(hwnd_, IDC_ABOUT_PNGBUTTON1, L"Ok", 0, 0, kButtonW, kButtonH);
    LayoutAboutWindow();
}

void TFabout::LayoutAboutWindow() {
    ui::SetText(label3_, MainWindowCaption());
    ui::ApplyFonts(hwnd_, ui::DpiOf(hwnd_));
    const int width = S(kLogoW + 12);
    ui::Move(image1_, S(3), S(3), S(kLogoW), S(kLogoH));
    int top = ui::Bottom(image1_) + S(4);
    for (HWND label : {label3_, label1_, label2_, label16_}) {
        ui::Move(label, 0, top, width, S(kLabelH));
        top = ui::Bottom(label) + S(4);
    }
    ui::Move(button1_, width / 2 - S(kButtonW) / 2, ui::Bottom(label16_) + S(10), S(kButtonW), S(kButtonH));
    // The client area takes the size; the frame follows.
    RECT rc{0, 0, width, ui::Bottom(button1_) + S(36)};
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TFabout::OnEnter(HWND focus) {
    // Enter presses the focused link or button; elsewhere it means Ok.
    ui::PressButton(focus && (focus == label2_ || focus == label16_) ? focus : button1_);
    return true;
}

HBRUSH TFabout::Background() const { return ui::BrushOf(ui::Role::Paper); }

LRESULT TFabout::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATE:
            // Each activation takes the caption in the language chosen now.
            if (LOWORD(wp) != WA_INACTIVE) {
                if (lookup_) SetCaption(lookup_(L"menuabout"));
                LayoutAboutWindow();
            }
            break;  // the focus is handled as in every secondary window
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDC_ABOUT_IMAGE1:
                case IDC_ABOUT_LABEL2: OpenLink(hwnd_, ui::GetText(label2_)); return 0;
                case IDC_ABOUT_LABEL16: OpenMailLink(); return 0;
                case IDC_ABOUT_PNGBUTTON1: Hide(); return 0;
            }
            return 0;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (item.hwndItem == label2_ || item.hwndItem == label16_)
                ui::DrawLink(item, ui::ColorOf(ui::Role::Paper), ui::ColorOf(ui::Role::PaperLink),
                             ui::ColorOf(ui::Role::PaperLinkHot), ui::BoldFont(ui::DpiOf(hwnd_)));
            else ui::DrawImageButton(item);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            // The version line orange, the fixed line dark.
            HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, ui::ColorOf(reinterpret_cast<HWND>(lp) == label3_ ? ui::Role::Accent : ui::Role::Ink));
            SetBkColor(dc, ui::ColorOf(ui::Role::Paper));
            return reinterpret_cast<LRESULT>(ui::BrushOf(ui::Role::Paper));
        }
    }
    return SecondaryWindow::HandleMessage(msg, wp, lp);
}

}  // namespace zelvar
