#pragma once
// The standing wake: from the moment a wake moment is known (a plan with its
// wake ticked, or the running scheduler's next on moment) a timer of its own
// waits for it with the resume flag, so the machine wakes however it went
// down, by the program's hand or the user's. Which moment it keeps, and
// which sign of a wake runs the tasks after it, are decided here.
#include <optional>
#include <vector>

#include "common/datetime.h"

namespace zelvar {

struct StandingWakeSources {
    bool planArmed = false;         // Panel6 visible
    bool planWakeTicked = false;    // CheckBox1
    TDateTime planWake = 0;         // DateTimePicker3 + DateTimePicker4
    bool schedulerRunning = false;  // PNGButton8 tag 1
    bool hasNextOn = false;
    TDateTime nextOn = 0;
};

// The earlier of the two wake moments that is still ahead of now; nullopt
// when neither source has one.
std::optional<TDateTime> StandingWakeMoment(const StandingWakeSources& s, TDateTime now);

// A resume counts as the wake of a kept moment when it comes at most this
// long from its due moment...
inline constexpr double kTimerWakeWindowSeconds = 60;
// ...and not this soon after a hibernation of the program's own (or a start
// by the wake task), which runs the tasks after the wake itself.
inline constexpr double kOwnResumeWindowSeconds = 120;

// A wake moment the program keeps armed: the local moment and the real
// second it is due at (its universal time by the zone's rules).
struct KeptWake {
    TDateTime local = 0;
    double due = 0;
};

// The program's own hibernation, as its power cycle reports it.
struct OwnSleep {
    bool hibernating = false;         // HibernateComputer has not returned yet
    std::optional<double> resumedAt;  // when it last returned (real seconds)
};

// Which sign of a wake runs the tasks after a wake. Windows announces a
// resume (automatic, and again once the user touches the machine), the wake
// task tells a running copy, the program's own hibernation ends: they come
// in any order, and the scheduler's tick, a re-arming for the next moment or
// a clock change may have moved the standing wake on before any of them. A
// moment kept once stays known for the window after it, and each gets its
// tasks at most once.
class AfterWakeLedger {
public:
    // The moment kept now (nullopt: none). The same local moment again
    // (re-armed after a change of zone) is the same wake.
    void Keep(const std::optional<KeptWake>& wake, double now);
    // Windows announced a sleep.
    void Suspending() { asleep_ = true; }
    // Windows announced a resume: the kept moment whose tasks are to run
    // now, or nullopt.
    std::optional<TDateTime> TakeResume(double now, const OwnSleep& own);
    // The wake task says a wake moment has come (localNow on the wall
    // clock): the tasks run only when the machine was asleep (a sleep
    // announced, no resume since); the moment is now when none was kept.
    std::optional<TDateTime> TakeTaskWake(double now, TDateTime localNow, const OwnSleep& own);
    // This run was started by the wake task: its start runs the tasks.
    void StartedByTask(double now) { startedByTaskAt_ = now; }

private:
    struct Entry {
        TDateTime local = 0;
        double due = 0;
        bool taken = false;
    };
    // The program's own wake (its cycle, or its start by the task) runs the tasks.
    bool OwnTasks(double now, const OwnSleep& own) const;
    // The untaken kept moment near now, taken; nullopt when there is none.
    std::optional<TDateTime> Take(double now);
    void Forget(double now);

    std::vector<Entry> entries_;
    std::optional<TDateTime> current_;
    bool asleep_ = false;
    std::optional<double> startedByTaskAt_;
};

}  // namespace zelvar
