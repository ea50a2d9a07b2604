#include "power/power_cycle.h"

#include <cmath>
#include <utility>

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

enum class WaitEnd { Due, Aborted, TakenOver, Skipped };

// The off moment in real seconds, looked up anew at every look: a change of
// the zone moves it. A moment the system cannot place keeps its wall-clock
// distance.
double RealOff(PowerCycleHost& host, TDateTime localOff) {
    if (const std::optional<double> real = host.RealSecondsOf(localOff)) return *real;
    return host.RealNow() + (localOff - host.Now()) * kSecondsPerDay;
}

// timercnt aimed 31 seconds before the off moment (in steps when it lies
// far), unless the countdown shows already; a moment nearer or passed arms
// nothing.
void AimCountdownAt(PowerCycleHost& host, PowerCycleState& state, TDateTime localOff) {
    const std::int64_t secondsToOff = std::llround(RealOff(host, localOff) - host.RealNow());
    if (const auto step = CycleCountdownStep(host.CountdownVisible(), secondsToOff)) {
        state.AimCountdown(localOff, !step->lastStep);
        host.ArmCountdown(step->intervalMs);
    }
}

// After a clock change the countdown is aimed anew at the off moment, and
// a countdown shown before it no longer tells how long the user was warned.
void ReaimAfterClockChange(PowerCycleHost& host, PowerCycleState& state, TDateTime localOff, bool warningRequired) {
    AppendCycleLog(ClockChangedLine(LogNow()));
    state.DropWarning();
    if (warningRequired) AimCountdownAt(host, state, localOff);
}

