#pragma once
// The weekly scheduler's engine: the running state, the next off and wake
// moments, the tick (Scheduler_Timer, every 803 ms on the main window) that
// watches them and hands the off moment to the power cycle, start and stop,
// and the administrator's week and run lock. It reads scheduler.ini itself
// and needs no control of the scheduler page: the page shows what it tells
// it, whether or not the page has been made.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "common/locale_format.h"
#include "i18n/message_texts.h"
#include "power/power_cycle.h"
#include "scheduler/schedule_policy.h"
#include "scheduler/scheduler_rules.h"

namespace zelvar {

class Countdowns;
class TCountForm;

// scheduler.ini, beside the program.
std::wstring ScheduleFile();

// What changed in the engine, for whoever shows it.
enum class SchedulerChange {
    Running,  // started or stopped
    Moments,  // new next off and wake moments
    Policy,   // the administrator's week or run lock
};

// The one who shows the engine (the scheduler page).
class SchedulerView {
public:
    // The day being edited goes to scheduler.ini: before a start and before
    // a new policy, which read the file anew.
    virtual void SaveEditedDay() = 0;
    virtual void EngineChanged(SchedulerChange change) = 0;

protected:
    ~SchedulerView() = default;
};

class SchedulerEngine {
public:
    struct Links {
        PowerCycleState& cycle;
        TCountForm& countForm;
        Countdowns& countdowns;
        const MessageTexts& messages;
        const LocaleFormats& formats;
        std::function<std::optional<TDateTime>()> planOff;  // the armed one-shot plan's off moment
        std::function<void()> runPowerCycle;
        std::function<void(bool)> saveRunningState;  // actsheduler, by the settings' owner
        std::function<void()> stateChanged;          // after the view: the tray follows
    };
    explicit SchedulerEngine(Links links) : links_(std::move(links)) {}
    SchedulerEngine(const SchedulerEngine&) = delete;
    SchedulerEngine& operator=(const SchedulerEngine&) = delete;

    // The main window, which carries the tick and owns the messages.
    void Attach(HWND mainWindow) { main_ = mainWindow; }
    void SetView(SchedulerView* view) { view_ = view; }

    // The running state: the tag of PNGButton8, 1 running, 0 stopped.
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    bool Running() const { return tag_ != 0; }
    bool Started() const { return started_; }

    // At the program's start, after the settings: Monday's day of the file
    // is written back as the editor shows it (a new installation's file
    // starts with it); with the scheduler running, the moments and the tick.
    void StartUp();
    void ComputeNextSchedule();
    void PNGButton8Click();  // start / stop
    void Scheduler_TimerTimer();
    // Stops the scheduler as its Stop button does (from the countdown's cancel).
    // While a policy keeps it running, only the moment counted down is given
    // up and the scheduler watches the next ones.
    void StopSchedulerFromCountdown();

    // The administrator's week and running state. Before StartUp it only
    // sets them; afterwards the view and the moments follow at once, and the
    // scheduler starts or stops to be as running says.
    void ApplyPolicy(WeekPolicy week, std::optional<bool> runLock, bool running);
    const WeekPolicy& Week() const { return week_; }
    const std::optional<bool>& RunLock() const { return runLock_; }

    // After a power cycle while the scheduler runs: new moments, tick on.
    void ResumeScheduler();
    // The off moment passed unseen (the machine slept, the program was
    // held): the moments after it, the tick as it was.
    void ScheduledMomentSkipped();
    // Whether the countdown's cancel is to stop the scheduler: it armed the
    // countdown, or the cycle that is waiting is one it started.
    bool CountdownIsTheSchedulers() const;

    // What the power cycle reads of the scheduler, anew at each call.
    ScheduleReading Reading() const { return CycleScheduleReading(Running(), NextOff, NextOn, links_.formats); }

    // The scheduler's moments as the power cycle takes them.
    ScheduledMoment NextOff, NextOn;
    // The wake time of every weekday, read with the moments (the wake task
    // holds them all).
    std::array<std::optional<TDateTime>, 7> WakeTimes;
    bool CountdownBySchedule = false;

private:
    ScheduleClock Clock() const;
    // The moments from a point of the clock on (now, or the moment a cycle
    // was handed that ended early).
    void ComputeNextScheduleFrom(const ScheduleClock& clock);
    // The moments after one that was given up or handed over (or after now,
    // when it lies behind), so the same moment is never taken twice.
    void ComputeNextScheduleAfter(TDateTime moment);
    void SetTick(bool on);
    void WriteRunningState();
    void HandOver();
    void Notify(SchedulerChange change);

    Links links_;
    HWND main_ = nullptr;
    SchedulerView* view_ = nullptr;
    int tag_ = 0;
    bool tickOn_ = false;
    // The interval timercnt was last set to by the tick, while it runs.
    std::optional<std::uint32_t> countdownMs_;
    // Set while the power cycle the tick started runs.
    bool cycleBySchedule_ = false;
    // What the policy sets: keys of the week over the file, and whether it
    // keeps the scheduler running (true) or stopped (false).
    WeekPolicy week_;
    std::optional<bool> runLock_;
    bool started_ = false;
};

}  // namespace zelvar
