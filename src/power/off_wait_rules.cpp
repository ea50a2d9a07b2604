#include "power/off_wait_rules.h"

#include <algorithm>
#include <cmath>

namespace zelvar {

bool PlanChosenAtShortNotice(double appliedAt, double off) {
    return std::nearbyint(off - appliedAt) < kShortNoticeSeconds;
}

bool WarnsFor(const std::optional<OffWarning>& warning, double off) {
    // Moments have whole seconds; half a second tells one from the next.
    return warning && std::fabs(warning->forOff - off) < 0.5;
}

OffWaitDecision DecideOffWait(const OffWaitInput& in) {
    const bool warned = WarnsFor(in.warning, in.off);
    const double due = warned ? std::max(in.off, in.warning->since + kWarningSeconds) : in.off;
    if (in.now - due > kStaleGraceSeconds) return {OffWaitStep::Skip, due, due};

    const double left = due - in.now;
    // After a sleep a countdown on screen has not warned anybody; one that
    // is about to be due needs its full 30 seconds from now as well.
    const bool restart = in.resumed && (in.countdownVisible || left <= kWarningLeadSeconds);
    const bool neverWarned = in.warningRequired && !warned && left <= kWarningLeadSeconds;
    if (restart || neverWarned) {
        const double moved = std::max(in.off, in.now + kWarningSeconds);
        return {OffWaitStep::OpenCountdown, moved, moved};
    }
    if (left <= 0) return {OffWaitStep::Act, due, due};
    const bool countdownToCome = in.warningRequired && !warned;
    return {OffWaitStep::Wait, due, countdownToCome ? due - kWarningLeadSeconds : due};
}

std::optional<int> ShortNoticeCount(double now, double off) {
    const double left = std::ceil(off - now);
    if (left < 1) return std::nullopt;
    return static_cast<int>(std::min(left, kWarningLeadSeconds));
}

}  // namespace zelvar
