// The main window's controls, their layout, colours and drawing, and the
// routing of their notifications to the handlers.
#include <windows.h>
#include <windowsx.h>

#include "app/control_ids.h"
#include "app/zelvar.h"
#include "online/web_addresses.h"

namespace zelvar {
namespace {

constexpr int kPanelW = 300, kPanelH = 259;
constexpr int kButtonW = 118, kButtonH = 28;

}  // namespace

void TForm1::CreateControls() {
    using namespace ui;
    taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    hints_.Attach(hwnd_);

    // Title strip
    Panel3 = CreatePanel(hwnd_, IDC_PANEL3, 0, 0, 44, titleHeight_);
    ShowWindow(Panel3, SW_SHOWNA);
    Image2 = CreatePicture(Panel3, IDC_IMAGE2, kBitmapLogo, 4, 1, 20, 18, true);
    Image3 = CreatePicture(Panel3, IDC_IMAGE3, kBitmapWeb, 26, 2, 16, 16, true);
    systbut = CreatePanel(hwnd_, IDC_SYSTBUT, 0, 0, 24, titleHeight_);
    ShowWindow(systbut, SW_SHOWNA);
    Image1 = CreatePicture(systbut, IDC_IMAGE1, kBitmapClose, 4, 2, 16, 16, true);
    wordmark_ = LoadBitmapResource(kBitmapWordmark);

    // Navigation tree
    TreeView1 = CreateChild(WC_TREEVIEWW, L"",
                            WS_VISIBLE | WS_TABSTOP | TVS_SHOWSELALWAYS | TVS_FULLROWSELECT | TVS_DISABLEDRAGDROP,
                            2, titleHeight_ + 3, treeWidth_, 259, hwnd_, IDC_TREEVIEW1);
    TreeView_SetBkColor(TreeView1, kDark);
    TreeView_SetTextColor(TreeView1, kText);
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

    // Options panel
    Panel1 = CreatePanel(hwnd_, IDC_PANEL1, 0, 0, kPanelW, kPanelH);
    Image6 = CreatePicture(Panel1, IDC_IMAGE6, kBitmapPanel1, 0, 0, 64, 64, true);
    const int boxW = kPanelW - 23;
    // Rows of 32 pixels leave room for a caption that wraps onto a second line.
    CheckBox2 = CreateCheckBox(Panel1, IDC_CHECKBOX2, L"", 10, 6, boxW, 32);
    CheckBox4 = CreateCheckBox(Panel1, IDC_CHECKBOX4, L"", 10, 38, boxW, 32);
    CheckBox5 = CreateCheckBox(Panel1, IDC_CHECKBOX5, L"", 10, 70, boxW, 32);
    CheckBox6 = CreateCheckBox(Panel1, IDC_CHECKBOX6, L"", 10, 102, boxW, 32);
    CheckBox7 = CreateCheckBox(Panel1, IDC_CHECKBOX7, L"", 10, 134, 16, 32);
    Label19 = CreateLabel(Panel1, IDC_LABEL19, L"", 28, 143, boxW - 20, 30);
    CheckBox10 = CreateCheckBox(Panel1, IDC_CHECKBOX10, L"", 10, 166, 16, 32);
    Label24 = CreateLabel(Panel1, IDC_LABEL24, L"", 28, 175, boxW - 20, 30);

    // Language panel
    Panel2 = CreatePanel(hwnd_, IDC_PANEL2, 0, 0, kPanelW, kPanelH);
    Image7 = CreatePicture(Panel2, IDC_IMAGE7, kBitmapPanel2, 0, 0, 64, 64, true);
    Label2 = CreateLabel(Panel2, IDC_LABEL2, L"", 10, 12, kPanelW - 20, 20);
    ComboBox1 = CreateChild(WC_COMBOBOXW, L"", WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, 10, 38, 180,
                            200, Panel2, IDC_COMBOBOX1);
    for (const wchar_t* name : {L"Russian", L"English", L"Deutsch"})
        SendMessageW(ComboBox1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    PNGButton3 = CreateImageButton(Panel2, IDC_PNGBUTTON3, L"", 10, 76, kButtonW, kButtonH);

    // One-shot plan panel
    Panel4 = CreatePanel(hwnd_, IDC_PANEL4, 0, 0, kPanelW, kPanelH);
    Image8 = CreatePicture(Panel4, IDC_IMAGE8, kBitmapPanel4, 0, 0, 64, 64, true);
    CheckBox3 = CreateCheckBox(Panel4, IDC_CHECKBOX3, L"", 10, 8, kPanelW - 23, 22);
    Label3 = CreateLabel(Panel4, IDC_LABEL3, L"", 30, 37, 60, 18);
    DateTimePicker1 = CreateChild(DATETIMEPICK_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | DTS_SHORTDATEFORMAT, 96, 33,
                                  120, 24, Panel4, IDC_DATETIMEPICKER1);
    Label4 = CreateLabel(Panel4, IDC_LABEL4, L"", 30, 65, 60, 18);
    DateTimePicker2 = CreateChild(DATETIMEPICK_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN, 96,
                                  61, 120, 24, Panel4, IDC_DATETIMEPICKER2);
    CheckBox1 = CreateCheckBox(Panel4, IDC_CHECKBOX1, L"", 10, 94, kPanelW - 23, 22);
    Label5 = CreateLabel(Panel4, IDC_LABEL5, L"", 30, 123, 60, 18);
    DateTimePicker3 = CreateChild(DATETIMEPICK_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | DTS_SHORTDATEFORMAT, 96, 119,
                                  120, 24, Panel4, IDC_DATETIMEPICKER3);
    Label6 = CreateLabel(Panel4, IDC_LABEL6, L"", 30, 151, 60, 18);
    DateTimePicker4 = CreateChild(DATETIMEPICK_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN, 96,
                                  147, 120, 24, Panel4, IDC_DATETIMEPICKER4);
    ComboBox2 = CreateChild(WC_COMBOBOXW, L"",
                            WS_TABSTOP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 10, 184,
                            206, 200, Panel4, IDC_COMBOBOX2);
    PNGButton2 = CreateImageButton(Panel4, IDC_PNGBUTTON2, L"", 10, kPanelH - 8 - kButtonH, kButtonW, kButtonH);
    Panel6 = CreatePanel(Panel4, IDC_PANEL6, 1, 1, kPanelW - 2, kPanelH - 2, true);
    Label7 = CreateLabel(Panel6, IDC_LABEL7, L"", 12, 12, 270, 20);
    Label8 = CreateLabel(Panel6, IDC_LABEL8, L"", 30, 36, 240, 20);
    Label9 = CreateLabel(Panel6, IDC_LABEL9, L"", 30, 58, 240, 20);
    Label10 = CreateLabel(Panel6, IDC_LABEL10, L"", 12, 92, 270, 20);
    Label11 = CreateLabel(Panel6, IDC_LABEL11, L"", 30, 116, 240, 20);
    Label12 = CreateLabel(Panel6, IDC_LABEL12, L"", 30, 138, 240, 20);
    for (HWND l : {Label7, Label10}) SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont()), FALSE);
    PNGButton5 = CreateImageButton(Panel6, IDC_PNGBUTTON5, L"", 9, kPanelH - 9 - kButtonH, kButtonW, kButtonH);
    ui::SetVisible(PNGButton5, false);
    // The armed view keeps the page's picture in its corner.
    armedPicture_ = CreatePicture(Panel6, 0, kBitmapPanel4, kPanelW - 2 - 1 - 64, kPanelH - 2 - 1 - 64, 64, 64);

