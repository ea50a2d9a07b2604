#include "scheduler/scheduler_page_win.h"

#include <commctrl.h>

#include "common/ini_win.h"
#include "common/locale_win.h"
#include "common/os_error_win.h"
#include "ui/accessible_win.h"
#include "ui/links_win.h"
#include "power/wake_fix_win.h"
#include "scheduler/schedule_file.h"
#include "scheduler/schedule_time.h"
#include "scheduler/sheddays_win.h"
#include "ui/art.h"
#include "scheduler/scheduler_ids.h"
#include "ui/gdi_win.h"

namespace zelvar {
namespace {

TDateTime PickerTime(HWND picker) { return WholeSeconds(TimeOf(ui::PickerValue(picker))); }

// A time of day shown on today's date (the picker shows times only).
void SetPickerTime(HWND picker, TDateTime timeOfDay) {
    ui::SetPickerValue(picker, CombineDateAndTime(NowLocal(), timeOfDay));
}

}  // namespace

SchedulerPage::SchedulerPage(SchedulerEngine& engine, Links links) : engine_(engine), links_(std::move(links)) {
    engine_.SetView(this);
}

void SchedulerPage::CreateControls() {
    using namespace ui;
    Image10 = CreatePicture(hwnd_, IDC_IMAGE10, kBitmapPanel3, 0, 0, 64, 64, true);
    pweek = CreateForwardingPanel(hwnd_, IDC_PWEEK, 0, 0, 0, 0);
    ShowWindow(pweek, SW_SHOWNA);
    for (int d = 0; d < 7; ++d) dayButtons_[d] = CreateImageButton(pweek, IDC_DAYBUTTON_FIRST + d, L"", 0, 0, 0, 0);
    Label22 = CreateLabel(hwnd_, IDC_LABEL22, L"", 0, 0, 0, 0, SS_CENTER);
    ui::MakeBold(Label22);
    CheckBox8 = CreateCheckBox(hwnd_, IDC_CHECKBOX8, L"", 0, 0, 0, 0);
    Label20 = CreateLabel(hwnd_, IDC_LABEL20, L"", 0, 0, 0, 0);
    DateTimePicker5 = CreateChild(DATETIMEPICK_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN, 0, 0,
                                  0, 0, hwnd_, IDC_DATETIMEPICKER5);
    PNGButton6 = CreateImageButton(hwnd_, IDC_PNGBUTTON6, L"", 0, 0, 0, 0);
    CheckBox9 = CreateCheckBox(hwnd_, IDC_CHECKBOX9, L"", 0, 0, 0, 0);
    Label21 = CreateLabel(hwnd_, IDC_LABEL21, L"", 0, 0, 0, 0);
    DateTimePicker6 = CreateChild(DATETIMEPICK_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN, 0, 0,
                                  0, 0, hwnd_, IDC_DATETIMEPICKER6);
    PNGButton7 = CreateImageButton(hwnd_, IDC_PNGBUTTON7, L"", 0, 0, 0, 0);
    PNGButton8 = CreateImageButton(hwnd_, IDC_PNGBUTTON8, L"", 0, 0, 0, 0);
    wake_.Create(hwnd_, IDC_LABEL_WAKESCHEDULE, IDC_BUTTON_WAKEFIXSCHEDULE, PNGButton8);
    policyInfo_ = CreateLabel(hwnd_, IDC_LABEL_POLICY_SCHEDULER, L"", 0, 0, 0, 0);
    SetVisible(policyInfo_, false);
    // The week grid in the editor's place, shown only while the scheduler runs.
    Panel8 = CreateForwardingPanel(hwnd_, IDC_PANEL8, 0, 0, 0, 0);
    StringGrid1.Create(Panel8, IDC_STRINGGRID1, [this](HDC dc, int column, int row, const RECT& rect) {
        StringGrid1DrawCell(dc, column, row, rect);
    });
}

void SchedulerPage::Layout() {
    // The day editor, one control under the other as the design has it. The
    // day buttons are 29 pixels square, wider where a language's short day
    // names need it (the row, the frame and the name under it widen too).
    int dayW = S(29);
    {
        ui::WindowDc dc(hwnd_);
        ui::Selection font(dc.get(), ui::MainFont(dpi_));
        for (HWND b : dayButtons_) {
            const std::wstring caption = ui::GetText(b);
            SIZE size{};
            GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
            dayW = std::max(dayW, static_cast<int>(size.cx) + S(8));
        }
    }
    dayW = std::min(dayW, (Width() - S(8) - 6 * S(3)) / 7);
    const int weekW = S(4) + 7 * dayW + 6 * S(3) + S(4);
    ui::Move(pweek, S(2), S(1), weekW, S(37));
    for (int k = 0; k < 7; ++k) ui::Move(dayButtons_[k], S(4) + k * (dayW + S(3)), S(4), dayW, S(29));
    shape2_ = {S(2 + 2), S(1 + 37 + 1), S(2 + 2) + weekW - S(4), S(1 + 37 + 1) + S(22)};
    ui::Move(Label22, shape2_.left + S(3), shape2_.top + S(1), shape2_.right - shape2_.left - S(6), S(20));
    const int rowH = S(17), labelH = S(18);
    const int box8 = shape2_.bottom + S(4);
    ui::Move(CheckBox8, S(8), box8, S(221), rowH);
    const int label20 = box8 + rowH + S(6);
    ui::Move(Label20, S(27), label20, S(52), labelH);
    ui::Move(DateTimePicker5, S(80), label20 - S(2), S(110), S(26));
    ui::Move(PNGButton6, S(194), label20 + S(3), S(20), S(17));
    const int box9 = label20 + labelH + S(10);
    ui::Move(CheckBox9, S(8), box9, S(221), rowH);
    const int label21 = box9 + rowH + S(6);
    ui::Move(Label21, S(27), label21, S(52), labelH);
    ui::Move(DateTimePicker6, S(80), label21 - S(2), S(110), S(26));
    ui::Move(PNGButton7, S(194), label21 + S(3), S(20), S(17));
    LayoutStartButton();
    SizeWeekGrid();
    ui::Move(Image10, Width() - S(1 + 64), Height() - S(3 + 64), S(64), S(64));
}

void SchedulerPage::LayoutStartButton() {
    // 100 wide at the design's place; wider, and centred under the editor,
    // when the language's caption needs it, so no caption is ever cut.
    int width = S(100);
    if (ui::WindowDc dc(PNGButton8); dc.get()) {
        ui::Selection font(dc.get(), ui::BoldFont(dpi_));
        const std::wstring caption = ui::GetText(PNGButton8);
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
        width = std::max(width, static_cast<int>(size.cx) + S(16));
    }
    const int editorRight = std::max(S(2 + 229), static_cast<int>(shape2_.right) + S(2));
    int left = S(65) + width <= editorRight ? S(65) : std::max(S(8), (S(2) + editorRight - width) / 2);
    int top = ui::Bottom(DateTimePicker6) + S(22);
    // While the grid shows, a line about the wake takes the room under it
    // across the page (the picture gives way) and the button goes to the
    // page's foot, with the one that removes the cause at its right.
    const bool info = wake_.Shown() && ui::IsShown(Panel8);
    // The line that the organisation sets the schedule: under the button,
    // beside the picture; above the button when the wake line takes the foot.
    const bool policy = ui::IsShown(policyInfo_);
    const int policyH = S(30);
    ui::SetVisible(Image10, !info);
    if (info) {
        const int buttonTop = Height() - S(5 + 30);
        const int infoTop = ui::Bottom(Panel8) + S(2);
        const int infoBottom = policy ? buttonTop - policyH - S(2) : buttonTop;
        ui::Move(wake_.Line(), S(4), infoTop, Width() - S(8), infoBottom - infoTop - S(2));
        if (policy) ui::Move(policyInfo_, S(4), infoBottom, Width() - S(8), policyH);
        top = buttonTop;
        if (wake_.ButtonShown()) {
            // Start/Stop gives way to the left as far as the two need.
            const int fixW = std::min(wake_.ButtonWidth(dpi_, S(100)), Width() - S(4 + 4 + 6) - width);
            const int fixLeft = Width() - S(4) - fixW;
            left = std::max(S(4), std::min(left, fixLeft - S(6) - width));
            ui::Move(wake_.Button(), fixLeft, buttonTop, fixW, S(30));
        }
    }
    ui::Move(PNGButton8, left, top > 0 ? top : S(185), width, S(30));
    if (policy && !info) ui::Move(policyInfo_, S(4), ui::Bottom(PNGButton8) + S(3), Width() - S(4 + 64 + 6), policyH);
}

void SchedulerPage::CheckWakeReadiness() {
    // Whenever the scheduler starts with a wake ahead: what keeps the timer
    // from waking the machine, if anything; it runs all the same.
    if (!made_) return;
    wake_.Check(WakeAhead(), links_.text, *hints_);
    LayoutStartButton();
}

// ---- The day editor

void SchedulerPage::LoadScheduleDay(int day) {
    if (!made_) return;
    const IniLoad file = IniFile::Load(ScheduleFile(), RetryPolicy{1, 0});
    editedDayRead_ = file.state != IniFileState::Unreadable;
    // A time that does not read shows as its key's default; nothing is reported.
    const DayEditorState e =
        LoadEditorDay(PolicyScheduleIni(file.values, engine_.Week(), links_.formats), day, links_.formats);
    ui::SetChecked(CheckBox8, e.offTicked);
    SetPickerTime(DateTimePicker5, e.offTime);
    ui::SetChecked(CheckBox9, e.onTicked);
    SetPickerTime(DateTimePicker6, e.onTime);
    ShowPolicyLocks();
}

void SchedulerPage::SaveScheduleDay(int day) {
    // A day the file could not give shows the defaults, not the user's times.
    if (!made_ || !editedDayRead_) return;
    DayEditorState e;
    e.offTicked = ui::IsChecked(CheckBox8);
    e.offTime = PickerTime(DateTimePicker5);
    e.onTicked = ui::IsChecked(CheckBox9);
    e.onTime = PickerTime(DateTimePicker6);
    IniFile file(ScheduleFile());
    PolicyScheduleIni overlay(file, engine_.Week(),
                              links_.formats);  // what the policy sets stays the user's in the file
    if (!SaveEditorDay(overlay, day, e, links_.formats))
        MessageBoxW(GetAncestor(hwnd_, GA_ROOT), links_.messages.MsgErrConfig.c_str(), ApplicationTitle(), MB_OK);
}

void SchedulerPage::SelectScheduleDay(int day) {
    if (!made_) return;
    SaveScheduleDay(dday);  // the day being left
    if (day >= 1 && day <= 7) {
        ui::SetText(Label22, hints_->Get(dayButtons_[day - 1]));
        dday = day;
    }
    LoadScheduleDay(dday);
    for (HWND b : dayButtons_) InvalidateRect(b, nullptr, FALSE);
}

void SchedulerPage::SelectToday() { SelectScheduleDay(IsoWeekday(NowLocal())); }

void SchedulerPage::ShowDayEditor(bool visible) {
    if (!made_) return;
    for (HWND c : {pweek, Label20, Label21, Label22, CheckBox8, CheckBox9, DateTimePicker5, DateTimePicker6, PNGButton6,
                   PNGButton7})
        ui::SetVisible(c, visible);
    InvalidateRect(hwnd_, &shape2_, TRUE);  // Shape2 goes with them
}

void SchedulerPage::ShowEngineState() {
    // The editor on today's day as the file has it; the day shown before
    // (none yet, or Monday's that the engine wrote at start) is not saved.
    if (!made_ || !engine_.Started()) return;
    dday = IsoWeekday(NowLocal());
    ui::SetText(Label22, hints_->Get(dayButtons_[dday - 1]));
    LoadScheduleDay(dday);
    for (HWND b : dayButtons_) InvalidateRect(b, nullptr, FALSE);
    // Made now: in the language last applied, as the page's other texts.
    ShowFace(texts_ && !texts_->Empty() ? texts_->Lookup() : links_.text);
}

void SchedulerPage::ShowFace(const ui::TextLookup& text) {
    if (!made_) return;
    FillWeekGrid(text);
    ShowDayEditor(!engine_.Running());
    ui::SetVisible(Panel8, engine_.Running());
    SetButtonCaption(text);
    ShowPolicyLocks();
    CheckWakeReadiness();
}

void SchedulerPage::SaveEditedDay() { SaveScheduleDay(dday); }

void SchedulerPage::EngineChanged(SchedulerChange change) {
    if (!made_) return;
    switch (change) {
        case SchedulerChange::Running: ShowFace(links_.text); return;
        case SchedulerChange::Moments: DescribeGrid(); return;
        case SchedulerChange::Policy:
            // The edited day and the week under the new policy (LoadScheduleDay
            // shows its locks).
            LoadScheduleDay(dday);
            FillWeekGrid(links_.text);
            return;
    }
}

// ---- The week grid

void SchedulerPage::FillWeekGrid(const ui::TextLookup& text) {
    if (!made_) return;
    StringGrid1.Clear();
    ApplySchedulerPageTexts(text);
    const IniLoad file = IniFile::Load(ScheduleFile(), RetryPolicy{1, 0});
    const std::array<WeekGridRow, 7> rows =
        ReadWeekGrid(PolicyScheduleIni(file.values, engine_.Week(), links_.formats));
    for (int day = 1; day <= 7; ++day) {
        StringGrid1.SetCell(3, day, rows[static_cast<size_t>(day - 1)].offText);
        StringGrid1.SetCell(4, day, rows[static_cast<size_t>(day - 1)].onText);
    }
    SizeWeekGrid();
    DescribeGrid();
}

void SchedulerPage::SizeWeekGrid() {
    // Columns of 50, 80 and 80, each wider where a heading or a time of this
    // language and regional format needs it, so no text is cut.
    std::array<int, WeekGrid::kColumns> widths{-1, -1, S(50), S(80), S(80)};
    if (ui::WindowDc dc(hwnd_); dc.get()) {
        ui::Selection font(dc.get(), ui::MainFont(dpi_));
        for (int column = 2; column < WeekGrid::kColumns; ++column)
            for (int row = 0; row < WeekGrid::kRows; ++row) {
                const std::wstring& text = StringGrid1.Cell(column, row);
                SIZE size{};
                GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
                widths[static_cast<size_t>(column)] =
                    std::max(widths[static_cast<size_t>(column)], static_cast<int>(size.cx) + S(4 + 3 + 4));
            }
    }
    StringGrid1.SetLayout(widths, S(19));
    if (Panel8) {
        ui::Move(Panel8, S(2), S(2), StringGrid1.ContentWidth(), StringGrid1.ContentHeight() + 1);
        ui::Move(StringGrid1.Handle(), 0, 0, StringGrid1.ContentWidth(), StringGrid1.ContentHeight());
    }
}

void SchedulerPage::StringGrid1DrawCell(HDC dc, int column, int row, const RECT& rect) {
    // Header row and fixed columns dark with white text; data rows in
    // zebra stripes; the next off and the next wake cells marked.
    using ui::Role;
    Role back = Role::GridHeader, text = Role::GridHeaderText;
    if (row > 0 && column > 0) {
        back = row % 2 == 1 ? Role::GridRow : Role::GridStripe;
        text = Role::GridText;
    }
    switch (MarkOf(column, row, NowLocal())) {
        case GridCellMark::NextOff:
            back = Role::NextOffBack;
            text = Role::NextOffText;
            break;
        case GridCellMark::NextOn:
            back = Role::NextOnBack;
            text = Role::NextOnText;
            break;
        case GridCellMark::None: break;
    }
    FillRect(dc, &rect, ui::BrushOf(back));
    if (row > 0 && (column < 2 || column > 4)) return;
    RECT textRect = rect;
    textRect.left += S(4);
    textRect.right -= S(3);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ui::ColorOf(text));
    const std::wstring& cell = StringGrid1.Cell(column, row);
    DrawTextW(dc, cell.c_str(), -1, &textRect, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

GridCellMark SchedulerPage::MarkOf(int column, int row, TDateTime now) const {
    return WeekGridCellMark(column, row, now, engine_.NextOff, engine_.NextOn);
}

void SchedulerPage::DescribeGrid() {
    // The grid's window text tells what it shows, row by row, the marked
    // cells with their mark: for people who cannot see it, and for tests.
    const TDateTime now = NowLocal();
    std::wstring text;
    for (int row = 0; row < WeekGrid::kRows; ++row) {
        for (int column = 2; column < WeekGrid::kColumns; ++column) {
            if (column > 2) text += L'\t';
            text += StringGrid1.Cell(column, row);
            switch (MarkOf(column, row, now)) {
                case GridCellMark::NextOff: text += L" [next off]"; break;
                case GridCellMark::NextOn: text += L" [next on]"; break;
                case GridCellMark::None: break;
            }
        }
        text += L"\r\n";
    }
    SetWindowTextW(StringGrid1.Handle(), text.c_str());
    StringGrid1.Repaint();
}

void SchedulerPage::ShowPolicyLocks() {
    if (!made_) return;
    auto locked = [&](const std::wstring& key) { return engine_.Week().count(key) > 0; };
    EnableWindow(CheckBox8, !locked(ScheduleTickKey(ScheduleDirection::Off, dday)));
    EnableWindow(DateTimePicker5, !locked(ScheduleTimeKey(ScheduleDirection::Off, dday)));
    EnableWindow(CheckBox9, !locked(ScheduleTickKey(ScheduleDirection::On, dday)));
    EnableWindow(DateTimePicker6, !locked(ScheduleTimeKey(ScheduleDirection::On, dday)));
    EnableWindow(PNGButton8, !engine_.RunLock().has_value());
    InvalidateRect(PNGButton8, nullptr, FALSE);
    ui::SetVisible(policyInfo_, engine_.RunLock().has_value() || !engine_.Week().empty());
    LayoutStartButton();
}

void SchedulerPage::PNGButton8Click() { engine_.PNGButton8Click(); }

void SchedulerPage::SetButtonCaption(const ui::TextLookup& text) {
    ui::SetText(PNGButton8, text(engine_.Running() ? L"stopsheduler" : L"startsheduler"));
    LayoutStartButton();
    InvalidateRect(PNGButton8, nullptr, FALSE);
}

// ---- The copy buttons

void SchedulerPage::OpenCopyDialog(bool off) {
    HWND box = off ? CheckBox8 : CheckBox9;
    if (!ui::IsChecked(box)) return;
    const std::wstring time = FormatTime(PickerTime(off ? DateTimePicker5 : DateTimePicker6), links_.formats);
    links_.copyDialog.Prepare(off ? L"off" : L"on", links_.text(off ? L"pcoffat" : L"pconat"), time);
    links_.copyDialog.ShowModal(GetAncestor(hwnd_, GA_ROOT));
    // Nothing after it closes: the editor is not reloaded.
}

void SchedulerPage::PNGButton6Click() { OpenCopyDialog(true); }
void SchedulerPage::PNGButton7Click() { OpenCopyDialog(false); }

// ---- Texts, messages, drawing

void SchedulerPage::ApplyTexts(const ui::TextLookup& text) {
    ApplyOffCaption(text);
    ApplyEditorTexts(text);
    ApplyDayTexts(text);
    ApplyButtonTexts(text);
    ApplySchedulerPageTexts(text);
}

void SchedulerPage::ApplyOffCaption(const ui::TextLookup& text) { ui::SetText(CheckBox8, text(L"pcoff")); }

void SchedulerPage::ApplyEditorTexts(const ui::TextLookup& text) {
    ui::SetText(CheckBox9, text(L"pcon"));
    ui::SetText(Label20, text(L"time"));
    ui::SetText(Label21, text(L"time"));
    hints_->Set(PNGButton6, text(L"copyother"));
    hints_->Set(PNGButton7, text(L"copyother"));
    ui::SetAccessibleName(PNGButton6, text(L"copyoff"));
    ui::SetAccessibleName(PNGButton7, text(L"copyon"));
}

void SchedulerPage::ApplyDayTexts(const ui::TextLookup& text) {
    for (int d = 1; d <= 7; ++d) hints_->Set(dayButtons_[d - 1], text(L"w" + std::to_wstring(d)));
    for (int d = 1; d <= 7; ++d) ui::SetText(dayButtons_[d - 1], text(L"ws" + std::to_wstring(d)));
    if (placed_) Layout();  // the buttons as wide as the new names need
    // The edited day's name follows its day button (Monday at start).
    ui::SetText(Label22, hints_->Get(dayButtons_[(dday >= 1 && dday <= 7 ? dday : 1) - 1]));
}

void SchedulerPage::ApplyButtonTexts(const ui::TextLookup& text) {
    ui::SetText(PNGButton8, text(engine_.Running() ? L"stopsheduler" : L"startsheduler"));
    hints_->Set(PNGButton8, text(L"hintstartsheduler"));
    ui::SetText(policyInfo_, text(L"policymanaged"));
    wake_.ApplyTexts(text, *hints_);
    LayoutStartButton();
}

void SchedulerPage::ApplySchedulerPageTexts(const ui::TextLookup& text) {
    StringGrid1.SetCell(2, 0, text(L"daysheduler"));
    StringGrid1.SetCell(3, 0, text(L"offsheduler"));
    StringGrid1.SetCell(4, 0, text(L"onsheduler"));
    for (int d = 1; d <= 7; ++d) StringGrid1.SetCell(2, d, text(L"ws" + std::to_wstring(d)));
    if (StringGrid1.Handle() && placed_) {
        SizeWeekGrid();
        DescribeGrid();
    }
}

void SchedulerPage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return;
    if (id >= IDC_DAYBUTTON_FIRST && id < IDC_DAYBUTTON_FIRST + 7) {
        SelectScheduleDay(id - IDC_DAYBUTTON_FIRST + 1);  // LMDSpeedButton1Click
        return;
    }
    switch (id) {
        case IDC_PNGBUTTON6: PNGButton6Click(); return;
        case IDC_PNGBUTTON7: PNGButton7Click(); return;
        case IDC_PNGBUTTON8: PNGButton8Click(); return;
        case IDC_IMAGE10: OpenWebSite(GetAncestor(hwnd_, GA_ROOT)); return;
        case IDC_BUTTON_WAKEFIXSCHEDULE: wake_.StartFix(hwnd_); return;
    }
}

bool SchedulerPage::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    const int id = static_cast<int>(item.CtlID);
    // The edited day's button stays down, as speed buttons of one group do.
    const bool dayButton = id >= IDC_DAYBUTTON_FIRST && id < IDC_DAYBUTTON_FIRST + 7;
    // The day buttons' short names all in one face, whatever their length.
    ui::DrawImageButton(item, id == IDC_DAYBUTTON_FIRST + dday - 1, dayButton);
    if (id == IDC_PNGBUTTON6 || id == IDC_PNGBUTTON7) {
        // Two sheets, one over the other: "copy".
        const RECT& r = item.rcItem;
        const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
        UniquePen pen(CreatePen(
            PS_SOLID, 1, ui::ColorOf((item.itemState & ODS_DISABLED) ? ui::Role::Disabled : ui::Role::FaceText)));
        ui::Selection usePen(item.hDC, pen.get());
        ui::Selection fill(item.hDC, ui::BrushOf(ui::Role::Face));
        Rectangle(item.hDC, cx - S(5), cy - S(5), cx + S(2), cy + S(3));
        Rectangle(item.hDC, cx - S(2), cy - S(3), cx + S(5), cy + S(5));
    }
    return true;
}

LRESULT SchedulerPage::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kWakeFixDoneMessage) {
        wake_.FixDone(wp, lp, WakeAhead(), links_.text, *hints_);
        LayoutStartButton();
        return 0;
    }
    if (msg == WM_PAINT) {
        // Shape2: the dotted frame around the edited day's name.
        ui::PaintDc paint(hwnd_);
        if (ui::IsShown(Label22)) {
            UniquePen pen(CreatePen(PS_DOT, 1, ui::ColorOf(ui::Role::DayFrame)));
            ui::Selection usePen(paint.get(), pen.get());
            ui::Selection noFill(paint.get(), GetStockObject(NULL_BRUSH));
            SetBkMode(paint.get(), TRANSPARENT);
            Rectangle(paint.get(), shape2_.left, shape2_.top, shape2_.right, shape2_.bottom);
        }
        return 0;
    }
    return Page::HandleMessage(msg, wp, lp);
}

}  // namespace zelvar
