#include "power/standing_wake_rules.h"

#include <algorithm>
#include <cmath>

namespace zelvar {
namespace {

bool SameMoment(TDateTime a, TDateTime b) { return std::fabs(a - b) * kSecondsPerDay < 0.5; }

bool Within(const std::optional<double>& since, double now, double window) {
    return since && now - *since >= 0 && now - *since <= window;
}

}  // namespace

std::optional<TDateTime> StandingWakeMoment(const StandingWakeSources& s, TDateTime now) {
    std::optional<TDateTime> wake;
    auto consider = [&](bool known, TDateTime moment) {
        if (known && moment > now && (!wake || moment < *wake)) wake = moment;
    };
    consider(s.planArmed && s.planWakeTicked, s.planWake);
    consider(s.schedulerRunning && s.hasNextOn, s.nextOn);
    return wake;
}

void AfterWakeLedger::Forget(double now) {
    // A moment stays known until the window after it has passed; the one
    // kept now stays however far it lies.
    std::erase_if(entries_, [&](const Entry& e) {
        const bool current = current_ && SameMoment(e.local, *current_);
        return !current && now - e.due > kTimerWakeWindowSeconds;
    });
}

void AfterWakeLedger::Keep(const std::optional<KeptWake>& wake, double now) {
    const std::optional<TDateTime> before = current_;
    current_ = wake ? std::optional<TDateTime>(wake->local) : std::nullopt;
    if (wake) {
        auto same = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return SameMoment(e.local, wake->local); });
        if (same != entries_.end()) same->due = wake->due;
        else entries_.push_back({wake->local, wake->due, false});
    }
    // A moment given up while still well ahead (the user changed the plan)
    // is no wake of ours any more; one just passed stays for its window.
    if (before && (!wake || !SameMoment(*before, wake->local)))
        std::erase_if(entries_, [&](const Entry& e) {
            return SameMoment(e.local, *before) && e.due - now > kTimerWakeWindowSeconds;
        });
    Forget(now);
}

bool AfterWakeLedger::OwnTasks(double now, const OwnSleep& own) const {
    return own.hibernating || Within(own.resumedAt, now, kOwnResumeWindowSeconds) ||
           Within(startedByTaskAt_, now, kOwnResumeWindowSeconds);
}

std::optional<TDateTime> AfterWakeLedger::Take(double now) {
    for (Entry& e : entries_)
        if (!e.taken && std::fabs(now - e.due) <= kTimerWakeWindowSeconds) {
            e.taken = true;
            return e.local;
        }
    return std::nullopt;
}

std::optional<TDateTime> AfterWakeLedger::TakeResume(double now, const OwnSleep& own) {
    Forget(now);
    asleep_ = false;
    const std::optional<TDateTime> taken = Take(now);
    if (OwnTasks(now, own)) return std::nullopt;
    return taken;
}

std::optional<TDateTime> AfterWakeLedger::TakeTaskWake(double now, TDateTime localNow, const OwnSleep& own) {
    Forget(now);
    // Awake all along, or Windows' word of the resume came first and took it.
    if (!asleep_) return std::nullopt;
    const std::optional<TDateTime> taken = Take(now);
    if (OwnTasks(now, own)) return std::nullopt;
    // Told before Windows' word of the resume, which then finds it taken.
    asleep_ = false;
    if (taken) return taken;
    entries_.push_back({localNow, now, true});
    return localNow;
}

}  // namespace zelvar