    // Scheduler panel: day buttons, the edited day and the start/stop button.
    p_sheduler = CreatePanel(hwnd_, IDC_P_SHEDULER, 0, 0, kPanelW, kPanelH);
    Image10 = CreatePicture(p_sheduler, IDC_IMAGE10, kBitmapPanel3, 0, 0, 64, 64, true);
    for (int d = 0; d < 7; ++d)
        dayButtons_[d] = CreateImageButton(p_sheduler, IDC_DAYBUTTON_FIRST + d, L"", 8 + d * 41, 8, 38, 26);
    Label22 = CreateLabel(p_sheduler, IDC_LABEL22, L"", 10, 44, 200, 20);
    SendMessageW(Label22, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont()), FALSE);
    dday = CreateChild(L"STATIC", L"1", 0, 0, 0, 0, 0, p_sheduler, IDC_DDAY);  // hidden holder of the edited day
    PNGButton8 = CreateImageButton(p_sheduler, IDC_PNGBUTTON8, L"", 10, kPanelH - 8 - kButtonH, 160, kButtonH);

    // Start-up programs panel
    Panel5 = CreatePanel(hwnd_, IDC_PANEL5, 0, 0, kPanelW, kPanelH);
    Image9 = CreatePicture(Panel5, IDC_IMAGE9, kBitmapPanel5, 0, 0, 0, 0, true);
    Label1 = CreateLabel(Panel5, IDC_LABEL1, L"", 10, 8, kPanelW - 20, 34);
    const int buttonsTop = kPanelH - 8 - kButtonH;
    ListBox1 = CreateChild(WC_LISTBOXW, L"",
                           WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 10,
                           46, kPanelW - 20, buttonsTop - 8 - 46, Panel5, IDC_LISTBOX1, WS_EX_CLIENTEDGE);
    SendMessageW(ListBox1, LB_SETHORIZONTALEXTENT, 800, 0);
    PNGButton1 = CreateImageButton(Panel5, IDC_PNGBUTTON1, L"", 10, buttonsTop, kButtonW, kButtonH);
    PNGButton4 = CreateImageButton(Panel5, IDC_PNGBUTTON4, L"", kPanelW - 10 - kButtonW, buttonsTop, kButtonW, kButtonH);

    // About panel
    Panel7 = CreatePanel(hwnd_, IDC_PANEL7, 0, 0, kPanelW, kPanelH);
    Image4 = CreatePicture(Panel7, IDC_IMAGE4, kBitmapAbout, 0, 14, 128, 96, true);
    Label15 = CreateLabel(Panel7, IDC_LABEL15, L"", 10, 120, kPanelW - 20, 22, SS_CENTER);
    SendMessageW(Label15, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont()), FALSE);
    Label13 = CreateLink(Panel7, IDC_LABEL13, kSiteName, 10, 150, kPanelW - 20, 20);
    Label16 = CreateLink(Panel7, IDC_LABEL16, kMailAddress, 10, 174, kPanelW - 20, 20);
    Label23 = CreateLink(Panel7, IDC_LABEL23, L"", 10, 198, kPanelW - 20, 20);
}

