#include "power/power_cycle.h"

#include "common/os_error_win.h"
#include "power/power_actions.h"
#include "power/power_cycle_rules.h"

namespace zelvar {
namespace {

constexpr std::uint32_t kWaitSliceMs = 100;
constexpr std::int64_t kTicksPerSecond = 10'000'000;

// A timer under the shared name, or OsError: a wait on a timer that does not
// exist would never end, and a wake that is not armed would never come.
std::unique_ptr<TWaitableTimer> CreateCycleTimer() {
    auto timer = std::make_unique<TWaitableTimer>();
    timer->Create(false, nullptr, kWaitableTimerName);
    if (!timer->Handle) RaiseLastOsError();
    return timer;
}

void Arm(TWaitableTimer& timer) {
    if (!timer.Start()) throw OsErrorFromCode(timer.LastError);
}

void RunResumeTasks(PowerCycleHost& host, PowerCycleState& state) {
    state.DestroyTimers();  // also drops a wake still pending when the user woke the machine early
    state.CountdownReaim = false;
    host.ResetCountdownWindow();
    host.ClearPlanTicks();
    host.ShowPlanState(true);
    host.RefreshOneShotPlan();
    if (host.StartSoundTicked()) host.PlayStartSound();
    host.RunStartupPrograms();
    host.SelectToday();
    if (host.SchedulerActive()) host.ResumeScheduler();
    if (host.RestartAfterWakeTicked()) host.StartRestartCountdown();
}

}  // namespace

void PowerCycleState::DestroyOffTimer() {
    if (OffTimer) OffTimer->Stop();
    OffTimer.reset();
    OffTimerActive = false;
    ++CycleGeneration;
}

void PowerCycleState::DestroyWakeTimer() {
    if (WakeTimer) WakeTimer->Stop();
    WakeTimer.reset();
    WakeTimerActive = false;
}

void PowerCycleState::DestroyTimers() {
    DestroyOffTimer();
    DestroyWakeTimer();
}

std::optional<std::uint32_t> ContinueCountdown(PowerCycleState& state, TDateTime now) {
    if (!state.CountdownReaim) return std::nullopt;
    const std::optional<CountdownStep> step = NextCountdownStep(SecondsBetween(now, state.CountdownOffMoment));
    if (!step) {
        state.CountdownReaim = false;
        return std::nullopt;
    }
    state.CountdownReaim = !step->lastStep;
    return step->intervalMs;
}

void CountdownArmedDirectly(PowerCycleState& state) { state.CountdownReaim = false; }

void RunPowerCycle(PowerCycleHost& host, PowerCycleState& state) {
    const std::uint64_t generation = ++state.CycleGeneration;

    // Moments of both sources; the earlier wins in each direction.
    CycleMomentSources sources;
    sources.planArmed = host.PlanArmed();
    if (sources.planArmed) {
        sources.planOff = host.ComposeMoment(host.OffDatePicker(), host.OffTimePicker());
        sources.planWake = host.ComposeMoment(host.WakeDatePicker(), host.WakeTimePicker());
    }
    sources.wakeTicked = host.WakeTicked();
    sources.schedulerActive = host.SchedulerActive();
    if (sources.schedulerActive) {
        const ScheduledMoment off = host.NextScheduledOff();
        const ScheduledMoment on = host.NextScheduledOn();
        sources.hasNextOff = off.Has;
        if (off.Has) sources.nextOff = host.ComposeMoment(off.Date, off.Time);
        sources.hasNextOn = on.Has;
        if (on.Has) sources.nextOn = host.ComposeMoment(on.Date, on.Time);
    }
    const CycleMoments moments = MergeCycleMoments(sources);
    const std::int64_t n = SecondsToOff(host.Now(), moments.off);

    if (const auto step = CycleCountdownStep(host.CountdownVisible(), n)) {
        state.CountdownReaim = !step->lastStep;
        state.CountdownOffMoment = moments.off.value_or(0);
        host.ArmCountdown(step->intervalMs);
    }

    if (OffWaitRuns(host.OffTicked(), sources.schedulerActive, sources.hasNextOff)) {
        state.OffTimer = CreateCycleTimer();
        state.OffTimerActive = true;
        state.OffTimer->Period = 0;
        // The wait runs to the off moment itself, never short of it. A moment
        // that has come leaves RelativeTime 0: the timer falls back to its
        // zero Time, long past, and is signalled at once.
        state.OffTimer->RelativeTime = -OffWaitTicks(host.Now(), moments.off);
        Arm(*state.OffTimer);

        // Whoever destroys OffTimer or starts another cycle moves the
        // generation on; from then on the wait is no longer ours.
        const auto ownsWait = [&] { return state.CycleGeneration == generation; };
        while (!state.CycleAbort && ownsWait()) {
            if (state.OffTimer->WaitFor(kWaitSliceMs) == WaitSignaled) break;
            if (state.CycleAbort) break;
            host.PumpMessages();
        }
        if (!ownsWait()) return;
        if (state.CycleAbort) {
            state.DestroyOffTimer();
            return;
        }

        if (WakeTimerArmed(host.WakeTicked(), sources.schedulerActive, sources.hasNextOn, moments.wake.has_value())) {
            // Same name as OffTimer: this re-arms the one kernel timer the wait used.
            state.WakeTimer = CreateCycleTimer();
            state.WakeTimerActive = true;
            state.WakeTimer->Period = 0;
            state.WakeTimer->Time = *moments.wake;
            state.WakeTimer->RelativeTime = 0;
            Arm(*state.WakeTimer);
        }
    }

    host.CloseApplications();

    const bool mustWake = host.WakeTicked() || moments.schedulerMomentTaken;
    switch (ChoosePowerAction(host.OffTicked(), mustWake, host.OffModeIndex())) {
        case PowerAction::PowerOff:
            PowerOffComputer();
            return;
        case PowerAction::Hibernate:
            HibernateComputer();
            // A timer wake is an unattended one: without this the system
            // goes back to sleep after a short while and the display stays dark.
            host.KeepAwakeAfterResume();
            break;
        case PowerAction::None:
            break;
    }
    RunResumeTasks(host, state);
}

}  // namespace zelvar
