#pragma once
// One power cycle: from its off and wake moments through the off wait, the
// wake timer and the power action to the tasks after the machine resumes.
// The cycle is a free function over a host (the main window) that answers
// what the cycle reads and does what it asks of the windows.
#include <cstdint>
#include <memory>
#include <optional>

#include "common/datetime.h"
#include "power/off_wait_rules.h"
#include "power/power_cycle_rules.h"
#include "power/wtimer.h"

namespace zelvar {

// The program-wide power-cycle state, owned once (by the main window) and
// touched only on the window thread.
class PowerCycleState {
public:
    std::unique_ptr<TWaitableTimer> OffTimer;   // the off wait's timer, armed for a universal due time
    std::unique_ptr<TWaitableTimer> WakeTimer;  // absolute timer with resume, for the wake moment
    bool OffTimerActive = false;
    bool WakeTimerActive = false;
    // Moves on when a cycle begins and whenever OffTimer is destroyed. A
    // waiting cycle that sees it move no longer owns the wait (a cancel, a
    // discard, or a nested cycle took the timers over) and ends without a
    // power action, leaving the timers to whoever holds them now.
    std::uint64_t CycleGeneration = 0;
    // The system announced a sleep and no wait has looked since: a countdown
    // on screen then starts again from "00:30", a passed moment is skipped.
    bool SuspendNoticed = false;
    // The clock or the zone was changed: the countdown is aimed anew.
    bool ClockChanged = false;
    // The program's own hibernation: under way (a message may be handled
    // inside the call), and when it last ended (real seconds).
    bool OwnHibernating = false;
    std::optional<double> OwnResumeAt;

    // Stop (ignoring errors) and destroy; clear the flag. Safe when inactive.
    void DestroyOffTimer();
    void DestroyWakeTimer();
    void DestroyTimers();

    // ---- CycleAbort: asks a waiting cycle to give up; read also by the
    // countdown timer, which then shows nothing.
    bool CycleAbort() const { return cycleAbort_; }
    // The user gives up the waiting cycle and its power-down: the cycle ends,
    // and the countdown it warned with no longer counts.
    void Cancel() {
        cycleAbort_ = true;
        warning_.reset();
    }
    // A waiting cycle ends (the program closes, a kept-running scheduler
    // skips its moment); the flag stays set for the countdown timer to see.
    void AbortWait() { cycleAbort_ = true; }
    // What an earlier cycle left is dropped before a new one may wait: its
    // timers (a wait still running sees it is no longer its own) and the
    // abort request.
    void Discard() {
        cycleAbort_ = false;
        DestroyTimers();
    }
    // A new wait may run (the scheduler starts).
    void AllowWait() { cycleAbort_ = false; }

    // ---- The full countdown on screen for an off moment, since when (real
    // seconds): the power-down comes no sooner than 30 seconds after it.
    const std::optional<OffWarning>& Warning() const { return warning_; }
    void Warn(const OffWarning& warning) { warning_ = warning; }
    // The countdown starts again from its beginning (after a sleep).
    void WarnAgainFrom(double realNow) {
        if (warning_) warning_->since = realNow;
    }
    void DropWarning() { warning_.reset(); }

    // ---- The aim of the countdown timer (timercnt).
    // Aimed at offMoment; reaim: in steps, the moment being too far away for
    // one window-timer interval.
    void AimCountdown(TDateTime offMoment, bool reaim) {
        countdownOffMoment_ = offMoment;
        countdownReaim_ = reaim;
    }
    // For anyone else who arms timercnt with a single interval (the scheduler
    // tick): the stepped aim of a cycle no longer applies; the countdown it
    // opens warns for this off moment.
    void CountdownArmedDirectly(TDateTime offMoment) { AimCountdown(offMoment, false); }
    // No more steps: timercnt, if it fires, opens the countdown.
    void StopReaim() { countdownReaim_ = false; }
    // What timercnt does when it fires and CycleAbort is clear: an interval
    // to arm again (the countdown is still being aimed in steps), or nullopt
    // to open the 30-second countdown now.
    std::optional<std::uint32_t> ContinueCountdown(double realNow);
    // timercnt has opened the 30-second countdown: it warns from now on for
    // the moment it was aimed at.
    void CountdownOpened(double realNow);

private:
    bool cycleAbort_ = false;
    bool countdownReaim_ = false;
    TDateTime countdownOffMoment_ = 0;
    std::optional<OffWarning> warning_;
};

class PowerCycleHost {
public:
    virtual ~PowerCycleHost() = default;

