#pragma once
// The power cycle's view of the program: what it reads from the plan page,
// the options, the scheduler and the countdown window, and the resume tasks
// it asks of them. The cycle itself knows none of the windows.
#include <windows.h>

#include "common/locale_format.h"
#include "power/power_cycle.h"

namespace zelvar {

class OptionsPage;
class PlanPage;
class SchedulerEngine;
class SchedulerPage;
class TCountForm;
class Countdowns;

class MainCycleHost : public PowerCycleHost {
public:
    struct Parts {
        OptionsPage& options;
        PlanPage& plan;
        SchedulerEngine& scheduler;
        SchedulerPage& schedulerPage;  // its day editor goes to today after a resume
        TCountForm& countForm;
        Countdowns& countdowns;
        const LocaleFormats& formats;
    };
    explicit MainCycleHost(Parts parts) : p_(parts) {}
    void Attach(HWND mainWindow) { window_ = mainWindow; }

    TDateTime Now() override;
    double RealNow() override;
    std::optional<double> RealSecondsOf(TDateTime local) override;
    PlanReading Plan() override;
    ScheduleReading Schedule() override;
    CycleOptions Options() override;
    bool CountdownVisible() override;
    void ArmCountdown(std::uint32_t intervalMs) override;
    void OpenCountdown(int seconds) override;
    void PlanMomentSkipped() override;
    void ScheduledMomentSkipped() override;
    void PumpMessages() override;
    void CloseApplications() override;
    void KeepAwakeAfterResume() override;
    void ResetCountdownWindow() override;
    void ClearPlanTicks() override;
    void ShowPlanState(bool editable) override;
    void RefreshOneShotPlan() override;
    void PlayStartSound() override;
    void RunStartupPrograms() override;
    void SelectToday() override;
    void ResumeScheduler() override;
    void StartRestartCountdown() override;

private:
    Parts p_;
    HWND window_ = nullptr;
};

}  // namespace zelvar
