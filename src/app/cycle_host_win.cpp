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
PlanReading MainCycleHost::Plan() {
    PlanReading plan;
    plan.armed = p_.plan.Armed();
    plan.offTicked = p_.plan.OffTicked();
    if (plan.armed) {
        plan.off = p_.plan.OffMoment();
        plan.wake = p_.plan.WakeMoment();
    }
    plan.wakeTicked = p_.plan.WakeTicked();
    plan.offMode = p_.plan.OffModeIndex();
    plan.appliedAt = p_.plan.AppliedAt();
    return plan;
}
ScheduleReading MainCycleHost::Schedule() { return p_.scheduler.Reading(); }
CycleOptions MainCycleHost::Options() {
    CycleOptions options;
    options.startSound = p_.options.StartSound();
    options.restartAfterWake = p_.options.RestartAfterWake();
    options.closeApplications = p_.options.CloseOpenPrograms();
    return options;
}
bool MainCycleHost::CountdownVisible() { return p_.countForm.IsVisible(); }
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
void MainCycleHost::CloseApplications() { zelvar::CloseApplications(window_, true); }
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
