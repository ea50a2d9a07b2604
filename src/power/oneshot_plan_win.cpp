// The one-shot plan page (Apply, Cancel, the two views), the countdown
// timers of the main window, and the main window's side of the power cycle.
#include "app/control_ids.h"
#include "app/zelvar.h"
#include "common/locale_win.h"
#include "common/os_error_win.h"
#include "power/close_applications.h"
#include "power/oneshot_rules.h"
#include "power/power_actions.h"
#include "power/ucountform.h"

namespace zelvar {

void TForm1::CheckBox3Click() {
    UpdateWakeControls();
    ui::SetVisible(ComboBox2, ui::IsChecked(CheckBox3) && !ui::IsChecked(CheckBox1));
}

void TForm1::CheckBox1Click() { ui::SetVisible(ComboBox2, !ui::IsChecked(CheckBox1)); }

void TForm1::ShowPlanState(bool editable) {
    for (HWND c : {CheckBox3, DateTimePicker1, DateTimePicker2, CheckBox1, DateTimePicker3, DateTimePicker4})
        EnableWindow(c, editable);
    ui::SetVisible(PNGButton2, editable);
    ui::SetVisible(PNGButton5, !editable);
    if (editable) {
        ui::SetVisible(Panel6, false);
        ui::SetVisible(ComboBox2, ui::IsChecked(CheckBox3) && !ui::IsChecked(CheckBox1));
        return;
    }
    SetWindowPos(Panel6, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ui::SetVisible(Panel6, true);
    ui::SetText(Label8, FormatDate(PickerValue(DateTimePicker1), formats_));
    ui::SetText(Label9, FormatTime(PickerValue(DateTimePicker2), formats_));
    const bool wake = ui::IsChecked(CheckBox1);
    for (HWND l : {Label10, Label11, Label12}) ui::SetVisible(l, wake);
    if (wake) {
        ui::SetText(Label11, FormatDate(PickerValue(DateTimePicker3), formats_));
        ui::SetText(Label12, FormatTime(PickerValue(DateTimePicker4), formats_));
    }
    ui::SetVisible(ComboBox2, false);
}

void TForm1::PNGButton2Click() {
    Cycle.CycleAbort = false;
    Cycle.DestroyTimers();
    InvalidateRect(PNGButton2, nullptr, TRUE);
    if (!ui::IsChecked(CheckBox3)) return;
    PlanInput plan;
    plan.now = NowLocal();
    plan.offDate = PickerValue(DateTimePicker1);
    plan.offTime = PickerValue(DateTimePicker2);
    plan.wakeTicked = ui::IsChecked(CheckBox1);
    plan.wakeDate = PickerValue(DateTimePicker3);
    plan.wakeTime = PickerValue(DateTimePicker4);
    if (CheckPlan(plan, formats_) != PlanFault::None) {
        MessageBoxW(hwnd_, MsgWrongDt.c_str(), ApplicationTitle(), MB_OK);
        return;
    }
    ShowPlanState(false);
    RunPowerCycle(*this, Cycle);  // returns when the cycle has ended
}

void TForm1::PNGButton5Click() {
    InvalidateRect(PNGButton5, nullptr, TRUE);
    SetCheck(CheckBox3, false);
    SetCheck(CheckBox1, false);
    Cycle.CycleAbort = true;
    ui::PumpMessages();
    if (count_ && count_->IsVisible()) count_->Hide();
    // timercnt stays armed: when it fires it finds CycleAbort and shows nothing.
    Cycle.DestroyOffTimer();
    ShowPlanState(true);
    InvalidateRect(PNGButton2, nullptr, TRUE);
}

void TForm1::OnPageCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return;
    if (id == IDC_PNGBUTTON2) PNGButton2Click();
    else if (id == IDC_PNGBUTTON5) PNGButton5Click();
}

void TForm1::OnPowerTimer(UINT_PTR id) {
    switch (id) {
        case TIMER_TIMERCNT: timercntTimer(); break;
        case TIMER_TIMERRESET: timerresetTimer(); break;
        default: KillTimer(hwnd_, id); break;  // the scheduler tick attaches here
    }
}

void TForm1::OnExitStopTimers() { Cycle.DestroyTimers(); }

void TForm1::timercntTimer() {
    ui::PumpMessages();
    if (Cycle.CycleAbort) {
        // A cancel, an exit or a stop of the scheduler came after arming.
        KillTimer(hwnd_, TIMER_TIMERCNT);
        Cycle.DestroyOffTimer();
        return;
    }
    // A moment beyond one timer interval is approached in steps.
    if (auto again = ContinueCountdown(Cycle, NowLocal())) {
        SetTimer(hwnd_, TIMER_TIMERCNT, *again, nullptr);
        return;
    }
    KillTimer(hwnd_, TIMER_TIMERCNT);
    if (count_) count_->StartCount(30);
}

void TForm1::timerresetTimer() {
    KillTimer(hwnd_, TIMER_TIMERRESET);
    RestartComputer();
}

void TForm1::CountFormCancel() {
    if (count_) count_->StopTicker();
    KillTimer(hwnd_, TIMER_TIMERRESET);  // this is what drops a pending restart
    if (count_) count_->Hide();
    if (SchedulerTag != 0 && CountdownBySchedule) {
        StopSchedulerFromCountdown();
        CountdownBySchedule = false;
    }
    PNGButton5Click();
}

// ---- The power cycle's view of the window

TDateTime TForm1::Now() { return NowLocal(); }
bool TForm1::PlanArmed() { return ui::IsShown(Panel6); }
TDateTime TForm1::OffDatePicker() { return PickerValue(DateTimePicker1); }
TDateTime TForm1::OffTimePicker() { return PickerValue(DateTimePicker2); }
TDateTime TForm1::WakeDatePicker() { return PickerValue(DateTimePicker3); }
TDateTime TForm1::WakeTimePicker() { return PickerValue(DateTimePicker4); }
bool TForm1::OffTicked() { return ui::IsChecked(CheckBox3); }
bool TForm1::WakeTicked() { return ui::IsChecked(CheckBox1); }
int TForm1::OffModeIndex() {
    const LRESULT sel = SendMessageW(ComboBox2, CB_GETCURSEL, 0, 0);
    return sel == CB_ERR ? -1 : static_cast<int>(sel);
}
bool TForm1::StartSoundTicked() { return ui::IsChecked(CheckBox6); }
bool TForm1::RestartAfterWakeTicked() { return ui::IsChecked(CheckBox10); }
bool TForm1::SchedulerActive() { return SchedulerTag != 0; }
ScheduledMoment TForm1::NextScheduledOff() { return NextOff; }
ScheduledMoment TForm1::NextScheduledOn() { return NextOn; }
bool TForm1::CountdownVisible() { return count_ && count_->IsVisible(); }
std::optional<TDateTime> TForm1::ComposeMoment(TDateTime date, TDateTime timeOfDay) {
    return zelvar::ComposeMoment(date, timeOfDay, formats_);
}
void TForm1::ArmCountdown(std::uint32_t intervalMs) { SetTimer(hwnd_, TIMER_TIMERCNT, intervalMs, nullptr); }
void TForm1::PumpMessages() { ui::PumpMessages(); }
void TForm1::CloseApplications() { zelvar::CloseApplications(hwnd_, ui::IsChecked(CheckBox5)); }
void TForm1::KeepAwakeAfterResume() { SetThreadExecutionState(ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED); }
void TForm1::ResetCountdownWindow() {
    if (count_) count_->Reset();
}
void TForm1::ClearPlanTicks() {
    SetCheck(CheckBox3, false);
    SetCheck(CheckBox1, false);
}
void TForm1::ResumeScheduler() {
    ComputeNextSchedule();
    SetTimer(hwnd_, TIMER_SCHEDULER, 803, nullptr);
}
void TForm1::StartRestartCountdown() {
    SetTimer(hwnd_, TIMER_TIMERRESET, 60000, nullptr);
    if (count_) count_->StartCount(60);
}

}  // namespace zelvar
