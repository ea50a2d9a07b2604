#include "online/about_page_win.h"

#include "online/links_win.h"
#include "online/web_addresses.h"
#include "ui/art.h"
#include "ui/control_ids.h"

namespace zelvar {

void AboutPage::CreateControls() {
    using namespace ui;
    Image4 = CreatePicture(hwnd_, IDC_IMAGE4, kBitmapAbout, 0, 0, 128, 96, true);
    Label15 = CreateLabel(hwnd_, IDC_LABEL15, L"", 0, 0, 0, 0, SS_CENTER);
    ui::MakeBold(Label15);
    Label13 = CreateLink(hwnd_, IDC_LABEL13, kSiteName, 0, 0, 0, 0);
    Label16 = CreateLink(hwnd_, IDC_LABEL16, kMailAddress, 0, 0, 0, 0);
    Label23 = CreateLink(hwnd_, IDC_LABEL23, L"", 0, 0, 0, 0);
}

void AboutPage::Layout() {
    const int w = Width();
    ui::Move(Image4, (w - S(128)) / 2, S(14), S(128), S(96));
    ui::Move(Label15, S(10), S(120), w - S(20), S(22));
    ui::Move(Label13, S(10), S(150), w - S(20), S(20));
    ui::Move(Label16, S(10), S(174), w - S(20), S(20));
    ui::Move(Label23, S(10), S(198), w - S(20), S(20));
}

void AboutPage::ApplyTexts(const ui::TextLookup& text) { ui::SetText(Label23, text(L"history")); }

void AboutPage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return;
    switch (id) {
        // The picture and the site link lead to the maker's web site.
        case IDC_IMAGE4:
        case IDC_LABEL13: OpenWebSite(GetAncestor(hwnd_, GA_ROOT)); return;
        case IDC_LABEL16: OpenMailLink(); return;
        case IDC_LABEL23:
            if (showChangeHistory_) showChangeHistory_();
            return;
    }
}

bool AboutPage::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    // Links in the accent colour on the dark page, white under the pointer.
    ui::DrawLink(item, ui::kDark, ui::kAccent, ui::kText, ui::MainFont(dpi_));
    return true;
}

}  // namespace zelvar
