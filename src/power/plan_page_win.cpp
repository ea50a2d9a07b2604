#include "power/plan_page_win.h"

#include <commctrl.h>

#include <algorithm>

#include "common/locale_win.h"
#include "common/os_error_win.h"
#include "ui/links_win.h"
#include "power/cycle_log_win.h"
#include "power/oneshot_rules.h"
#include "power/wake_fix_win.h"
#include "power/ucountform.h"
#include "power/wtimer.h"
#include "ui/art.h"
#include "power/power_ids.h"
#include "ui/gdi_win.h"
#include "ui/message_loop_win.h"

namespace zelvar {
namespace {

constexpr int kComboItemHeight = 19;

bool IsOn(HWND root, HWND focus) { return focus && (focus == root || IsChild(root, focus)); }

}  // namespace

void PlanPage::CreateControls() {
    using namespace ui;
    Image8 = CreatePicture(hwnd_, IDC_IMAGE8, kBitmapPanel4, 0, 0, 64, 64, true);
    CheckBox3 = CreateCheckBox(hwnd_, IDC_CHECKBOX3, L"", 0, 0, 0, 0);
    Label3 = CreateLabel(hwnd_, IDC_LABEL3, L"", 0, 0, 0, 0);
    DateTimePicker1 = CreateChild(DATETIMEPICK_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | DTS_SHORTDATEFORMAT, 0, 0, 0, 0,
                                  hwnd_, IDC_DATETIMEPICKER1);
    Label4 = CreateLabel(hwnd_, IDC_LABEL4, L"", 0, 0, 0, 0);
    DateTimePicker2 = CreateChild(DATETIMEPICK_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN, 0, 0,
                                  0, 0, hwnd_, IDC_DATETIMEPICKER2);
    CheckBox1 = CreateCheckBox(hwnd_, IDC_CHECKBOX1, L"", 0, 0, 0, 0);
    Label5 = CreateLabel(hwnd_, IDC_LABEL5, L"", 0, 0, 0, 0);
    DateTimePicker3 = CreateChild(DATETIMEPICK_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | DTS_SHORTDATEFORMAT, 0, 0, 0, 0,
                                  hwnd_, IDC_DATETIMEPICKER3);
    Label6 = CreateLabel(hwnd_, IDC_LABEL6, L"", 0, 0, 0, 0);
    DateTimePicker4 = CreateChild(DATETIMEPICK_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN, 0, 0,
                                  0, 0, hwnd_, IDC_DATETIMEPICKER4);
    ComboBox2 = CreateChild(WC_COMBOBOXW, L"", WS_TABSTOP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0,
                            0, 0, 200, hwnd_, IDC_COMBOBOX2);
    PNGButton2 = CreateImageButton(hwnd_, IDC_PNGBUTTON2, L"", 0, 0, 0, 0);

    // The armed view covers the page; its notifications come on to the page.
    Panel6 = CreateForwardingPanel(hwnd_, IDC_PANEL6, 0, 0, 0, 0, true);
    Label7 = CreateLabel(Panel6, IDC_LABEL7, L"", 0, 0, 0, 0);
    Label8 = CreateLabel(Panel6, IDC_LABEL8, L"", 0, 0, 0, 0);
    Label9 = CreateLabel(Panel6, IDC_LABEL9, L"", 0, 0, 0, 0);
    Label10 = CreateLabel(Panel6, IDC_LABEL10, L"", 0, 0, 0, 0);
    Label11 = CreateLabel(Panel6, IDC_LABEL11, L"", 0, 0, 0, 0);
    Label12 = CreateLabel(Panel6, IDC_LABEL12, L"", 0, 0, 0, 0);
    for (HWND l : {Label7, Label10}) ui::MakeBold(l);
    PNGButton5 = CreateImageButton(Panel6, IDC_PNGBUTTON5, L"", 0, 0, 0, 0);
    SetVisible(PNGButton5, false);
    // The armed view keeps the page's picture in its corner.
    armedPicture_ = CreatePicture(Panel6, 0, kBitmapPanel4, 0, 0, 64, 64);
    wake_.Create(Panel6, IDC_LABEL_WAKEPLAN, IDC_BUTTON_WAKEFIXPLAN, PNGButton5);
}

void PlanPage::Layout() {
    const int w = Width(), h = Height();
    ui::Move(CheckBox3, S(10), S(8), w - S(23), S(22));
    ui::Move(Label3, S(30), S(37), S(60), S(18));
    ui::Move(DateTimePicker1, S(96), S(33), S(120), S(24));
    ui::Move(Label4, S(30), S(65), S(60), S(18));
    ui::Move(DateTimePicker2, S(96), S(61), S(120), S(24));
    ui::Move(CheckBox1, S(10), S(94), w - S(23), S(22));
    ui::Move(Label5, S(30), S(123), S(60), S(18));
    ui::Move(DateTimePicker3, S(96), S(119), S(120), S(24));
    ui::Move(Label6, S(30), S(151), S(60), S(18));
    ui::Move(DateTimePicker4, S(96), S(147), S(120), S(24));
    ui::Move(ComboBox2, S(10), S(184), S(206), S(200));
    SendMessageW(ComboBox2, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), S(kComboItemHeight));
    SendMessageW(ComboBox2, CB_SETITEMHEIGHT, 0, S(kComboItemHeight));
    ui::Move(PNGButton2, S(10), h - S(8 + 28), S(118), S(28));
    ui::Move(Image8, w - S(2 + 64), h - S(2 + 64), S(64), S(64));
    // Panel6 fills the page with a margin of one pixel.
    ui::Move(Panel6, S(1), S(1), w - 2 * S(1), h - 2 * S(1));
    const int pw = w - 2 * S(1), ph = h - 2 * S(1);
    ui::Move(Label7, S(12), S(12), S(270), S(20));
    ui::Move(PNGButton5, S(9), ph - S(9 + 28), S(118), S(28));
    ui::Move(armedPicture_, pw - S(1 + 64), ph - S(1 + 64), S(64), S(64));
    LayOutWakeInfo();
}

