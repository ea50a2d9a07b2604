#include "app/cycle_host_win.h"

#include "app/options_page_win.h"
#include "app/startup_programs_win.h"
#include "common/locale_win.h"
#include "power/close_applications.h"
#include "power/countdowns_win.h"
#include "power/plan_page_win.h"
#include "power/ucountform.h"
#include "power/wtimer.h"
#include "scheduler/scheduler_engine_win.h"
#include "scheduler/scheduler_page_win.h"
#include "ui/message_loop_win.h"

namespace zelvar {

TDateTime MainCycleHost::Now() { return NowLocal(); }
double MainCycleHost::RealNow() { return RealSecondsNow(); }
std::optional<double> MainCycleHost::RealSecondsOf(TDateTime local) { return RealSecondsOfLocal(local); }
std::optional<double> MainCycleHost::PlanAppliedAt() { return p_.plan.AppliedAt(); }
bool MainCycleHost::PlanArmed() { return p_.plan.Armed(); }
TDateTime MainCycleHost::OffDatePicker() { return p_.plan.OffDate(); }
TDateTime MainCycleHost::OffTimePicker() { return p_.plan.OffTime(); }
TDateTime MainCycleHost::WakeDatePicker() { return p_.plan.WakeDate(); }
TDateTime MainCycleHost::WakeTimePicker() { return p_.plan.WakeTime(); }
bool MainCycleHost::OffTicked() { return p_.plan.OffTicked(); }
bool MainCycleHost::WakeTicked() { return p_.plan.WakeTicked(); }
int MainCycleHost::OffModeIndex() { return p_.plan.OffModeIndex(); }
bool MainCycleHost::StartSoundTicked() { return p_.options.StartSound(); }
bool MainCycleHost::RestartAfterWakeTicked() { return p_.options.RestartAfterWake(); }
bool MainCycleHost::SchedulerActive() { return p_.scheduler.Running(); }
std::optional<TDateTime> MainCycleHost::NextScheduledOff() { return ComposedMoment(p_.scheduler.NextOff); }
std::optional<TDateTime> MainCycleHost::NextScheduledOn() { return ComposedMoment(p_.scheduler.NextOn); }
bool MainCycleHost::CountdownVisible() { return p_.countForm.IsVisible(); }
std::optional<TDateTime> MainCycleHost::ComposedMoment(const ScheduledMoment& moment) {
    if (!moment.Has) return std::nullopt;
    return ComposeMoment(moment.Date, moment.Time);
}
TDateTime MainCycleHost::ComposeMoment(TDateTime date, TDateTime timeOfDay) {
    return MomentOf(date, timeOfDay, p_.formats);
}
void MainCycleHost::ArmCountdown(std::uint32_t intervalMs) { p_.countdowns.ArmCountdown(intervalMs); }
void MainCycleHost::OpenCountdown(int seconds) {
    p_.countdowns.StopCountdown();  // shown now: timercnt has nothing left to open
    p_.countForm.StartCount(seconds);
}
// A skipped moment leaves no countdown aimed at it to open later.
void MainCycleHost::PlanMomentSkipped() {
    p_.countdowns.StopCountdown();
    p_.plan.PlanMomentSkipped();
}
void MainCycleHost::ScheduledMomentSkipped() {
    p_.countdowns.StopCountdown();
    p_.scheduler.ScheduledMomentSkipped();
}
void MainCycleHost::PumpMessages() { ui::PumpMessages(); }
void MainCycleHost::CloseApplications() { zelvar::CloseApplications(window_, p_.options.CloseOpenPrograms()); }
void MainCycleHost::KeepAwakeAfterResume() { SetThreadExecutionState(ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED); }
void MainCycleHost::ResetCountdownWindow() { p_.countForm.Reset(); }
void MainCycleHost::ClearPlanTicks() {
    p_.plan.SetOffTicked(false);
    p_.plan.SetWakeTicked(false);
}
void MainCycleHost::ShowPlanState(bool editable) { p_.plan.ShowPlanState(editable); }
void MainCycleHost::RefreshOneShotPlan() { p_.plan.RefreshOneShotPlan(); }
void MainCycleHost::PlayStartSound() { zelvar::PlayStartSound(); }
void MainCycleHost::RunStartupPrograms() { zelvar::RunStartupPrograms(window_); }
void MainCycleHost::SelectToday() { p_.schedulerPage.SelectToday(); }
void MainCycleHost::ResumeScheduler() { p_.scheduler.ResumeScheduler(); }
void MainCycleHost::StartRestartCountdown() { p_.countdowns.StartRestartCountdown(); }

}  // namespace zelvar
