#include "app/options_page_win.h"

#include "app/autostart_win.h"
#include "ui/accessible_win.h"
#include "ui/links_win.h"
#include "ui/art.h"
#include "app/main_ids.h"
#include "ui/gdi_win.h"

namespace zelvar {

void OptionsPage::CreateControls() {
    using namespace ui;
    Image6 = CreatePicture(hwnd_, IDC_IMAGE6, kBitmapPanel1, 0, 0, 64, 64, true);
    CheckBox2 = CreateCheckBox(hwnd_, IDC_CHECKBOX2, L"", 0, 0, 0, 0);
    CheckBox4 = CreateCheckBox(hwnd_, IDC_CHECKBOX4, L"", 0, 0, 0, 0);
    CheckBox5 = CreateCheckBox(hwnd_, IDC_CHECKBOX5, L"", 0, 0, 0, 0);
    CheckBox6 = CreateCheckBox(hwnd_, IDC_CHECKBOX6, L"", 0, 0, 0, 0);
    // Two boxes carry their text in a label beside them; the label is drawn
    // here so it shows the box's focus, and a click on it ticks the box as a
    // click on the other boxes' captions does.
    CheckBox7 = CreateCheckBox(hwnd_, IDC_CHECKBOX7, L"", 0, 0, 0, 0);
    Label19 = CreateLabel(hwnd_, IDC_LABEL19, L"", 0, 0, 0, 0, SS_OWNERDRAW | SS_NOTIFY);
    CheckBox10 = CreateCheckBox(hwnd_, IDC_CHECKBOX10, L"", 0, 0, 0, 0);
    Label24 = CreateLabel(hwnd_, IDC_LABEL24, L"", 0, 0, 0, 0, SS_OWNERDRAW | SS_NOTIFY);
    policyInfo_ = CreateLabel(hwnd_, IDC_LABEL_POLICY_OPTIONS, L"", 0, 0, 0, 0);
    SetVisible(policyInfo_, false);
}

void OptionsPage::Layout() {
    // One row per box, 32 pixels high, or higher when its caption wraps onto
    // more lines than that leaves room for in this language.
    const int boxW = Width() - S(23);
    ui::WindowDc dc(hwnd_);
    ui::Selection font(dc.get(), ui::MainFont(dpi_));
    auto textHeight = [&](HWND control, int width) {
        const std::wstring text = ui::GetText(control);
        RECT r{0, 0, width, 0};
        DrawTextW(dc.get(), text.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        return static_cast<int>(r.bottom);
    };
    const int glyph = GetSystemMetrics(SM_CXMENUCHECK) + S(4);
    // A row that reaches down to the page's picture keeps clear of it.
    const int pictureTop = Height() - S(2 + 64 + 2);
    const int besidePicture = Width() - S(2 + 64 + 4);
    int top = S(6);
    for (HWND box : {CheckBox2, CheckBox4, CheckBox5, CheckBox6}) {
        int w = boxW, rowH = std::max(S(32), textHeight(box, w - glyph) + S(8));
        if (top + rowH > pictureTop) {
            w = besidePicture - S(10);
            rowH = std::max(S(32), textHeight(box, w - glyph) + S(8));
        }
        ui::Move(box, S(10), top, w, rowH);
        top += rowH;
    }
    for (auto [box, label] : {std::pair{CheckBox7, Label19}, std::pair{CheckBox10, Label24}}) {
        int w = boxW - S(20), labelH = textHeight(label, w);
        if (top + labelH + S(9) > pictureTop) {
            w = besidePicture - S(28);
            labelH = textHeight(label, w);
        }
        const int rowH = std::max(S(32), labelH + S(9));
        ui::Move(box, S(10), top, S(16), S(32));
        ui::Move(label, S(28), top + S(9), w, std::max(S(30), labelH + 1));
        top += rowH;
    }
    // Under the rows, beside the picture: that the organisation manages some.
    const int infoW = besidePicture - S(10);
    ui::Move(policyInfo_, S(10), top + S(4), infoW, std::max(S(18), textHeight(policyInfo_, infoW) + S(2)));
    ui::Move(Image6, Width() - S(2 + 64), Height() - S(2 + 64), S(64), S(64));
}

void OptionsPage::LoadOptions(const Settings& s, bool registerAutoStart) {
    ui::SetChecked(CheckBox2, s.autoload);
    ui::SetChecked(CheckBox4, s.tray);
    ui::SetChecked(CheckBox5, s.allclose);
    ui::SetChecked(CheckBox6, s.logosound);
    ui::SetChecked(CheckBox7, s.autoupd);
    ui::SetChecked(CheckBox10, s.resetafteron);
    if (s.autoload && registerAutoStart) SetAutoStart(false);
}

void OptionsPage::StoreOptions(Settings& s) const {
    s.autoload = ui::IsChecked(CheckBox2);
    s.tray = ui::IsChecked(CheckBox4);
    s.allclose = ui::IsChecked(CheckBox5);
    s.logosound = ui::IsChecked(CheckBox6);
    s.autoupd = ui::IsChecked(CheckBox7);
    s.resetafteron = ui::IsChecked(CheckBox10);
}

void OptionsPage::TickFirstStartOptions() {
    if (IsWindowEnabled(CheckBox2)) {
        ui::SetChecked(CheckBox2, true);
        CheckBox2Click();
    }
    ui::SetChecked(CheckBox4, true);
    CheckBox4Click();
}

void OptionsPage::ApplyPolicy(const Settings& shown, const OptionLocks& locks, bool registerAutoStart) {
    const bool autoloadBefore = ui::IsChecked(CheckBox2);
    const std::pair<HWND, std::pair<bool, bool>> rows[] = {
        {CheckBox2, {shown.autoload, locks.autoload.has_value()}},
        {CheckBox5, {shown.allclose, locks.allclose.has_value()}},
        {CheckBox7, {shown.autoupd, locks.autoupd.has_value()}},
        {CheckBox10, {shown.resetafteron, locks.resetafteron.has_value()}},
    };
    for (const auto& [box, state] : rows) {
        ui::SetChecked(box, state.first);
        EnableWindow(box, !state.second);
    }
    InvalidateRect(Label19, nullptr, TRUE);
    InvalidateRect(Label24, nullptr, TRUE);
    ui::SetVisible(policyInfo_, locks.autoload || locks.allclose || locks.autoupd || locks.resetafteron);
    if (registerAutoStart && autoloadBefore != shown.autoload) CheckBox2Click();
}

void OptionsPage::CheckBox2Click() { SetAutoStart(!ui::IsChecked(CheckBox2)); }
void OptionsPage::CheckBox4Click() { saveSettings_(); }
void OptionsPage::CheckBox5Click() { saveSettings_(); }
void OptionsPage::CheckBox6Click() { saveSettings_(); }
void OptionsPage::CheckBox7Click() { saveSettings_(); }

void OptionsPage::ApplyTexts(const ui::TextLookup& text) {
    ui::SetText(CheckBox2, text(L"startwindows"));
    ui::SetText(CheckBox4, text(L"starttray"));
    ui::SetText(CheckBox5, text(L"closeapplications"));
    ui::SetText(CheckBox6, text(L"logosound"));
    ui::SetText(Label19, text(L"autoupdate"));
    InvalidateRect(Label19, nullptr, TRUE);
    ui::SetText(Label24, text(L"resetafteron"));
    InvalidateRect(Label24, nullptr, TRUE);
    // The two boxes read as the texts their labels draw.
    ui::SetAccessibleName(CheckBox7, text(L"autoupdate"));
    ui::SetAccessibleName(CheckBox10, text(L"resetafteron"));
    ui::SetText(policyInfo_, text(L"policymanaged"));
    if (placed_) Layout();  // the last caption of the language is on: the rows follow their texts
}

void OptionsPage::OnCommand(int id, int code, HWND) {
    switch (code) {
        case BN_CLICKED:  // also STN_CLICKED of the labels and pictures
            switch (id) {
                case IDC_CHECKBOX2: CheckBox2Click(); return;
                case IDC_CHECKBOX4: CheckBox4Click(); return;
                case IDC_CHECKBOX5: CheckBox5Click(); return;
                case IDC_CHECKBOX6: CheckBox6Click(); return;
                case IDC_CHECKBOX7: CheckBox7Click(); return;
                case IDC_LABEL19:
                    if (!IsWindowEnabled(CheckBox7)) return;  // set by the organisation
                    SetFocus(CheckBox7);
                    SendMessageW(CheckBox7, BM_CLICK, 0, 0);
                    return;
                case IDC_LABEL24:
                    if (!IsWindowEnabled(CheckBox10)) return;
                    SetFocus(CheckBox10);
                    SendMessageW(CheckBox10, BM_CLICK, 0, 0);
                    return;
                case IDC_IMAGE6: OpenWebSite(GetAncestor(hwnd_, GA_ROOT)); return;
            }
            return;
        case BN_SETFOCUS:
        case BN_KILLFOCUS:
            if (id == IDC_CHECKBOX7) InvalidateRect(Label19, nullptr, TRUE);
            if (id == IDC_CHECKBOX10) InvalidateRect(Label24, nullptr, TRUE);
            return;
    }
}

bool OptionsPage::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem != Label19 && item.hwndItem != Label24) return false;
    HWND box = item.hwndItem == Label19 ? CheckBox7 : CheckBox10;
    RECT rc = item.rcItem;
    FillRect(item.hDC, &rc, ui::BrushOf(ui::Role::Background));
    const std::wstring text = ui::GetText(item.hwndItem);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, ui::ColorOf(IsWindowEnabled(box) ? ui::Role::Text : ui::Role::Disabled));
    RECT textRect = rc;
    {
        ui::Selection font(item.hDC, ui::MainFont(dpi_));
        DrawTextW(item.hDC, text.c_str(), -1, &textRect, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        DrawTextW(item.hDC, text.c_str(), -1, &textRect, DT_WORDBREAK | DT_NOPREFIX);
    }
    if (GetFocus() == box && ui::ShowsFocusCues(box)) {
        InflateRect(&textRect, 1, 0);
        IntersectRect(&textRect, &textRect, &rc);
        DrawFocusRect(item.hDC, &textRect);
    }
    return true;
}

}  // namespace zelvar
