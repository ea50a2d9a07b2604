#include "scheduler/scheduler_engine_win.h"

#include "common/ini_win.h"
#include "common/locale_win.h"
#include "common/os_error_win.h"
#include "common/paths_win.h"
#include "power/countdowns_win.h"
#include "power/cycle_log_win.h"
#include "power/ucountform.h"
#include "scheduler/schedule_time.h"
#include "scheduler/scheduler_ids.h"

namespace zelvar {
namespace {

constexpr UINT kTickMs = 803;

}  // namespace

std::wstring ScheduleFile() { return FileBesideExe(L"scheduler.ini"); }

void SchedulerEngine::Notify(SchedulerChange change) {
    if (view_) view_->EngineChanged(change);
    if (links_.stateChanged) links_.stateChanged();
}

void SchedulerEngine::StartUp() {
    {
        // Monday as the day editor first shows it, written back when it moves
        // on to today: a new installation's file starts with it. A file
        // another program holds gets a few seconds first; one that could not
        // be read is not written over.
        const IniLoad file = IniFile::Load(ScheduleFile(), RetryPolicy{});
        if (file.state != IniFileState::Unreadable) {
            DayEditorState monday =
                LoadEditorDay(PolicyScheduleIni(file.values, week_, links_.formats), 1, links_.formats);
            // The pickers keep whole seconds.
            monday.offTime = WholeSeconds(TimeOf(monday.offTime));
            monday.onTime = WholeSeconds(TimeOf(monday.onTime));
            IniFile out(ScheduleFile());
            PolicyScheduleIni overlay(out, week_, links_.formats);
            if (!SaveEditorDay(overlay, 1, monday, links_.formats))
                MessageBoxW(main_, links_.messages.MsgErrConfig.c_str(), ApplicationTitle(), MB_OK);
        }
    }
    if (Running()) {
        ComputeNextSchedule();
        SetTick(true);
    } else {
        SetTick(false);
    }
    started_ = true;
}

ScheduleClock SchedulerEngine::Clock() const {
    ScheduleClock clock;
    clock.localNow = NowLocal();
    clock.realNow = RealSecondsNow();
    clock.realSecondsOf = RealSecondsOfLocal;
    return clock;
}

void SchedulerEngine::ComputeNextSchedule() { ComputeNextScheduleFrom(Clock()); }

void SchedulerEngine::ComputeNextScheduleFrom(const ScheduleClock& clock) {
    // A file another program holds just now keeps the moments as they are;
    // the tick asks again.
    const IniLoad file = IniFile::Load(ScheduleFile(), RetryPolicy{1, 0});
    if (file.state == IniFileState::Unreadable) return;
    const auto schedule = PolicyScheduleIni(file.values, week_, links_.formats);
    const NextSchedule next = zelvar::ComputeNextSchedule(clock, schedule, links_.formats);
    NextOff = next.off;
    NextOn = next.on;
    WakeTimes = WeekWakeTimes(schedule, links_.formats);
    Notify(SchedulerChange::Moments);
}

void SchedulerEngine::ComputeNextScheduleAfter(TDateTime moment) {
    ScheduleClock from = Clock();
    if (const auto real = RealSecondsOfLocal(moment); real && *real > from.realNow) {
        from.localNow = moment;
        from.realNow = *real;
    }
    ComputeNextScheduleFrom(from);
}

void SchedulerEngine::SetTick(bool on) {
    if (main_) {
        if (on) SetTimer(main_, TIMER_SCHEDULER, kTickMs, nullptr);
        else KillTimer(main_, TIMER_SCHEDULER);
    }
    tickOn_ = on;
}

void SchedulerEngine::Scheduler_TimerTimer() {
    if (!tickOn_) return;  // a tick still queued when the timer went off
    SchedulerTickInput input;
    input.nextOff = NextOff;
    input.nextOn = NextOn;
    input.planOff = links_.planOff();
    input.countdownVisible = links_.countForm.IsVisible();
    input.countdownBySchedule = CountdownBySchedule;
    input.runningCountdownMs = countdownMs_;
    const SchedulerTickDecision decision = DecideSchedulerTick(Clock(), input, links_.formats);

    if (decision.dropCountdown) {
        links_.countdowns.StopCountdown();
        CountdownBySchedule = false;
        countdownMs_.reset();
        if (decision.hideCountdownWindow) links_.countForm.Reset();
        links_.cycle.DropWarning();
        if (decision.planCountdown && input.planOff) {
            // The plan's own countdown, aimed as its cycle aims it.
            links_.countdowns.ArmCountdown(decision.planCountdown->intervalMs);
            links_.cycle.AimCountdown(*input.planOff, !decision.planCountdown->lastStep);
        }
    }
    if (decision.offSkipped) LogScheduledMomentSkipped(ScheduledLocalMoment(NextOff, links_.formats));
    if (decision.recompute) ComputeNextSchedule();
    if (decision.countdownMs) {
        if (decision.countdownRestarts) links_.countdowns.ArmCountdown(*decision.countdownMs);
        countdownMs_ = decision.countdownMs;
        CountdownBySchedule = true;
        links_.cycle.CountdownArmedDirectly(ScheduledLocalMoment(NextOff, links_.formats));
    }
    if (decision.handOver) HandOver();
}

void SchedulerEngine::HandOver() {
    SetTick(false);
    links_.cycle.Discard();
    CountdownBySchedule = false;
    countdownMs_.reset();
    const TDateTime handed = ScheduledLocalMoment(NextOff, links_.formats);
    // However the cycle ends: after a resume it has set the moments anew and
    // the tick on; a cycle that ended early (a refused power action, a
    // Cancel) leaves the scheduler watching the moments after this one, so
    // the same moment is never handed over twice. Only Stop stops it.
    struct AfterTheCycle {
        SchedulerEngine& engine;
        TDateTime handed;
        ~AfterTheCycle() {
            engine.cycleBySchedule_ = false;
            if (!engine.Running() || engine.tickOn_) return;
            try {
                engine.ComputeNextScheduleAfter(handed);
                engine.SetTick(true);
            } catch (...) {}
        }
    } after{*this, handed};
    cycleBySchedule_ = true;
    links_.runPowerCycle();
}

void SchedulerEngine::ResumeScheduler() {
    ComputeNextSchedule();
    SetTick(true);
}

void SchedulerEngine::ScheduledMomentSkipped() {
    CountdownBySchedule = false;
    countdownMs_.reset();
    ComputeNextSchedule();
}

bool SchedulerEngine::CountdownIsTheSchedulers() const {
    return Running() && (CountdownBySchedule || cycleBySchedule_);
}

void SchedulerEngine::StopSchedulerFromCountdown() {
    if (!Running()) return;
    if (runLock_ != true) {
        PNGButton8Click();
        return;
    }
    // Kept running by the organisation: the user still gives up this
    // power-down, and the scheduler watches the moments after it. A cycle
    // already waiting ends, and then watches on from its moment.
    if (cycleBySchedule_) {
        links_.cycle.AbortWait();
        return;
    }
    const TDateTime moment = ScheduledLocalMoment(NextOff, links_.formats);
    links_.countdowns.StopCountdown();
    CountdownBySchedule = false;
    countdownMs_.reset();
    links_.cycle.DropWarning();
    ComputeNextScheduleAfter(moment);
}

void SchedulerEngine::ApplyPolicy(WeekPolicy week, std::optional<bool> runLock, bool running) {
    if (!started_) {
        week_ = std::move(week);
        runLock_ = runLock;
        return;
    }
    // The edited day as the user left it, under the policy it was shown
    // with; then the view shows the new one, before a start saves it.
    if (!Running() && view_) view_->SaveEditedDay();
    week_ = std::move(week);
    runLock_ = runLock;
    Notify(SchedulerChange::Policy);
    if (Running() != running) PNGButton8Click();
    else if (Running()) ComputeNextSchedule();
}

void SchedulerEngine::PNGButton8Click() {
    if (tag_ != 0) {
        if (cycleBySchedule_ || CountdownBySchedule) LogCycleCancelled(CycleCancel::Stopped);
        SetTick(false);
        links_.cycle.Cancel();  // ends a waiting cycle; a pending countdown then shows nothing
        if (links_.countForm.IsVisible()) links_.countForm.Hide();
        tag_ = 0;
    } else {
        if (view_) view_->SaveEditedDay();
        tag_ = 1;
        ComputeNextSchedule();
        links_.cycle.AllowWait();
        SetTick(true);
    }
    Notify(SchedulerChange::Running);
    WriteRunningState();
}

void SchedulerEngine::WriteRunningState() {
    // A state the policy holds is not saved (the file keeps the user's own).
    if (runLock_) return;
    links_.saveRunningState(tag_ != 0);
}

}  // namespace zelvar