    // ---- What the cycle reads. Each call reads the windows anew: the
    // cycle asks again after every pump, since a handler may have changed them.
    virtual TDateTime Now() = 0;   // local time
    virtual double RealNow() = 0;  // universal time, real seconds (RealSecondsNow)
    // A local moment in real seconds by the zone's rules at it; nullopt
    // when the system cannot place it.
    virtual std::optional<double> RealSecondsOf(TDateTime local) = 0;
    virtual PlanReading Plan() = 0;
    virtual ScheduleReading Schedule() = 0;
    virtual CycleOptions Options() = 0;
    virtual bool CountdownVisible() = 0;  // TCountForm shown

    // ---- What the cycle does on the windows
    virtual void ArmCountdown(std::uint32_t intervalMs) = 0;  // timercnt interval, enabled
    // The countdown window shown at once, counting down from these seconds.
    virtual void OpenCountdown(int seconds) = 0;
    // The plan's off moment passed while the machine slept or the program
    // was held: the countdown hidden, the ticks cleared, the editing view,
    // and a message that says so.
    virtual void PlanMomentSkipped() = 0;
    // The scheduled off moment passed the same way: the scheduler looks for
    // the moments after it.
    virtual void ScheduledMomentSkipped() = 0;
    virtual void PumpMessages() = 0;       // dispatch every pending window message, then return
    virtual void CloseApplications() = 0;  // only called when CheckBox5 is ticked
    // SetThreadExecutionState(ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED) once,
    // right after resuming, so a timer wake counts as a wake for the user.
    virtual void KeepAwakeAfterResume() = 0;

    // ---- Resume tasks, called in this order after a hibernation
    virtual void ResetCountdownWindow() = 0;  // stop its ticker, hide, CountLeft 30, "00:30"
    virtual void ClearPlanTicks() = 0;        // untick CheckBox3, then CheckBox1 (handlers run)
    virtual void ShowPlanState(bool editable) = 0;
    virtual void RefreshOneShotPlan() = 0;
    virtual void PlayStartSound() = 0;  // only called when CheckBox6 is ticked
    virtual void RunStartupPrograms() = 0;
    virtual void SelectToday() = 0;
    // Only called while the scheduler is active: ComputeNextSchedule,
    // repaint StringGrid1, enable Scheduler_Timer.
    virtual void ResumeScheduler() = 0;
    // Only called when CheckBox10 is ticked: timerreset 60000 ms enabled,
    // countdown window shown at "00:60" with CountLeft 60 and its ticker on.
    virtual void StartRestartCountdown() = 0;
};

// Runs one cycle to its end. Returns after a cancel (CycleAbort), when a
// nested cycle or a discard took the off wait over, after a skipped (stale)
// off moment, after a power-off request, or after the resume tasks. Raises OsError when a power action
// fails or a timer the cycle needs cannot be created or armed; the timers
// are then left as they are for the next cycle or Cancel to discard.
void RunPowerCycle(PowerCycleHost& host, PowerCycleState& state);

// After a resume that the standing wake timer caused: the machine kept awake
// and the display on, the start sound and the start-up programs as their
// options say, and the restart countdown when restart-after-wake is ticked.
void RunTimerWakeTasks(PowerCycleHost& host);

}  // namespace zelvar