void PlanPage::LayOutWakeInfo() {
    // With a line about the wake, each moment's date and time share one row
    // and the line takes the room under them across the view (the page's
    // picture gives way), with the button that removes its cause beside
    // Cancel; without it the view is as designed.
    const int pw = Width() - 2 * S(1), ph = Height() - 2 * S(1);
    const bool shown = wake_.Shown();
    ui::SetVisible(armedPicture_, !shown);
    if (!shown) {
        ui::Move(Label8, S(30), S(36), S(240), S(20));
        ui::Move(Label9, S(30), S(58), S(240), S(20));
        ui::Move(Label10, S(12), S(92), S(270), S(20));
        ui::Move(Label11, S(30), S(116), S(240), S(20));
        ui::Move(Label12, S(30), S(138), S(240), S(20));
        return;
    }
    ui::Move(Label8, S(30), S(34), S(120), S(20));
    ui::Move(Label9, S(150), S(34), S(130), S(20));
    ui::Move(Label10, S(12), S(62), S(270), S(20));
    ui::Move(Label11, S(30), S(84), S(120), S(20));
    ui::Move(Label12, S(150), S(84), S(130), S(20));
    const int top = S(112), bottom = ph - S(9 + 28 + 4);
    ui::Move(wake_.Line(), S(12), top, pw - S(24), bottom - top);
    const int room = pw - S(9) - (S(9 + 118) + S(8));
    const int fixW = std::min(room, wake_.ButtonWidth(dpi_, S(100)));
    ui::Move(wake_.Button(), pw - S(9) - fixW, ph - S(9 + 28), fixW, S(28));
}

void PlanPage::CheckWakeReadiness() {
    // A wake that cannot happen here is said before the machine goes down;
    // the plan arms all the same.
    if (!Made()) return;
    wake_.Check(ui::IsChecked(CheckBox1), links_.text, *hints_);
    LayOutWakeInfo();
}

void PlanPage::SetTicked(HWND box, bool ticked) {
    if (ui::IsChecked(box) == ticked) return;
    ui::SetChecked(box, ticked);
    if (box == CheckBox3) CheckBox3Click();
    else CheckBox1Click();
}

void PlanPage::SetOffTicked(bool ticked) { SetTicked(CheckBox3, ticked); }
void PlanPage::SetWakeTicked(bool ticked) { SetTicked(CheckBox1, ticked); }

void PlanPage::CheckBox3Click() {
    UpdateWakeControls();
    ui::SetVisible(ComboBox2, ui::IsChecked(CheckBox3) && !ui::IsChecked(CheckBox1));
}

void PlanPage::CheckBox1Click() { ui::SetVisible(ComboBox2, !ui::IsChecked(CheckBox1)); }

void PlanPage::UpdateWakeControls() {
    const bool show = ui::IsChecked(CheckBox3);
    for (HWND c : {CheckBox1, Label5, Label6, DateTimePicker3, DateTimePicker4}) ui::SetVisible(c, show);
}

void PlanPage::RefreshOneShotPlan() {
    const TDateTime now = NowLocal();
    if (ui::IsChecked(CheckBox3) && now > OffMoment()) SetOffTicked(false);
    // A plan whose wake moment has passed is dropped as a whole.
    if (ui::IsChecked(CheckBox1) && now > WakeMoment()) SetOffTicked(false);
    if (!ui::IsChecked(CheckBox3)) {
        ui::SetPickerValue(DateTimePicker1, now);
        ui::SetPickerValue(DateTimePicker2, now);
    }
    if (!ui::IsChecked(CheckBox1)) {
        ui::SetPickerValue(DateTimePicker3, now);
        ui::SetPickerValue(DateTimePicker4, now);
    }
}

