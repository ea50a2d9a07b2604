#pragma once
// The standing wake timer: an unnamed waitable timer of its own (apart from
// the power cycle's named one), armed with the resume flag for the next wake
// moment for as long as one is known.
#include <windows.h>

#include <memory>
#include <optional>

#include "common/datetime.h"

namespace zelvar {

class StandingWake {
public:
    // What arms: the real kernel timer, or a recorder in the tests.
    class Timer {
    public:
        virtual ~Timer() = default;
        // Absolute due time in the system's form, with the resume flag.
        virtual bool Arm(std::int64_t dueTicks) = 0;
        virtual void Cancel() = 0;
    };
    StandingWake();
    explicit StandingWake(std::unique_ptr<Timer> timer);
    ~StandingWake();

    // Keeps the timer armed for this local moment: armed again when the
    // moment or its universal time (after a change of zone) moved, cancelled
    // for nullopt.
    void Keep(std::optional<TDateTime> local);
    std::optional<TDateTime> Moment() const { return local_; }
    // Whether a resume the system announced at nowReal was this timer's wake
    // (once per moment), and not the end of the program's own hibernation.
    bool TakeResume(double nowReal, const std::optional<double>& ownResumeAt);
    // The due moment armed, in real seconds.
    std::optional<double> Due() const { return due_; }

private:
    std::unique_ptr<Timer> timer_;
    std::optional<TDateTime> local_;
    std::optional<double> due_;
    bool taken_ = false;
};

}  // namespace zelvar
