#pragma once
// The standing wake: from the moment a wake moment is known (a plan with its
// wake ticked, or the running scheduler's next on moment) a timer of its own
// waits for it with the resume flag, so the machine wakes however it went
// down, by the program's hand or the user's. Which moment it keeps, and
// whether a resume was its doing, are decided here.
#include <optional>

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

// A resume counts as the standing timer's when it comes at most this long
// from its due moment...
inline constexpr double kTimerWakeWindowSeconds = 60;
// ...and not this soon after a hibernation of the program's own, whose
// cycle runs the tasks after the wake itself.
inline constexpr double kOwnResumeWindowSeconds = 120;

bool IsStandingTimerWake(double resumeAt, double due, const std::optional<double>& ownResumeAt);

}  // namespace zelvar