void TForm1::ArrangeMainWindow() {
    const int T = titleHeight_, W = treeWidth_;
    ui::Move(Panel1, W + 3, T + 3, kPanelW, kPanelH);
    const int width = W + kPanelW + 6, height = T + 264;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ui::Move(TreeView1, 2, T + 3, W, height - T - 5);
    const RECT p1 = ui::ChildRect(Panel1);
    for (HWND p : {Panel2, Panel4, Panel5, Panel7, p_sheduler})
        ui::Move(p, p1.left, p1.top, p1.right - p1.left, p1.bottom - p1.top);
    ui::Move(Panel6, 1, 1, kPanelW - 2, kPanelH - 2);
    for (HWND pic : {Image6, Image7, Image8}) ui::Move(pic, kPanelW - 2 - 64, kPanelH - 2 - 64, 64, 64);
    ui::Move(Image10, kPanelW - 1 - 64, kPanelH - 3 - 64, 64, 64);
    ui::Move(Image4, (kPanelW - 128) / 2, 14, 128, 96);
    RECT sys;
    GetWindowRect(systbut, &sys);
    ui::Move(systbut, width - (sys.right - sys.left), 0, sys.right - sys.left, T);
    ui::SetVisible(Panel1, true);
    TreeView_SelectItem(TreeView1, treeNodes_[0]);
}

void TForm1::PaintWindow() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    FillRect(dc, &rc, ui::DarkBrush());
    // Image5: the program's name in the title strip.
    if (wordmark_) ui::DrawBitmap(dc, wordmark_, 50, 1);
    // Shape1: the orange frame around everything below the title strip.
    HPEN pen = CreatePen(PS_SOLID, 1, ui::kAccent);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 1, titleHeight_ + 2, 1 + rc.right - 2, titleHeight_ + 2 + rc.bottom - titleHeight_ - 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    EndPaint(hwnd_, &ps);
}

LRESULT TForm1::OnCtlColor(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    const bool link = id == IDC_LABEL13 || id == IDC_LABEL16 || id == IDC_LABEL23;
    SetTextColor(dc, link ? (ui::IsHot(control) ? ui::kText : ui::kAccent) : ui::kText);
    SetBkColor(dc, ui::kDark);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(ui::DarkBrush());
}

