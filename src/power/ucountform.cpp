#include "power/ucountform.h"

#include <oleacc.h>

#include "ui/accessible_win.h"
#include "ui/art.h"
#include "power/power_ids.h"
#include "ui/control_ids.h"
#include "ui/controls_win.h"
#include "ui/message_loop_win.h"
#include "power/oneshot_rules.h"

namespace zelvar {
namespace {
constexpr UINT_PTR kTickerId = 1;
}

bool TCountForm::Create(HWND owner) {
    // A button on the taskbar while it counts (an owned window has none of
    // its own): Alt+Tab reaches it from the keyboard.
    if (!SecondaryWindow::Create(owner, ZELVAR_COUNT_CLASS, L"Zelvar", 254, 97, WS_POPUP,
                                 WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_APPWINDOW))
        return false;
    SetLayeredWindowAttributes(hwnd_, 0, 150, LWA_ALPHA);
    // Its taskbar button shows the program's icon (a shared one: never destroyed).
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ZELVAR));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return true;
}

void TCountForm::OnCreated() {
    image1_ = ui::CreatePicture(hwnd_, IDC_COUNT_IMAGE1, kBitmapCountdown, 0, 0, 0, 0);
    label_ = ui::CreateLabel(hwnd_, IDC_COUNT_LABEL1, L"00:30", 0, 0, 0, 0);
    ui::KeepOwnFont(label_);
    image2_ = ui::CreatePictureButton(hwnd_, IDC_COUNT_IMAGE2, kBitmapCountCancel, 0, 0, 0, 0);
    LayOut();
    NameForReaders();
}

void TCountForm::LayOut() {
    // 254 x 97 at 96 dpi, centred on the screen, scaled to it.
    const int w = S(254), h = S(97);
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ui::Move(image1_, S(16), S(16), S(64), S(64));
    // The face the system gives for "MS Sans Serif" may be wider than the
    // design's: the count starts a little further left and has the room up
    // to the cancel button.
    ui::Move(label_, S(92), S(22), S(122), S(56));
    SendMessageW(label_, WM_SETFONT,
                 reinterpret_cast<WPARAM>(ui::CurrentTheme().Font(L"MS Sans Serif", 40, FW_NORMAL, ui::DpiOf(hwnd_))),
                 TRUE);
    ui::Move(image2_, S(216), S(58), S(32), S(32));
}

void TCountForm::TakeTexts(const ui::TextLookup& text) {
    offSentence_ = text(L"countoff");
    restartSentence_ = text(L"countrestart");
    cancelName_ = text(L"cancel");
    NameForReaders();  // once made; until then OnCreated does
}

void TCountForm::NameForReaders() {
    if (!hwnd_) return;
    ui::SetAccessibleName(image2_, cancelName_);
    const std::wstring& sentence = ending_ == Ending::Restart ? restartSentence_ : offSentence_;
    ui::SetAccessibleName(hwnd_, CountdownAlertText(sentence, countLeft_), ROLE_SYSTEM_ALERT, /*quiet=*/true);
}

void TCountForm::SetCount(int seconds) {
    countLeft_ = seconds;
    ui::SetText(label_, CountdownText(seconds));
    NameForReaders();  // read when asked, not announced every second
}

void TCountForm::StartCount(int seconds, Ending ending) {
    const bool opening = !IsVisible();
    ending_ = ending;
    SetCount(seconds);
    if (opening) LayOut();
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SetTimer(hwnd_, kTickerId, 1000, nullptr);
    tickerRunning_ = true;
    if (opening) {
        // The warning can be answered at once: Esc or Enter cancels. Where
        // Windows keeps the foreground for the program the user is typing
        // in, the window still stands on top, its taskbar button flashes,
        // and Alt+Tab reaches it.
        SetForegroundWindow(hwnd_);
        SetFocus(image2_);
        ui::AnnounceAlert(hwnd_);
    }
}

void TCountForm::Cancel() {
    if (onCancel_) onCancel_();
}

void TCountForm::StopTicker() {
    KillTimer(hwnd_, kTickerId);
    tickerRunning_ = false;
}

void TCountForm::Reset() {
    StopTicker();
    Hide();
    SetCount(30);
}

void TCountForm::Tick() {
    if (countLeft_ == 0) {
        StopTicker();
        Hide();
        return;
    }
    SetCount(countLeft_ - 1);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool TCountForm::OnEscape() {
    Cancel();
    return true;
}

bool TCountForm::OnEnter(HWND) {
    Cancel();
    return true;
}

LRESULT TCountForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            if (wp == kTickerId) {
                ui::PumpMessages();
                if (tickerRunning_) Tick();  // a handler in the pump may have stopped it
            }
            return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == IDC_COUNT_IMAGE2) Cancel();
            return 0;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (item.hwndItem != image2_) break;
            ui::DrawPictureButton(item);
            return TRUE;
        }
        case WM_NCHITTEST: {
            LRESULT hit = DefWindowProcW(hwnd_, msg, wp, lp);
            return hit == HTCLIENT ? HTCAPTION : hit;  // the window can be moved aside
        }
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;  // moving it aside leaves the activation where it is
    }
    return SecondaryWindow::HandleMessage(msg, wp, lp);
}

}  // namespace zelvar
