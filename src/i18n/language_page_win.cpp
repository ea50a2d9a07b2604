#include "i18n/language_page_win.h"

#include <commctrl.h>

#include "i18n/lang_lookup.h"
#include "ui/links_win.h"
#include "ui/art.h"
#include "i18n/language_ids.h"

namespace zelvar {

void LanguagePage::CreateControls() {
    using namespace ui;
    Image7 = CreatePicture(hwnd_, IDC_IMAGE7, kBitmapPanel2, 0, 0, 64, 64, true);
    Label2 = CreateLabel(hwnd_, IDC_LABEL2, L"", 0, 0, 0, 0);
    ComboBox1 = CreateChild(WC_COMBOBOXW, L"", WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 0, 0,
                            hwnd_, IDC_COMBOBOX1);
    // The entries read the same in every language.
    for (const auto& language : LanguageList()) {
        const std::wstring name(language.listEntry);
        SendMessageW(ComboBox1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    PNGButton3 = CreateImageButton(hwnd_, IDC_PNGBUTTON3, L"", 0, 0, 0, 0);
}

void LanguagePage::Layout() {
    ui::Move(Label2, S(10), S(12), Width() - S(20), S(20));
    ui::Move(ComboBox1, S(10), S(38), S(180), S(200));
    ui::Move(PNGButton3, S(10), S(76), S(118), S(28));
    ui::Move(Image7, Width() - S(2 + 64), Height() - S(2 + 64), S(64), S(64));
}

int LanguagePage::SelectedLanguage() const {
    if (!Made()) return selected_;
    return static_cast<int>(SendMessageW(ComboBox1, CB_GETCURSEL, 0, 0));
}

void LanguagePage::SelectLanguage(int index) {
    selected_ = index >= 0 && index < static_cast<int>(LanguageList().size()) ? index : 0;
    if (Made()) SendMessageW(ComboBox1, CB_SETCURSEL, selected_, 0);
}

void LanguagePage::OnMade() { SendMessageW(ComboBox1, CB_SETCURSEL, selected_, 0); }

void LanguagePage::PNGButton3Click() {
    applyLanguage_();
    InvalidateRect(PNGButton3, nullptr, TRUE);
    UpdateWindow(PNGButton3);
}

void LanguagePage::ApplyTexts(const ui::TextLookup& text) {
    ui::SetText(Label2, text(L"languageintro"));
    ui::SetCaptionAndHint(PNGButton3, *hints_, text, L"apply");
}

void LanguagePage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return;
    if (id == IDC_PNGBUTTON3) PNGButton3Click();
    else if (id == IDC_IMAGE7) OpenWebSite(GetAncestor(hwnd_, GA_ROOT));
}

}  // namespace zelvar