void TForm1::OnDrawItem(DRAWITEMSTRUCT* item) {
    if (item->CtlType == ODT_BUTTON) {
        ui::DrawImageButton(*item, ui::IsHot(item->hwndItem));
        return;
    }
    if (item->CtlID == IDC_COMBOBOX2) {  // the power-action list, drawn in the program's colours
        if (item->itemID == static_cast<UINT>(-1)) return;
        const bool selected = (item->itemState & ODS_SELECTED) != 0;
        HBRUSH bg = CreateSolidBrush(selected ? ui::kAccent : RGB(255, 255, 255));
        FillRect(item->hDC, &item->rcItem, bg);
        DeleteObject(bg);
        wchar_t text[128] = {};
        SendMessageW(item->hwndItem, CB_GETLBTEXT, item->itemID, reinterpret_cast<LPARAM>(text));
        SetBkMode(item->hDC, TRANSPARENT);
        SetTextColor(item->hDC, selected ? RGB(255, 255, 255) : RGB(40, 24, 52));
        RECT r = item->rcItem;
        r.left += 4;
        DrawTextW(item->hDC, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
}

void TForm1::OnCommand(int id, int code, HWND control) {
    if (code == BN_CLICKED || code == STN_CLICKED || control == nullptr) {
        switch (id) {
            case IDC_IMAGE1: Image1Click(); return;
            case IDC_CHECKBOX1: CheckBox1Click(); return;
            case IDC_CHECKBOX2: CheckBox2Click(); return;
            case IDC_CHECKBOX3: CheckBox3Click(); return;
            case IDC_CHECKBOX4: CheckBox4Click(); return;
            case IDC_CHECKBOX5: CheckBox5Click(); return;
            case IDC_CHECKBOX6: CheckBox6Click(); return;
            case IDC_CHECKBOX7: CheckBox7Click(); return;
            case IDC_PNGBUTTON3: PNGButton3Click(); return;
            case IDC_PNGBUTTON1: PNGButton1Click(); return;
            case IDC_PNGBUTTON4: PNGButton4Click(); return;
            case IDM_N1_OPEN: a_mainExecute(); return;
            case IDM_N4_ONOFF: a_onoffExecute(); return;
            case IDM_N3_ABOUT: aboutExecute(); return;
            case IDM_N2_EXIT: m_exitExecute(); return;
            // The logos and the pages' pictures lead to the maker's web site.
            case IDC_IMAGE2:
            case IDC_IMAGE3:
            case IDC_IMAGE6:
            case IDC_IMAGE7:
            case IDC_IMAGE8:
            case IDC_IMAGE9:
            case IDC_IMAGE10:
            case IDC_LABEL13: OpenWebSite(); return;
            case IDC_LABEL16: OpenMailLink(); return;
        }
    }
    OnPageCommand(id, code, control);
}

LRESULT TForm1::OnNotify(NMHDR* hdr) {
    if (hdr->idFrom == IDC_TREEVIEW1 && hdr->code == TVN_SELCHANGEDW) TreeView1Click();
    if (hdr->idFrom == IDC_TREEVIEW1 && hdr->code == NM_CUSTOMDRAW) {
        // The selected node in the accent colour, the others light on dark.
        auto* cd = reinterpret_cast<NMTVCUSTOMDRAW*>(hdr);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            const bool selected = reinterpret_cast<HTREEITEM>(cd->nmcd.dwItemSpec) == TreeView_GetSelection(TreeView1);
            cd->clrText = selected ? RGB(255, 255, 255) : ui::kTextDim;
            cd->clrTextBk = selected ? ui::kAccent : ui::kDark;
            if (selected) {  // the whole row, not just the text
                HBRUSH accent = CreateSolidBrush(ui::kAccent);
                FillRect(cd->nmcd.hdc, &cd->nmcd.rc, accent);
                DeleteObject(accent);
            }
            cd->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
            return CDRF_NEWFONT;
        }
    }
    return 0;
}

void TForm1::OpenWebSite() {
    ShellExecuteW(hwnd_, L"open", WebSiteAddress().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::OpenMailLink() {
    const std::wstring link = std::wstring(L"mailto:") + kMailAddress;
    ShellExecuteW(hwnd_, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::TreeView1Click() {
    for (HWND p : {Panel1, Panel2, Panel4, Panel5, Panel7, p_sheduler}) ui::SetVisible(p, false);
    SaveScheduleDay(_wtoi(ui::GetText(dday).c_str()));
    HTREEITEM sel = TreeView_GetSelection(TreeView1);
    int node = -1;
    for (int i = 0; i < 6; ++i)
        if (treeNodes_[i] == sel) node = i;
    switch (node) {
        case 0: ui::SetVisible(Panel1, true); break;
        case 1: ui::SetVisible(Panel2, true); break;
        case 2:
            if (!ui::IsChecked(CheckBox3)) RefreshOneShotPlan();
            ui::SetVisible(Panel4, true);
            if (ui::IsShown(Panel6)) ShowPlanState(false);
            break;
        case 3: ui::SetVisible(p_sheduler, true); break;
        case 4: ui::SetVisible(Panel5, true); break;
        case 5: ui::SetVisible(Panel7, true); break;
        default: ui::SetVisible(Panel1, true); break;  // nothing selected: the options page
    }
}

}  // namespace zelvar
