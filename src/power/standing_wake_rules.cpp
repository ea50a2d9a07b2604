#include "power/standing_wake_rules.h"

#include <cmath>

namespace zelvar {

std::optional<TDateTime> StandingWakeMoment(const StandingWakeSources& s, TDateTime now) {
    std::optional<TDateTime> wake;
    auto consider = [&](bool known, TDateTime moment) {
        if (known && moment > now && (!wake || moment < *wake)) wake = moment;
    };
    consider(s.planArmed && s.planWakeTicked, s.planWake);
    consider(s.schedulerRunning && s.hasNextOn, s.nextOn);
    return wake;
}

bool IsStandingTimerWake(double resumeAt, double due, const std::optional<double>& ownResumeAt) {
    if (ownResumeAt && resumeAt - *ownResumeAt >= 0 && resumeAt - *ownResumeAt <= kOwnResumeWindowSeconds)
        return false;
    return std::fabs(resumeAt - due) <= kTimerWakeWindowSeconds;
}

}  // namespace zelvar
