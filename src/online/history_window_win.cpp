#include "online/history_window_win.h"

#include "common/paths_win.h"
#include "online/history_text.h"
#include "common/site_address.h"
#include "online/update_rules.h"
#include "ui/art.h"
#include "online/online_ids.h"
#include "ui/controls_win.h"
#include "ui/gdi_win.h"

namespace zelvar {
namespace {

constexpr int kWidth = 507, kHeight = 340;
constexpr int kMemoHeight = 317;  // the rest below the strip
constexpr int kStripHeight = kHeight - kMemoHeight;
constexpr int kCloseStripWidth = 33;
constexpr int kLogoX = 4, kWordmarkX = 30, kBannerY = 3;
constexpr int kTitleX = 160;

}  // namespace

bool TFhistory::Create(HWND owner, LangLookup lookup) {
    lookup_ = std::move(lookup);
    return SecondaryWindow::Create(owner, ZELVAR_HISTORY_CLASS, L"", kWidth, kHeight, WS_POPUP | WS_CLIPCHILDREN, 0);
}

void TFhistory::Attach(HWND mainWindow, UINT downloadMessage) {
    mainWindow_ = mainWindow;
    message_ = downloadMessage;
}

void TFhistory::OnCreated() {
    // The banner is drawn on the strip itself, so the whole strip drags the window.
    label2_ = ui::CreateLabel(hwnd_, IDC_HISTORY_LABEL2, L"", 0, 0, 0, 0, SS_LEFT | SS_ENDELLIPSIS);
    ui::MakeBold(label2_);
    // Read-only, wrapped at the window's width, scrolled up and down only.
    // Right after the title, which names it for a screen reader.
    memo_ = ui::CreateChild(L"EDIT", L"",
                            WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0,
                            0, hwnd_, IDC_HISTORY_MEMO1);
    SendMessageW(memo_, EM_SETLIMITTEXT, 0, 0);  // as long as the file is
    image1_ = ui::CreatePicture(hwnd_, IDC_HISTORY_IMAGE1, kBitmapClose, 0, 0, 0, 0, true);
    LayOut();
}

void TFhistory::LayOut() {
    // 507 x 340 at 96 dpi, scaled to the screen: the strip, the close image
    // at its right end (above the accent line), the text below.
    ui::ApplyFonts(hwnd_, ui::DpiOf(hwnd_));
    SetWindowPos(hwnd_, nullptr, 0, 0, S(kWidth), S(kHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ui::Move(label2_, S(kTitleX), S(4), S(kWidth - kCloseStripWidth - kTitleX - 4), S(kStripHeight - 6));
    ui::Move(image1_, S(kWidth - kCloseStripWidth), 0, S(kCloseStripWidth), S(kStripHeight - 1));
    ui::Move(memo_, 0, S(kStripHeight), S(kWidth), S(kMemoHeight));
    SendMessageW(memo_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(S(6), S(6)));
}

void TFhistory::ShowChangeHistory() {
    StartDownload(mainWindow_, message_, DownloadKind::History, HistoryFileAddress(),
                  FileBesideExe(L"zelvar_history.txt"));
}

void TFhistory::OnDownloadDone(std::unique_ptr<DownloadDone> done) {
    if (!done) return;
    // A failed fetch leaves the copy fetched last time as it was.
    const auto copy = ReadFileBytes(done->localFile);
    if (ChooseHistorySource(done->result.Ok(), copy.has_value()) == HistorySource::None) return;
    if (!EnsureMade()) return;

    if (lookup_) ui::SetText(label2_, lookup_(L"history"));
    ui::SetText(memo_, DecodeHistoryText(*copy));
    SendMessageW(memo_, EM_SETSEL, 0, 0);
    SendMessageW(memo_, WM_VSCROLL, SB_TOP, 0);
    // A window the user has moved aside stays there when it is refreshed.
    if (IsVisible()) {
        Show();
    } else {
        LayOut();
        ShowOver(mainWindow_);
    }
}

void TFhistory::PaintStrip() {
    ui::PaintDc paint(hwnd_);
    const int dpi = ui::DpiOf(hwnd_);
    ui::Theme& theme = ui::CurrentTheme();
    if (HBITMAP logo = theme.Picture(kBitmapLogo, dpi)) ui::DrawBitmap(paint.get(), logo, S(kLogoX), S(kBannerY));
    if (HBITMAP wordmark = theme.Picture(kBitmapWordmark, dpi))
        ui::DrawBitmap(paint.get(), wordmark, S(kWordmarkX), S(kBannerY));
    // A thin accent line closes the strip off from the text.
    RECT line{0, S(kStripHeight) - S(1), S(kWidth), S(kStripHeight)};
    FillRect(paint.get(), &line, ui::BrushOf(ui::Role::Accent));
}

LRESULT TFhistory::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCHITTEST: {
            // The window's own surface drags it like a caption.
            const LRESULT hit = DefWindowProcW(hwnd_, msg, wp, lp);
            return hit == HTCLIENT ? HTCAPTION : hit;
        }
        case WM_PAINT: PaintStrip(); return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == IDC_HISTORY_IMAGE1 && HIWORD(wp) == STN_CLICKED) Hide();
            return 0;
    }
    return SecondaryWindow::HandleMessage(msg, wp, lp);
}

}  // namespace zelvar
