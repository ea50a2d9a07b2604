#include "app/startup_page_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include "app/startup_list.h"
#include "common/os_error_win.h"
#include "ui/links_win.h"
#include "ui/art.h"
#include "app/main_ids.h"
#include "ui/gdi_win.h"

namespace zelvar {

void StartupPage::CreateControls() {
    using namespace ui;
    Image9 = CreatePicture(hwnd_, IDC_IMAGE9, kBitmapPanel5, 0, 0, 0, 0, true);
    Label1 = CreateLabel(hwnd_, IDC_LABEL1, L"", 0, 0, 0, 0);
    ListBox1 = CreateChild(WC_LISTBOXW, L"",
                           WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0,
                           0, 0, hwnd_, IDC_LISTBOX1, WS_EX_CLIENTEDGE);
    PNGButton1 = CreateImageButton(hwnd_, IDC_PNGBUTTON1, L"", 0, 0, 0, 0);
    PNGButton4 = CreateImageButton(hwnd_, IDC_PNGBUTTON4, L"", 0, 0, 0, 0);
}

void StartupPage::Layout() {
    const int w = Width(), h = Height(), buttonW = S(118), buttonH = S(28);
    const int buttonsTop = h - S(8) - buttonH;
    ui::Move(Label1, S(10), S(8), w - S(20), S(34));
    ui::Move(ListBox1, S(10), S(46), w - S(20), buttonsTop - S(8) - S(46));
    ui::Move(PNGButton1, S(10), buttonsTop, buttonW, buttonH);
    ui::Move(PNGButton4, w - S(10) - buttonW, buttonsTop, buttonW, buttonH);
    ui::Move(Image9, w - S(1), h - S(1), 0, 0);
    FitScrollRange();
}

void StartupPage::FitScrollRange() {
    // The list scrolls sideways as far as its longest path needs, and not at
    // all while every path fits (an empty list shows no scroll bar).
    int widest = 0;
    if (ui::WindowDc dc(ListBox1); dc.get()) {
        ui::Selection font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(ListBox1, WM_GETFONT, 0, 0)));
        for (const auto& entry : ListBoxEntries()) {
            SIZE size{};
            GetTextExtentPoint32W(dc.get(), entry.c_str(), static_cast<int>(entry.size()), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        }
    }
    SendMessageW(ListBox1, LB_SETHORIZONTALEXTENT, widest > 0 ? widest + S(8) : 0, 0);
}

std::vector<std::wstring> StartupPage::ListBoxEntries() const { return entries_; }

void StartupPage::SetListBoxEntries(const std::vector<std::wstring>& entries, int selected) {
    entries_ = entries;
    selected_ = selected;
    if (!Made()) return;  // the list shows them when it is made
    SendMessageW(ListBox1, LB_RESETCONTENT, 0, 0);
    for (const auto& e : entries) SendMessageW(ListBox1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
    if (selected >= 0) SendMessageW(ListBox1, LB_SETCURSEL, selected, 0);
    ui::SetVisible(PNGButton4, !entries.empty());
    FitScrollRange();
    // The paths are longer than the panel is wide: the hint shows them whole.
    hints_->Set(ListBox1, ListTooltip(entries));
}

void StartupPage::OnMade() { SetListBoxEntries(entries_, selected_); }

void StartupPage::PNGButton1Click() {
    std::wstring file(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = GetAncestor(hwnd_, GA_ROOT);
    ofn.lpstrFilter = L"*.*\0*.*\0";
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    auto entries = ListBoxEntries();
    if (GetOpenFileNameW(&ofn)) AddPrograms(entries, {file.c_str()});
    SetListBoxEntries(entries, static_cast<int>(SendMessageW(ListBox1, LB_GETCURSEL, 0, 0)));
    saveSettings_();  // also after a cancelled dialog
    InvalidateRect(PNGButton1, nullptr, TRUE);
}

void StartupPage::PNGButton4Click() {
    InvalidateRect(PNGButton4, nullptr, TRUE);
    HWND owner = GetAncestor(hwnd_, GA_ROOT);
    const int index = static_cast<int>(SendMessageW(ListBox1, LB_GETCURSEL, 0, 0));
    if (index == LB_ERR) {
        MessageBoxW(owner, messages_.MsgSelString.c_str(), ApplicationTitle(), MB_OK);
        return;
    }
    auto entries = ListBoxEntries();
    const std::wstring question = entries[static_cast<size_t>(index)] + L"\r" + messages_.MsgRemoveExe;
    if (MessageBoxW(owner, question.c_str(), ApplicationTitle(), MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
    const int next = RemoveProgram(entries, index);
    SetListBoxEntries(entries, next);
    saveSettings_();
}

void StartupPage::ApplyTexts(const ui::TextLookup& text) {
    ui::SetText(Label1, text(L"startexeintro"));
    ui::SetCaptionAndHint(PNGButton1, *hints_, text, L"add");
    ui::SetCaptionAndHint(PNGButton4, *hints_, text, L"remove");
}

void StartupPage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDC_PNGBUTTON1: PNGButton1Click(); return;
        case IDC_PNGBUTTON4: PNGButton4Click(); return;
        case IDC_IMAGE9: OpenWebSite(GetAncestor(hwnd_, GA_ROOT)); return;
    }
}

}  // namespace zelvar