void PlanPage::ShowPlanState(bool editable) {
    const HWND focusBefore = GetFocus();
    for (HWND c : {CheckBox3, DateTimePicker1, DateTimePicker2, CheckBox1, DateTimePicker3, DateTimePicker4})
        EnableWindow(c, editable);
    ui::SetVisible(PNGButton2, editable);
    ui::SetVisible(PNGButton5, !editable);
    armed_ = !editable;
    if (editable) {
        ui::SetVisible(Panel6, false);
        ui::SetVisible(ComboBox2, ui::IsChecked(CheckBox3) && !ui::IsChecked(CheckBox1));
        KeepFocusOnPage(focusBefore, PNGButton2);
        if (links_.stateChanged) links_.stateChanged();
        return;
    }
    // The armed view is filled, and the tray told, before it shows: what it
    // shows is whole from its first paint on.
    SetWindowPos(Panel6, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ui::SetText(Label8, FormatDate(OffDate(), links_.formats));
    ui::SetText(Label9, FormatTime(OffTime(), links_.formats));
    const bool wake = ui::IsChecked(CheckBox1);
    for (HWND l : {Label10, Label11, Label12}) ui::SetVisible(l, wake);
    if (wake) {
        ui::SetText(Label11, FormatDate(WakeDate(), links_.formats));
        ui::SetText(Label12, FormatTime(WakeTime(), links_.formats));
    }
    ui::SetVisible(ComboBox2, false);
    if (links_.stateChanged) links_.stateChanged();
    ui::SetVisible(Panel6, true);
    KeepFocusOnPage(focusBefore, PNGButton5);
}

void PlanPage::KeepFocusOnPage(HWND focusBefore, HWND fallback) {
    // A control that is now hidden or disabled cannot keep the focus; the
    // view's own button takes it, so the keyboard can go on from there.
    if (!IsOn(hwnd_, focusBefore)) return;
    HWND focus = GetFocus();
    if (IsOn(hwnd_, focus) && focus != hwnd_ && IsWindowVisible(focus) && IsWindowEnabled(focus)) return;
    if (IsWindowVisible(fallback)) SetFocus(fallback);
}

void PlanPage::OnMade() {
    // Unticked, with the wake's row hidden and the pickers on now.
    UpdateWakeControls();
    RefreshOneShotPlan();
}

void PlanPage::OnShowing() {
    if (!OffTicked()) RefreshOneShotPlan();
    // The cause may have gone meanwhile (fixed from the scheduler's page, or outside).
    if (Armed() && wake_.Shown()) CheckWakeReadiness();
}

void PlanPage::OnShown() {
    if (Armed()) ShowPlanState(false);
}

void PlanPage::PNGButton2Click() {
    links_.cycle.Discard();
    InvalidateRect(PNGButton2, nullptr, TRUE);
    if (!ui::IsChecked(CheckBox3)) return;
    PlanInput plan;
    plan.now = NowLocal();
    plan.offDate = OffDate();
    plan.offTime = OffTime();
    plan.wakeTicked = ui::IsChecked(CheckBox1);
    plan.wakeDate = WakeDate();
    plan.wakeTime = WakeTime();
    switch (CheckPlan(plan, links_.formats)) {
        case PlanFault::None: break;
        case PlanFault::WakeTooSoonAfterOff:
            MessageBoxW(GetAncestor(hwnd_, GA_ROOT), links_.text(L"mswakesoon").c_str(), ApplicationTitle(), MB_OK);
            return;
        default:
            MessageBoxW(GetAncestor(hwnd_, GA_ROOT), links_.messages.MsgWrongDt.c_str(), ApplicationTitle(), MB_OK);
            return;
    }
    CheckWakeReadiness();
    appliedAt_ = RealSecondsNow();
    ShowPlanState(false);
    links_.runPowerCycle();  // returns when the cycle has ended
}

void PlanPage::PNGButton5Click() {
    InvalidateRect(PNGButton5, nullptr, TRUE);
    SetOffTicked(false);
    SetWakeTicked(false);
    links_.cycle.Cancel();
    ui::PumpMessages();
    if (links_.countForm.IsVisible()) links_.countForm.Hide();
    // timercnt stays armed: when it fires it finds CycleAbort and shows nothing.
    links_.cycle.DestroyOffTimer();
    ShowPlanState(true);
    InvalidateRect(PNGButton2, nullptr, TRUE);
}

void PlanPage::PlanMomentSkipped() {
    links_.countForm.Reset();
    SetOffTicked(false);
    SetWakeTicked(false);
    ShowPlanState(true);
    RefreshOneShotPlan();
    InvalidateRect(PNGButton2, nullptr, TRUE);
    MessageBoxW(GetAncestor(hwnd_, GA_ROOT), links_.text(L"msoffmissed").c_str(), ApplicationTitle(), MB_OK);
}

// Before the page is made no plan is ticked and the pickers would show now.
TDateTime PlanPage::OffDate() const { return Made() ? ui::PickerValue(DateTimePicker1) : NowLocal(); }
TDateTime PlanPage::OffTime() const { return Made() ? ui::PickerValue(DateTimePicker2) : NowLocal(); }
TDateTime PlanPage::WakeDate() const { return Made() ? ui::PickerValue(DateTimePicker3) : NowLocal(); }
TDateTime PlanPage::WakeTime() const { return Made() ? ui::PickerValue(DateTimePicker4) : NowLocal(); }
TDateTime PlanPage::OffMoment() const { return MomentOf(OffDate(), OffTime(), links_.formats); }
TDateTime PlanPage::WakeMoment() const { return MomentOf(WakeDate(), WakeTime(), links_.formats); }

int PlanPage::OffModeIndex() const {
    if (!Made()) return 1;  // hibernate, as every application of a language leaves the list
    const LRESULT sel = SendMessageW(ComboBox2, CB_GETCURSEL, 0, 0);
    return sel == CB_ERR ? -1 : static_cast<int>(sel);
}

void PlanPage::ApplyTexts(const ui::TextLookup& text) {
    ApplyOffCaption(text);
    ApplyPlanTexts(text);
    ApplyActionList(text);
}

void PlanPage::ApplyOffCaption(const ui::TextLookup& text) { ui::SetText(CheckBox3, text(L"pcoff")); }

void PlanPage::ApplyPlanTexts(const ui::TextLookup& text) {
    ui::SetText(Label3, text(L"date"));
    ui::SetText(Label4, text(L"time"));
    ui::SetText(CheckBox1, text(L"pcon"));
    ui::SetText(Label5, text(L"date"));
    ui::SetText(Label6, text(L"time"));
    ui::SetCaptionAndHint(PNGButton2, *hints_, text, L"apply");
    ui::SetCaptionAndHint(PNGButton5, *hints_, text, L"cancel");
    ui::SetText(Label7, text(L"pcoffinfo"));
    ui::SetText(Label8, text(L"date"));
    ui::SetText(Label9, text(L"time"));
    ui::SetText(Label10, text(L"pconinfo"));
    ui::SetText(Label11, text(L"date"));
    ui::SetText(Label12, text(L"time"));
    wake_.ApplyTexts(text, *hints_);
    if (placed_) LayOutWakeInfo();
}

void PlanPage::ApplyActionList(const ui::TextLookup& text) {
    SendMessageW(ComboBox2, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* key : {L"poweroff", L"powertohibernate"}) {
        const std::wstring item = text(key);
        SendMessageW(ComboBox2, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendMessageW(ComboBox2, CB_SETCURSEL, 1, 0);
}

HWND PlanPage::DefaultButton() const { return IsWindowVisible(PNGButton2) ? PNGButton2 : nullptr; }

void PlanPage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDC_CHECKBOX3: CheckBox3Click(); return;
        case IDC_CHECKBOX1: CheckBox1Click(); return;
        case IDC_PNGBUTTON2: PNGButton2Click(); return;
        case IDC_PNGBUTTON5:
            LogCycleCancelled(CycleCancel::OnPage);
            PNGButton5Click();
            return;
        case IDC_IMAGE8: OpenWebSite(GetAncestor(hwnd_, GA_ROOT)); return;
        case IDC_BUTTON_WAKEFIXPLAN: wake_.StartFix(hwnd_); return;
    }
}

LRESULT PlanPage::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kWakeFixDoneMessage) {
        wake_.FixDone(wp, lp, Armed() && ui::IsChecked(CheckBox1), links_.text, *hints_);
        LayOutWakeInfo();
        return 0;
    }
    return Page::HandleMessage(msg, wp, lp);
}

void PlanPage::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    if (item.CtlID == IDC_COMBOBOX2) item.itemHeight = S(kComboItemHeight);
}

bool PlanPage::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID != IDC_COMBOBOX2) return false;
    // The power-action list, drawn in the program's colours.
    if (item.itemID == static_cast<UINT>(-1)) return true;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, ui::BrushOf(selected ? ui::Role::Selection : ui::Role::Paper));
    const LRESULT len = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
    std::wstring label(len > 0 ? static_cast<size_t>(len) + 1 : 1, L'\0');
    SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(label.data()));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, ui::ColorOf(selected ? ui::Role::SelectionText : ui::Role::ListText));
    RECT r = item.rcItem;
    r.left += S(4);
    DrawTextW(item.hDC, label.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(item.hDC, &item.rcItem);
    return true;
}

}  // namespace zelvar
