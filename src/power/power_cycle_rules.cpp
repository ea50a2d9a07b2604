#include "power/power_cycle_rules.h"

#include <cmath>

namespace zelvar {

CycleMoments MergeCycleMoments(const CycleMomentSources& s) {
    CycleMoments m;
    if (s.planArmed) {
        m.off = s.planOff;
        m.wake = s.planWake;
    }
    if (!s.schedulerActive) return m;
    if (s.hasNextOff) {
        if (!s.planArmed || *m.off > s.nextOff) {
            m.off = s.nextOff;
            m.schedulerMomentTaken = true;
            m.offFromSchedule = true;
        }
    }
    if (s.hasNextOn) {
        if (!(s.planArmed && s.wakeTicked) || *m.wake > s.nextOn) {
            m.wake = s.nextOn;
            m.schedulerMomentTaken = true;
        }
    }
    return m;
}

std::optional<CountdownStep> NextCountdownStep(std::int64_t secondsToOff) {
    const std::int64_t lead = secondsToOff - kCountdownLeadSeconds;
    if (lead <= 0) return std::nullopt;
    // Steps of whole seconds keep the last one on the 31-second mark.
    constexpr std::int64_t kLongestStepSeconds = kMaxCountdownStepMs / 1000;
    if (lead > kLongestStepSeconds) return CountdownStep{kLongestStepSeconds * 1000, false};
    return CountdownStep{static_cast<std::uint32_t>(lead * 1000), true};
}

std::optional<CountdownStep> CycleCountdownStep(bool countdownVisible, std::int64_t secondsToOff) {
    if (countdownVisible) return std::nullopt;
    return NextCountdownStep(secondsToOff);
}

bool OffWaitRuns(bool offTicked, bool schedulerActive, bool hasNextOff) {
    return offTicked || (schedulerActive && hasNextOff);
}

bool WakeTimerArmed(bool wakeTicked, bool schedulerActive, bool hasNextOn, bool haveWakeMoment) {
    return (wakeTicked || (schedulerActive && hasNextOn)) && haveWakeMoment;
}

PowerAction ChoosePowerAction(bool offTicked, bool mustWake, int offModeIndex) {
    // Without CheckBox3 only the weekly scheduler runs cycles, and it never powers off.
    if (!offTicked || mustWake) return PowerAction::Hibernate;
    switch (offModeIndex) {
        case 0: return PowerAction::PowerOff;
        case 1: return PowerAction::Hibernate;
        default: return PowerAction::None;
    }
}

}  // namespace zelvar
