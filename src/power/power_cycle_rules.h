#pragma once
// The decisions of one power cycle as plain functions: which moments win,
// how long to wait, whether and how the countdown is armed, whether the off
// wait runs and the wake timer is armed, and which power action follows.
#include <cstdint>
#include <optional>

#include "common/datetime.h"

namespace zelvar {

// The one-shot plan as the cycle reads it: the plan page's boxes, pickers
// and list at one moment.
struct PlanReading {
    bool armed = false;      // Panel6 visible
    bool offTicked = false;  // CheckBox3
    // The pickers' moments (date and time joined as MomentOf joins them,
    // whole seconds); read only while the plan is armed, 0 otherwise.
    TDateTime off = 0;        // DateTimePicker1 + DateTimePicker2
    bool wakeTicked = false;  // CheckBox1
    TDateTime wake = 0;       // DateTimePicker3 + DateTimePicker4
    int offMode = -1;         // ComboBox2 item index, -1 none
    // When the armed plan was applied (real seconds); nullopt without a plan.
    std::optional<double> appliedAt;
};

// The weekly scheduler as the cycle reads it: running or not, and its next
// moments as plain local moments (nullopt when it has none).
struct ScheduleReading {
    bool active = false;  // PNGButton8 tag 1
    std::optional<TDateTime> nextOff, nextOn;
};

// The options page's ticks that the cycle and the tasks after a wake follow.
struct CycleOptions {
    bool startSound = false;         // CheckBox6
    bool restartAfterWake = false;   // CheckBox10
    bool closeApplications = false;  // CheckBox5
};

// What the cycle reads about its moments. The plan moments count only while a
// plan is armed; the scheduled ones only while the scheduler is active.
struct CycleMomentSources {
    bool planArmed = false;        // Panel6 visible
    TDateTime planOff = 0;         // DateTimePicker1 + DateTimePicker2
    TDateTime planWake = 0;        // DateTimePicker3 + DateTimePicker4
    bool wakeTicked = false;       // CheckBox1
    bool schedulerActive = false;  // PNGButton8 tag 1
    bool hasNextOff = false;
    TDateTime nextOff = 0;
    bool hasNextOn = false;
    TDateTime nextOn = 0;
};

struct CycleMoments {
    std::optional<TDateTime> off;  // nullopt: neither source gave one
    std::optional<TDateTime> wake;
    // A scheduled moment replaced (or stood in for) a plan moment; such a
    // cycle must wake the machine, so it always hibernates.
    bool schedulerMomentTaken = false;
    bool offFromSchedule = false;  // the off moment is the scheduler's
};

// The earlier moment wins in each direction on its own; on a tie the plan's
// moment stays and does not count as taken from the scheduler. Without a
// wake tick the plan's wake pickers do not compete with a scheduled wake.
CycleMoments MergeCycleMoments(const CycleMomentSources& s);

// The countdown opens 31 seconds before the off moment. A window timer takes
// at most this many milliseconds (longer values are clamped by the system),
// so a farther moment is aimed at in steps.
inline constexpr std::uint32_t kMaxCountdownStepMs = 0x7FFFFFFF;
inline constexpr std::int64_t kCountdownLeadSeconds = 31;

struct CountdownStep {
    std::uint32_t intervalMs = 0;
    // When this step fires, open the countdown; otherwise aim again with
    // the seconds left then.
    bool lastStep = true;
    friend bool operator==(const CountdownStep&, const CountdownStep&) = default;
};
// The next step to arm for an off moment secondsToOff away; nullopt when 31
// or fewer seconds are left (no countdown is shown then).
std::optional<CountdownStep> NextCountdownStep(std::int64_t secondsToOff);
// The cycle arms the countdown only while the countdown window is hidden.
std::optional<CountdownStep> CycleCountdownStep(bool countdownVisible, std::int64_t secondsToOff);

// The off wait runs for a ticked plan or an active scheduler with an off moment.
bool OffWaitRuns(bool offTicked, bool schedulerActive, bool hasNextOff);
// The wake timer is armed for a ticked wake or an active scheduler with a
// wake moment, and only when there is a moment to arm it for.
bool WakeTimerArmed(bool wakeTicked, bool schedulerActive, bool hasNextOn, bool haveWakeMoment);

enum class PowerAction { None, PowerOff, Hibernate };
// offTicked: CheckBox3. mustWake: CheckBox1 or a scheduled moment taken.
// offModeIndex: ComboBox2 (0 power off, 1 hibernate, -1 none selected).
PowerAction ChoosePowerAction(bool offTicked, bool mustWake, int offModeIndex);

}  // namespace zelvar
