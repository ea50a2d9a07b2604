// The main window's own controls (title strip, tree), its layout, its
// drawing and the navigation between its pages.
#include <windows.h>

#include "app/zelvar.h"
#include "ui/links_win.h"
#include "ui/art.h"
#include "app/main_ids.h"
#include "i18n/language_ids.h"
#include "online/online_ids.h"
#include "power/power_ids.h"
#include "scheduler/scheduler_ids.h"
#include "app/test_seams.h"
#include "ui/gdi_win.h"

namespace zelvar {
namespace {

constexpr int kPanelW = 300, kPanelH = 259;

}  // namespace

void TForm1::CreateControls() {
    using namespace ui;
    taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    hints_.Attach(hwnd_);

    // Title strip
    Panel3 = CreateForwardingPanel(hwnd_, IDC_PANEL3, 0, 0, 44, titleHeight_);
    ShowWindow(Panel3, SW_SHOWNA);
    Image2 = CreatePicture(Panel3, IDC_IMAGE2, kBitmapLogo, 4, 1, 20, 18, true);
    Image3 = CreatePicture(Panel3, IDC_IMAGE3, kBitmapWeb, 26, 2, 16, 16, true);
    systbut = CreateForwardingPanel(hwnd_, IDC_SYSTBUT, 0, 0, 24, titleHeight_);
    ShowWindow(systbut, SW_SHOWNA);
    Image1 = CreatePicture(systbut, IDC_IMAGE1, kBitmapClose, 4, 2, 16, 16, true);

    // Navigation tree
    TreeView1 = CreateChild(WC_TREEVIEWW, L"",
                            WS_VISIBLE | WS_TABSTOP | TVS_SHOWSELALWAYS | TVS_FULLROWSELECT | TVS_DISABLEDRAGDROP, 2,
                            titleHeight_ + 3, treeWidth_, 259, hwnd_, IDC_TREEVIEW1);
    ColourTree();
    TreeView_SetItemHeight(TreeView1, 24);
    for (int i = 0; i < 6; ++i) {
        TVINSERTSTRUCTW ins{};
        ins.hParent = TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM;
        wchar_t empty[] = L"";
        ins.item.pszText = empty;
        ins.item.lParam = i;
        treeNodes_[i] = TreeView_InsertItem(TreeView1, &ins);
    }

    // The pages' panels, in the order of the tree; they lie on top of each
    // other, and each page makes its controls when it first shows.
    options_.Create(hwnd_, IDC_PANEL1, hints_, appliedTexts_);
    language_.Create(hwnd_, IDC_PANEL2, hints_, appliedTexts_);
    plan_.Create(hwnd_, IDC_PANEL4, hints_, appliedTexts_);
    scheduler_.Create(hwnd_, IDC_P_SHEDULER, hints_, appliedTexts_);
    startup_.Create(hwnd_, IDC_PANEL5, hints_, appliedTexts_);
    about_.Create(hwnd_, IDC_PANEL7, hints_, appliedTexts_);
    options_.Make();  // it shows first

    // The tray menu exists before the first application of a language, which names its items.
    trayMenu_.reset(CreatePopupMenu());
    AppendMenuW(trayMenu_.get(), MF_STRING, IDM_N1_OPEN, L"");
    AppendMenuW(trayMenu_.get(), MF_STRING, IDM_N4_ONOFF, L"");
    AppendMenuW(trayMenu_.get(), MF_STRING, IDM_N3_ABOUT, L"");
    AppendMenuW(trayMenu_.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(trayMenu_.get(), MF_STRING, IDM_N2_EXIT, L"");
}

void TForm1::ArrangeMainWindow() {
    dpi_ = ui::DpiOf(hwnd_);
    const ui::Scale S{dpi_};
    const int width = S(treeWidth_ + kPanelW + 6), height = S(titleHeight_ + 264);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    // The options page first; putting the tree on its node is no navigation
    // (it would save the edited day before the start has finished).
    options_.Show(true);
    arranging_ = true;
    TreeView_SelectItem(TreeView1, treeNodes_[0]);
    arranging_ = false;
}

void TForm1::LayOut() {
    // Every size is the design's at 96 dpi, scaled to the screen the window is on.
    const ui::Scale S{dpi_};
    const int T = S(titleHeight_), W = S(treeWidth_);
    RECT client;
    GetClientRect(hwnd_, &client);
    // The controls were made with the fonts of the density they were made at.
    if (fontsDpi_ != dpi_) ui::ApplyFonts(hwnd_, dpi_);
    fontsDpi_ = dpi_;
    ui::Move(Panel3, 0, 0, S(44), T);
    ui::Move(Image2, S(4), S(1), S(20), S(18));
    ui::Move(Image3, S(26), S(2), S(16), S(16));
    ui::Move(systbut, client.right - S(24), 0, S(24), T);
    ui::Move(Image1, S(4), S(2), S(16), S(16));
    TreeView_SetItemHeight(TreeView1, S(24));
    ui::Move(TreeView1, S(2), T + S(3), W, client.bottom - T - S(5));
    const RECT page{W + S(3), T + S(3), W + S(3) + S(kPanelW), T + S(3) + S(kPanelH)};
    for (ui::Page* p : std::initializer_list<ui::Page*>{&options_, &language_, &plan_, &scheduler_, &startup_, &about_})
        p->Place(page, dpi_);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm1::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    AddTrayIcon();  // the icon at the size the shell now asks for
}

void TForm1::ColourTree() {
    TreeView_SetBkColor(TreeView1, ui::ColorOf(ui::Role::Background));
    TreeView_SetTextColor(TreeView1, ui::ColorOf(ui::Role::Text));
}

void TForm1::FollowSystemColours() {
    ui::CurrentTheme().Follow(HighContrastInEffect());
    ui::TellControlsOfSystemColours();
    ColourTree();
    ui::RepaintProgramWindows();
}

void TForm1::PaintWindow() {
    ui::PaintDc paint(hwnd_);
    HDC dc = paint.get();
    RECT rc;
    GetClientRect(hwnd_, &rc);
    FillRect(dc, &rc, ui::BrushOf(ui::Role::Background));
    const ui::Scale S{dpi_};
    // Image5: the program's name in the title strip.
    if (HBITMAP wordmark = ui::CurrentTheme().Picture(kBitmapWordmark, dpi_)) ui::DrawBitmap(dc, wordmark, S(50), S(1));
    // Shape1: the orange frame around everything below the title strip.
    const int T = S(titleHeight_);
    UniquePen pen(CreatePen(PS_SOLID, S(1), ui::ColorOf(ui::Role::Accent)));
    ui::Selection usePen(dc, pen.get());
    ui::Selection noFill(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, S(1), T + S(2), rc.right - S(1), rc.bottom - S(1));
}

void TForm1::OnCommand(int id, int code) {
    if (code != BN_CLICKED && code != STN_CLICKED) return;
    switch (id) {
        case IDC_IMAGE1: Image1Click(); return;
        case IDM_N1_OPEN: a_mainExecute(); return;
        case IDM_N4_ONOFF: a_onoffExecute(); return;
        case IDM_N3_ABOUT: aboutExecute(); return;
        case IDM_N2_EXIT: m_exitExecute(); return;
        // The logos lead to the maker's web site.
        case IDC_IMAGE2:
        case IDC_IMAGE3: OpenWebSite(hwnd_); return;
    }
}

LRESULT TForm1::OnNotify(NMHDR* hdr) {
    if (hdr->idFrom != IDC_TREEVIEW1) return 0;
    if (hdr->code == TVN_SELCHANGEDW && !arranging_) TreeView1Click();
    if (hdr->code == NM_CUSTOMDRAW) {
        // The selected node in the accent colour, the others light on dark;
        // the focus shows as a dotted frame around the selected node.
        auto* cd = reinterpret_cast<NMTVCUSTOMDRAW*>(hdr);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            const bool selected = reinterpret_cast<HTREEITEM>(cd->nmcd.dwItemSpec) == TreeView_GetSelection(TreeView1);
            cd->clrText = ui::ColorOf(selected ? ui::Role::SelectionText : ui::Role::DimText);
            cd->clrTextBk = ui::ColorOf(selected ? ui::Role::Selection : ui::Role::Background);
            if (selected) FillRect(cd->nmcd.hdc, &cd->nmcd.rc, ui::BrushOf(ui::Role::Selection));  // the whole row
            cd->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
            return CDRF_NEWFONT | (selected ? CDRF_NOTIFYPOSTPAINT : 0);
        }
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPOSTPAINT && GetFocus() == TreeView1 && ui::ShowsFocusCues(TreeView1)) {
            RECT focus = cd->nmcd.rc;
            InflateRect(&focus, -1, -1);
            SetTextColor(cd->nmcd.hdc, ui::ColorOf(ui::Role::SelectionText));
            DrawFocusRect(cd->nmcd.hdc, &focus);
        }
    }
    return 0;
}

int TForm1::SelectedNode() const {
    HTREEITEM sel = TreeView_GetSelection(TreeView1);
    for (int i = 0; i < 6; ++i)
        if (treeNodes_[i] == sel) return i;
    return -1;
}

std::array<ui::Page*, 6> TForm1::Pages() { return {&options_, &language_, &plan_, &scheduler_, &startup_, &about_}; }

void TForm1::CommitPageEdits() {
    for (ui::Page* p : Pages()) p->CommitEdits();
}

void TForm1::TreeView1Click() {
    for (ui::Page* p : Pages()) p->Show(false);
    CommitPageEdits();
    const int node = SelectedNode();
    ui::Page& page = *Pages()[node < 0 ? 0 : node];  // nothing selected: the options page
    page.Make();                                     // on its first visit
    page.OnShowing();
    page.Show(true);
    page.OnShown();
}

}  // namespace zelvar
