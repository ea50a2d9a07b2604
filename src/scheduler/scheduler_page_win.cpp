#include "scheduler/scheduler_page_win.h"

#include "online/links_win.h"
#include "ui/art.h"
#include "ui/control_ids.h"

namespace zelvar {

void SchedulerPage::CreateControls() {
    using namespace ui;
    Image10 = CreatePicture(hwnd_, IDC_IMAGE10, CurrentTheme().Picture(kBitmapPanel3), 0, 0, 64, 64, true);
    for (int d = 0; d < 7; ++d) dayButtons_[d] = CreateImageButton(hwnd_, IDC_DAYBUTTON_FIRST + d, L"", 0, 0, 0, 0);
    Label22 = CreateLabel(hwnd_, IDC_LABEL22, L"", 0, 0, 0, 0);
    SendMessageW(Label22, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont()), FALSE);
    PNGButton8 = CreateImageButton(hwnd_, IDC_PNGBUTTON8, L"", 0, 0, 0, 0);
}

void SchedulerPage::Layout() {
    for (int d = 0; d < 7; ++d) ui::Move(dayButtons_[d], S(8 + d * 41), S(8), S(38), S(26));
    ui::Move(Label22, S(10), S(44), S(200), S(20));
    ui::Move(PNGButton8, S(10), Height() - S(8 + 28), S(160), S(28));
    ui::Move(Image10, Width() - S(1 + 64), Height() - S(3 + 64), S(64), S(64));
}

void SchedulerPage::StartUp(const ui::TextLookup& text) {
    // The page starts on Monday, then shows today.
    dday = 1;
    ui::SetText(Label22, hints_->Get(dayButtons_[0]));
    LoadScheduleDay(1);
    FillWeekGrid();
    SelectToday();
    if (tag_ == 0) {
        ui::SetText(PNGButton8, text(L"startsheduler"));
        ShowDayEditor(true);
        KillTimer(GetParent(hwnd_), TIMER_SCHEDULER);
    } else {
        ui::SetText(PNGButton8, text(L"stopsheduler"));
        ShowDayEditor(false);
        ComputeNextSchedule();
        SetTimer(GetParent(hwnd_), TIMER_SCHEDULER, 803, nullptr);
    }
}

void SchedulerPage::SaveScheduleDay(int) {}
void SchedulerPage::LoadScheduleDay(int) {}
void SchedulerPage::FillWeekGrid() {}
void SchedulerPage::SelectToday() {}
void SchedulerPage::ShowDayEditor(bool) {}
void SchedulerPage::ComputeNextSchedule() {}
void SchedulerPage::StopSchedulerFromCountdown() {}

void SchedulerPage::ResumeScheduler() {
    ComputeNextSchedule();
    SetTimer(GetParent(hwnd_), TIMER_SCHEDULER, 803, nullptr);
}

void SchedulerPage::Scheduler_TimerTimer() {}

void SchedulerPage::ApplyOffCaption(const ui::TextLookup&) {}
void SchedulerPage::ApplyEditorTexts(const ui::TextLookup&) {}

void SchedulerPage::ApplyDayTexts(const ui::TextLookup& text) {
    for (int d = 1; d <= 7; ++d) hints_->Set(dayButtons_[d - 1], text(L"w" + std::to_wstring(d)));
    for (int d = 1; d <= 7; ++d) ui::SetText(dayButtons_[d - 1], text(L"ws" + std::to_wstring(d)));
    // The edited day's name follows its day button (Monday at start).
    ui::SetText(Label22, hints_->Get(dayButtons_[(dday >= 1 && dday <= 7 ? dday : 1) - 1]));
}

void SchedulerPage::ApplyButtonTexts(const ui::TextLookup& text) {
    ui::SetText(PNGButton8, text(tag_ != 0 ? L"stopsheduler" : L"startsheduler"));
    hints_->Set(PNGButton8, text(L"hintstartsheduler"));
}

void SchedulerPage::ApplySchedulerPageTexts(const ui::TextLookup&) {}

void SchedulerPage::OnCommand(int id, int code, HWND) {
    if (code == BN_CLICKED && id == IDC_IMAGE10) OpenWebSite(GetAncestor(hwnd_, GA_ROOT));
}

}  // namespace zelvar
