#include "power/standing_wake_win.h"

#include "common/handles_win.h"
#include "power/standing_wake_rules.h"
#include "power/wtimer.h"

namespace zelvar {
namespace {

class KernelTimer : public StandingWake::Timer {
public:
    bool Arm(std::int64_t dueTicks) override {
        // Made on first use: a program that never knows a wake moment owns no timer.
        if (!timer_.Handle) timer_.Create(false, nullptr, L"");
        timer_.RelativeTime = dueTicks;
        timer_.Period = 0;
        return timer_.Start();
    }
    void Cancel() override {
        if (timer_.Handle) timer_.Stop();
    }

private:
    TWaitableTimer timer_;
};

}  // namespace

StandingWake::StandingWake() : StandingWake(std::make_unique<KernelTimer>()) {}
StandingWake::StandingWake(std::unique_ptr<Timer> timer) : timer_(std::move(timer)) {}
StandingWake::~StandingWake() { Keep(std::nullopt); }

void StandingWake::Keep(std::optional<TDateTime> local) {
    const std::optional<double> due = local ? RealSecondsOfLocal(*local) : std::nullopt;
    if (local == local_ && due == due_) return;
    local_ = local;
    due_ = due;
    // The wake task holds the same moment, so a resume near it is still
    // the program's even when this timer could not be armed.
    ledger_.Keep(local && due ? std::optional<KeptWake>(KeptWake{*local, *due}) : std::nullopt, RealSecondsNow());
    if (!due) {
        timer_->Cancel();
        return;
    }
    if (!timer_->Arm(DueTicksOf(*due))) due_.reset();
}

}  // namespace zelvar
