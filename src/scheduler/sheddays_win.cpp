#include "scheduler/sheddays_win.h"

#include <array>

#include "common/ini_win.h"
#include "common/os_error_win.h"
#include "scheduler/schedule_file.h"
#include "scheduler/scheduler_engine_win.h"
#include "ui/art.h"
#include "scheduler/scheduler_ids.h"
#include "ui/controls_win.h"
#include "ui/gdi_win.h"
#include "ui/message_loop_win.h"

namespace zelvar {
namespace {

constexpr int kStripH = 16;  // Image5, the title strip
constexpr int kPanelW = 228, kPanelH = 180;
constexpr int kBoxW = 49, kBoxH = 17, kBoxStep = 24;
constexpr int kSystbutW = 33, kSystbutH = 20;

}  // namespace

bool Tfsheddays::Create(HWND owner, LangLookup lookup) {
    lookup_ = std::move(lookup);
    return SecondaryWindow::Create(owner, ZELVAR_SHEDDAYS_CLASS, L"", kPanelW + 6, kPanelH + kStripH + 10, WS_POPUP);
}

void Tfsheddays::OnCreated() {
    using namespace ui;
    hints_.Attach(hwnd_);
    Image5 = CreatePicture(hwnd_, 0, kBitmapLogo, 0, 0, 0, 0);
    Label2 = CreateLabel(hwnd_, IDC_SHEDDAYS_LABEL2, L"", 0, 0, 0, 0);
    MakeBold(Label2);
    systbut = CreateForwardingPanel(hwnd_, IDC_SHEDDAYS_SYSTBUT, 0, 0, 0, 0);
    ShowWindow(systbut, SW_SHOWNA);
    Image1 = CreatePicture(systbut, IDC_SHEDDAYS_IMAGE1, kBitmapClose, 0, 0, 0, 0, true);
    Panel1 = CreateForwardingPanel(hwnd_, IDC_SHEDDAYS_PANEL1, 0, 0, 0, 0);
    ShowWindow(Panel1, SW_SHOWNA);
    for (int d = 0; d < 7; ++d) {
        CheckBox[d] = CreateCheckBox(Panel1, IDC_SHEDDAYS_CHECKBOX_FIRST + d, L"", 0, 0, 0, 0);
        SetChecked(CheckBox[d], true);  // all ticked when the program starts
    }
    Label4 = CreateLabel(Panel1, IDC_SHEDDAYS_LABEL4, L"", 0, 0, 0, 0, SS_CENTER);
    Label1 = CreateLabel(Panel1, IDC_SHEDDAYS_LABEL1, L"", 0, 0, 0, 0, SS_CENTER);
    MakeBold(Label1);
    PNGButton3 = CreateImageButton(Panel1, IDC_SHEDDAYS_PNGBUTTON3, L"", 0, 0, 0, 0);
    Image7 = CreatePicture(Panel1, IDC_SHEDDAYS_IMAGE7, kBitmapPanel3, 0, 0, 0, 0);
    FitToTitle(L"");
}

void Tfsheddays::Prepare(const std::wstring& direction, const std::wstring& heading, const std::wstring& timeText) {
    EnsureMade();
    onofflabel = direction;
    ui::SetText(Label4, heading);
    ui::SetText(Label1, timeText);
    TimeLabel = timeText;
}

void Tfsheddays::FormActivate() {
    // The texts in the language chosen now, at every showing.
    const std::wstring caption = lookup_(L"copyother");
    SetCaption(caption);
    ui::SetText(Label2, caption);
    FitToTitle(caption);
    for (int d = 0; d < 7; ++d) {
        hints_.Set(CheckBox[d], lookup_(L"w" + std::to_wstring(d + 1)));
        ui::SetText(CheckBox[d], lookup_(L"ws" + std::to_wstring(d + 1)));
    }
    ui::SetText(PNGButton3, lookup_(L"apply"));
    hints_.Set(PNGButton3, lookup_(L"apply"));
}

void Tfsheddays::FitToTitle(const std::wstring& caption) {
    // The layout: the white panel below the title strip, the dialog around
    // it, the close glyph at the right end of the strip, the day boxes one
    // under the other, the heading and the button centred beside them, the
    // picture's bottom on the last box's. As wide as the design, or as the
    // title of this language needs; every size scaled to the screen.
    const int dpi = ui::DpiOf(hwnd_);
    ui::ApplyFonts(hwnd_, dpi);
    int titleWidth = 0;
    if (ui::WindowDc dc(Label2); dc.get()) {
        ui::Selection font(dc.get(), ui::BoldFont(dpi));
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
        titleWidth = size.cx;
    }
    const int width = std::max(S(kPanelW + 6), S(26) + titleWidth + S(8 + kSystbutW + 1));
    const int panelW = width - S(6);
    RECT rc{0, 0, width, S(kPanelH + kStripH + 10)};
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ui::Move(Image5, S(2), 0, S(20), S(kStripH + 2));
    ui::Move(Label2, S(26), S(2), width - S(26 + kSystbutW + 2), S(kStripH));
    ui::Move(systbut, width - S(kSystbutW + 1), 0, S(kSystbutW), S(kSystbutH));
    ui::Move(Image1, S((kSystbutW - 16) / 2), S(2), S(16), S(16));
    ui::Move(Panel1, S(3), S(kStripH + 8), panelW, S(kPanelH));
    for (int d = 0; d < 7; ++d) ui::Move(CheckBox[d], S(8), S(8 + d * kBoxStep), S(kBoxW), S(kBoxH));
    const int roomLeft = S(8 + kBoxW + 13), roomW = panelW - roomLeft - S(8);
    ui::Move(Label4, roomLeft, S(10), roomW, S(34));
    ui::Move(Label1, roomLeft, S(48), roomW, S(20));
    ui::Move(PNGButton3, roomLeft + (roomW - S(100)) / 2, S(76), S(100), S(30));
    const int lastBottom = S(8 + 6 * kBoxStep + kBoxH);
    ui::Move(Image7, panelW - S(64 + 8), lastBottom - S(63), S(64), S(63));
}

void Tfsheddays::ShowModal(HWND window) {
    if (modal_) return;
    modal_ = true;
    EnableWindow(window, FALSE);
    FitToTitle(lookup_(L"copyother"));
    ShowOver(window);
    // The dialog's own loop; every other window and timer of the program is
    // served by it meanwhile.
    MSG msg;
    while (modal_ && IsWindowVisible(hwnd_)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the program ends: leave the loop
            break;
        }
        if (!ui::TranslateDialogKeys(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    modal_ = false;
    EnableWindow(window, TRUE);
    Hide();
    SetForegroundWindow(window);
}

void Tfsheddays::EndModal() {
    modal_ = false;
    Hide();
}

void Tfsheddays::PNGButton3Click() {
    std::array<bool, 7> days{};
    for (int d = 0; d < 7; ++d) days[static_cast<size_t>(d)] = ui::IsChecked(CheckBox[d]);
    IniFile schedule(ScheduleFile());
    if (!CopyTimeToDays(schedule, days, onofflabel, TimeLabel))
        MessageBoxW(hwnd_, L"Error..", ApplicationTitle(), MB_OK);
    EndModal();  // in every case
}

void Tfsheddays::Image1Click() { EndModal(); }

bool Tfsheddays::OnEscape() {
    Image1Click();
    return true;
}

bool Tfsheddays::OnEnter(HWND focus) {
    // Enter presses the focused button, and apply from a day box.
    ui::PressButton(focus == Image1 ? Image1 : PNGButton3);
    return true;
}

LRESULT Tfsheddays::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) FormActivate();
            break;  // the focus as in every secondary window
        case WM_NCHITTEST: {
            // The dialog's own surface (strip and frame) drags it.
            LRESULT hit = DefWindowProcW(hwnd_, msg, wp, lp);
            return hit == HTCLIENT ? HTCAPTION : hit;
        }
        case WM_CLOSE: EndModal(); return 0;
        case WM_COMMAND:
            if (HIWORD(wp) != BN_CLICKED) return 0;
            if (LOWORD(wp) == IDC_SHEDDAYS_PNGBUTTON3) PNGButton3Click();
            else if (LOWORD(wp) == IDC_SHEDDAYS_IMAGE1) Image1Click();
            return 0;
        case WM_DRAWITEM: ui::DrawImageButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp)); return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            // The panel is white with the dark text; the strip is dark with white.
            HDC dc = reinterpret_cast<HDC>(wp);
            const auto control = reinterpret_cast<HWND>(lp);
            const bool onPanel = control == Panel1 || GetParent(control) == Panel1;
            SetTextColor(dc, ui::ColorOf(onPanel ? ui::Role::Ink : ui::Role::Text));
            SetBkColor(dc, ui::ColorOf(onPanel ? ui::Role::Paper : ui::Role::Background));
            return reinterpret_cast<LRESULT>(ui::BrushOf(onPanel ? ui::Role::Paper : ui::Role::Background));
        }
    }
    return SecondaryWindow::HandleMessage(msg, wp, lp);
}

}  // namespace zelvar
