#pragma once
// The standing wake timer: an unnamed waitable timer of its own (apart from
// the power cycle's named one), armed with the resume flag for the next wake
// moment for as long as one is known.
#include <windows.h>

#include <memory>
#include <optional>

#include "common/datetime.h"
#include "power/standing_wake_rules.h"

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
    // Which moments the tasks after a wake are owed to: the one kept now
    // and those just passed, whatever sign of the wake comes first.
    AfterWakeLedger& Ledger() { return ledger_; }
    // The due moment armed, in real seconds.
    std::optional<double> Due() const { return due_; }

private:
    std::unique_ptr<Timer> timer_;
    std::optional<TDateTime> local_;
    std::optional<double> due_;
    AfterWakeLedger ledger_;
};

}  // namespace zelvar
