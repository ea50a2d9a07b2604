#include "power/power_cycle.h"

#include "common/os_error_win.h"
#include "power/cycle_log_win.h"
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

// A step the system may refuse: the refusal goes to the log with its code,
// then on to the caller as before.
template <typename Step>
void Refusable(CycleStep what, Step&& step) {
    try {
        step();
    } catch (const OsError& e) {
        AppendCycleLog(CycleRefusedLine(LogNow(), what, static_cast<std::uint32_t>(e.Code())));
        throw;
    }
}

std::optional<LogMoment> LoggedMoment(bool used, const std::optional<TDateTime>& moment) {
    if (!used || !moment) return std::nullopt;
    return LogMomentAt(*moment);
}

bool QuitPending() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// Waits until the off timer is signalled, CycleAbort is set or the wait is
// no longer ours. The thread sleeps in one kernel wait on the timer and the
// message queue together and pumps only when a message is there, so a cycle
// waiting for days costs what the idle program costs.
template <typename OwnsWait>
void WaitForOffMoment(PowerCycleHost& host, PowerCycleState& state, OwnsWait ownsWait) {
    bool sliced = false;
    while (!state.CycleAbort && ownsWait()) {
        DWORD result = WAIT_FAILED;
        if (!sliced) {
            HANDLE timer = state.OffTimer->Handle;
            result = MsgWaitForMultipleObjectsEx(1, &timer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
        if (result == WAIT_OBJECT_0) break;
        if (result != WAIT_OBJECT_0 + 1) {
            // A failed wait counts as an unexpired timer; so does a quit that
            // is already posted and keeps the queue signalled for good. Both
            // go on in 100 ms waits on the timer alone.
            if (state.OffTimer->WaitFor(kWaitSliceMs) == WaitSignaled) break;
        }
        if (state.CycleAbort) break;
        host.PumpMessages();
        sliced = QuitPending();
    }
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
    const bool offWait = OffWaitRuns(host.OffTicked(), sources.schedulerActive, sources.hasNextOff);
    const bool wakeExpected =
        offWait && WakeTimerArmed(sources.wakeTicked, sources.schedulerActive, sources.hasNextOn, moments.wake.has_value());
    AppendCycleLog(CycleStartLine(LogNow(), CycleSourceOf(sources.planArmed, moments.schedulerMomentTaken),
                                  LoggedMoment(offWait, moments.off), LoggedMoment(wakeExpected, moments.wake)));

    if (const auto step = CycleCountdownStep(host.CountdownVisible(), n)) {
        state.CountdownReaim = !step->lastStep;
        state.CountdownOffMoment = moments.off.value_or(0);
        host.ArmCountdown(step->intervalMs);
    }

    if (offWait) {
        Refusable(CycleStep::OffTimer, [&] {
            state.OffTimer = CreateCycleTimer();
            state.OffTimerActive = true;
            state.OffTimer->Period = 0;
            // The wait runs to the off moment itself, never short of it. A
            // moment that has come leaves RelativeTime 0: the timer falls back
            // to its zero Time, long past, and is signalled at once.
            state.OffTimer->RelativeTime = -OffWaitTicks(host.Now(), moments.off);
            Arm(*state.OffTimer);
        });

        // Whoever destroys OffTimer or starts another cycle moves the
        // generation on; from then on the wait is no longer ours.
        const auto ownsWait = [&] { return state.CycleGeneration == generation; };
        WaitForOffMoment(host, state, ownsWait);
        if (!ownsWait()) return;
        if (state.CycleAbort) {
            state.DestroyOffTimer();
            return;
        }

        if (WakeTimerArmed(host.WakeTicked(), sources.schedulerActive, sources.hasNextOn, moments.wake.has_value())) {
            Refusable(CycleStep::WakeTimer, [&] {
                // Same name as OffTimer: this re-arms the one kernel timer the wait used.
                state.WakeTimer = CreateCycleTimer();
                state.WakeTimerActive = true;
                state.WakeTimer->Period = 0;
                state.WakeTimer->Time = *moments.wake;
                state.WakeTimer->RelativeTime = 0;
                Arm(*state.WakeTimer);
            });
        }
    }

    host.CloseApplications();

    const bool mustWake = host.WakeTicked() || moments.schedulerMomentTaken;
    switch (ChoosePowerAction(host.OffTicked(), mustWake, host.OffModeIndex())) {
        case PowerAction::PowerOff:
            AppendCycleLog(CycleActionLine(LogNow(), CycleAction::PowerOff));
            Refusable(CycleStep::PowerOff, [] { PowerOffComputer(); });
            AppendCycleLog(CycleDoneLine(LogNow()));
            return;
        case PowerAction::Hibernate:
            AppendCycleLog(CycleActionLine(LogNow(), CycleAction::Hibernate));
            Refusable(CycleStep::Hibernate, [] { HibernateComputer(); });
            AppendCycleLog(CycleResumedLine(LogNow()));
            // A timer wake is an unattended one: without this the system
            // goes back to sleep after a short while and the display stays dark.
            host.KeepAwakeAfterResume();
            break;
        case PowerAction::None:
            AppendCycleLog(CycleActionLine(LogNow(), CycleAction::None));
            break;
    }
    RunResumeTasks(host, state);
    AppendCycleLog(CycleDoneLine(LogNow()));
}

}  // namespace zelvar