// Waits until the off moment is due, CycleAbort is set, the wait is no
// longer ours, or the moment turns out stale. The thread sleeps in one
// kernel wait on the timer and the message queue together and pumps only
// when a message is there, so a cycle waiting for days costs what the idle
// program costs. The timer is armed for an absolute universal due time;
// every wake-up looks again at what is due (a countdown opened late moves
// the power-down to its end).
template <typename OwnsWait>
WaitEnd WaitForOffMoment(PowerCycleHost& host, PowerCycleState& state, OwnsWait ownsWait, TDateTime localOff,
                         bool warningRequired) {
    std::int64_t armed = -1;  // the due time armed; -1 while none is pending
    bool sliced = false;
    for (;;) {
        if (state.CycleAbort()) return WaitEnd::Aborted;
        if (!ownsWait()) return WaitEnd::TakenOver;
        if (std::exchange(state.ClockChanged, false)) ReaimAfterClockChange(host, state, localOff, warningRequired);

        OffWaitInput look;
        look.now = host.RealNow();
        look.off = RealOff(host, localOff);
        look.warningRequired = warningRequired;
        look.warning = state.Warning();
        look.countdownVisible = host.CountdownVisible();
        look.resumed = state.SuspendNoticed;
        const OffWaitDecision decision = DecideOffWait(look);
        switch (decision.step) {
            case OffWaitStep::Skip: return WaitEnd::Skipped;
            case OffWaitStep::Act: return WaitEnd::Due;
            case OffWaitStep::OpenCountdown:
                state.SuspendNoticed = false;
                state.Warn(OffWarning{look.now, look.off});
                host.OpenCountdown(static_cast<int>(kWarningSeconds));
                AppendCycleLog(
                    CountdownOpenedLine(LogNow(), LogMomentAt(localOff + (decision.due - look.off) / kSecondsPerDay)));
                continue;
            case OffWaitStep::Wait: break;
        }
        const std::int64_t due = DueTicksOf(decision.lookAt);
        if (armed != due) {
            Refusable(CycleStep::OffTimer, [&] {
                state.OffTimer->RelativeTime = due;  // positive: an absolute universal time
                Arm(*state.OffTimer);
            });
            armed = due;
        }

        DWORD result = WAIT_FAILED;
        if (!sliced) {
            HANDLE timer = state.OffTimer->Handle;
            result = MsgWaitForMultipleObjectsEx(1, &timer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
        if (result == WAIT_OBJECT_0) {
            armed = -1;  // the signal is spent; the next look decides
            continue;
        }
        if (result != WAIT_OBJECT_0 + 1) {
            // A failed wait counts as an unexpired timer; so does a quit that
            // is already posted and keeps the queue signalled for good. Both
            // go on in 100 ms waits on the timer alone.
            if (state.OffTimer->WaitFor(kWaitSliceMs) == WaitSignaled) {
                armed = -1;
                continue;
            }
        }
        if (state.CycleAbort()) continue;
        host.PumpMessages();
        sliced = QuitPending();
    }
}

void RunResumeTasks(PowerCycleHost& host, PowerCycleState& state) {
    state.DestroyTimers();  // also drops a wake still pending when the user woke the machine early
    state.StopReaim();
    state.DropWarning();
    state.SuspendNoticed = false;
    host.ResetCountdownWindow();
    host.ClearPlanTicks();
    host.ShowPlanState(true);
    host.RefreshOneShotPlan();
    if (host.Options().startSound) host.PlayStartSound();
    host.RunStartupPrograms();
    host.SelectToday();
    if (host.Schedule().active) host.ResumeScheduler();
    if (host.Options().restartAfterWake) host.StartRestartCountdown();
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

std::optional<std::uint32_t> PowerCycleState::ContinueCountdown(double realNow) {
    if (!countdownReaim_) return std::nullopt;
    const double off = RealSecondsOfLocal(countdownOffMoment_).value_or(realNow);
    const std::optional<CountdownStep> step = NextCountdownStep(std::llround(std::fabs(off - realNow)));
    if (!step) {
        countdownReaim_ = false;
        return std::nullopt;
    }
    countdownReaim_ = !step->lastStep;
    return step->intervalMs;
}

void PowerCycleState::CountdownOpened(double realNow) {
    const std::optional<double> off = RealSecondsOfLocal(countdownOffMoment_);
    warning_ = OffWarning{realNow, off.value_or(realNow + kWarningLeadSeconds)};
}

void RunPowerCycle(PowerCycleHost& host, PowerCycleState& state) {
    std::uint64_t generation = ++state.CycleGeneration;
    // Only a sleep during this cycle's own wait counts for it.
    state.SuspendNoticed = false;
    // Whoever destroys OffTimer or starts another cycle moves the
    // generation on; from then on the wait is no longer ours.
    const auto ownsWait = [&] { return state.CycleGeneration == generation; };

    CycleMomentSources sources;
    CycleMoments moments;
    bool offWait = false;
    std::optional<TDateTime> skippedScheduledOff;
    for (;;) {
        // Moments of both sources; the earlier wins in each direction.
        const PlanReading plan = host.Plan();
        const ScheduleReading schedule = host.Schedule();
        sources = CycleMomentSources{};
        sources.planArmed = plan.armed;
        if (sources.planArmed) {
            sources.planOff = plan.off;
            sources.planWake = plan.wake;
        }
        sources.wakeTicked = plan.wakeTicked;
        sources.schedulerActive = schedule.active;
        if (sources.schedulerActive) {
            sources.hasNextOff = schedule.nextOff.has_value();
            if (schedule.nextOff) sources.nextOff = *schedule.nextOff;
            sources.hasNextOn = schedule.nextOn.has_value();
            if (schedule.nextOn) sources.nextOn = *schedule.nextOn;
        }
        // A scheduled moment skipped a moment ago is not taken again.
        if (skippedScheduledOff && sources.hasNextOff && sources.nextOff <= *skippedScheduledOff)
            sources.hasNextOff = false;
        moments = MergeCycleMoments(sources);
        offWait = OffWaitRuns(plan.offTicked, sources.schedulerActive, sources.hasNextOff) && moments.off;
        const bool wakeExpected = offWait && WakeTimerArmed(sources.wakeTicked, sources.schedulerActive,
                                                            sources.hasNextOn, moments.wake.has_value());
        AppendCycleLog(CycleStartLine(LogNow(), CycleSourceOf(sources.planArmed, moments.schedulerMomentTaken),
                                      LoggedMoment(offWait, moments.off), LoggedMoment(wakeExpected, moments.wake)));
        if (!offWait) {
            // Nothing to wait for is nothing to warn for: no power-down.
            AppendCycleLog(CycleActionLine(LogNow(), CycleAction::None));
            AppendCycleLog(CycleDoneLine(LogNow()));
            return;
        }

        // The scheduler's moments always get the full countdown; a plan's
        // only when it was applied in time for one.
        const std::optional<double>& appliedAt = plan.appliedAt;
        const double realOff = RealOff(host, *moments.off);
        const bool warningRequired =
            moments.offFromSchedule || !appliedAt || !PlanChosenAtShortNotice(*appliedAt, realOff);
        if (warningRequired) {
            AimCountdownAt(host, state, *moments.off);
        } else if (!host.CountdownVisible()) {
            // The user has just chosen this moment: it stays, and the window
            // shows the seconds left so it can still be cancelled.
            if (const std::optional<int> count = ShortNoticeCount(host.RealNow(), realOff)) host.OpenCountdown(*count);
        }

        Refusable(CycleStep::OffTimer, [&] {
            state.OffTimer = CreateCycleTimer();
            state.OffTimerActive = true;
            state.OffTimer->Period = 0;
        });
        // Creating the timer moved no generation; the wait starts from here.
        const WaitEnd end = WaitForOffMoment(host, state, ownsWait, *moments.off, warningRequired);
        if (end == WaitEnd::TakenOver) return;
        if (end == WaitEnd::Aborted) {
            state.DestroyOffTimer();
            return;
        }
        if (end == WaitEnd::Due) break;

        // The moment passed while the machine slept or the program was
        // held: nothing is closed, nothing powers down.
        AppendCycleLog(MomentSkippedLine(LogNow(), LogMomentAt(*moments.off)));
        state.DestroyTimers();
        state.DropWarning();
        state.StopReaim();
        if (moments.offFromSchedule) {
            host.ScheduledMomentSkipped();
            // A plan still waiting for its own later moment goes on waiting.
            if (const PlanReading current = host.Plan(); current.armed && current.offTicked) {
                skippedScheduledOff = moments.off;
                generation = ++state.CycleGeneration;
                continue;
            }
            host.ResetCountdownWindow();
        } else {
            host.PlanMomentSkipped();
        }
        return;
    }

    // The wait pumped messages: the boxes are read as the user left them.
    if (WakeTimerArmed(host.Plan().wakeTicked, sources.schedulerActive, sources.hasNextOn, moments.wake.has_value())) {
        if (*moments.wake <= host.Now()) {
            // Passed before the power-down: armed, it would expire at once
            // and nothing would wake the machine.
            AppendCycleLog(WakeNotArmedLine(LogNow(), LogMomentAt(*moments.wake)));
        } else {
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

    if (host.Options().closeApplications) host.CloseApplications();

    const PlanReading plan = host.Plan();
    const bool mustWake = plan.wakeTicked || moments.schedulerMomentTaken;
    switch (ChoosePowerAction(plan.offTicked, mustWake, plan.offMode)) {
        case PowerAction::PowerOff:
            AppendCycleLog(CycleActionLine(LogNow(), CycleAction::PowerOff));
            Refusable(CycleStep::PowerOff, [] { PowerOffComputer(); });
            AppendCycleLog(CycleDoneLine(LogNow()));
            return;
        case PowerAction::Hibernate:
            AppendCycleLog(CycleActionLine(LogNow(), CycleAction::Hibernate));
            {
                struct Hibernating {
                    PowerCycleState& state;
                    ~Hibernating() { state.OwnHibernating = false; }
                } hibernating{state};
                state.OwnHibernating = true;
                Refusable(CycleStep::Hibernate, [] { HibernateComputer(); });
            }
            state.OwnResumeAt = host.RealNow();
            AppendCycleLog(CycleResumedLine(LogNow()));
            // A timer wake is an unattended one: without this the system
            // goes back to sleep after a short while and the display stays dark.
            host.KeepAwakeAfterResume();
            break;
        case PowerAction::None: AppendCycleLog(CycleActionLine(LogNow(), CycleAction::None)); break;
    }
    RunResumeTasks(host, state);
    AppendCycleLog(CycleDoneLine(LogNow()));
}

void RunTimerWakeTasks(PowerCycleHost& host) {
    host.KeepAwakeAfterResume();
    if (host.Options().startSound) host.PlayStartSound();
    host.RunStartupPrograms();
    if (host.Options().restartAfterWake) host.StartRestartCountdown();
}

}  // namespace zelvar
