#include "power/countdowns_win.h"

#include "power/power_actions.h"
#include "power/ucountform.h"
#include "power/power_ids.h"
#include "ui/message_loop_win.h"
#include "power/wtimer.h"

namespace zelvar {

void Countdowns::ArmCountdown(std::uint32_t intervalMs) { SetTimer(window_, TIMER_TIMERCNT, intervalMs, nullptr); }

void Countdowns::StopCountdown() { KillTimer(window_, TIMER_TIMERCNT); }

void Countdowns::StartRestartCountdown() {
    SetTimer(window_, TIMER_TIMERRESET, 60000, nullptr);
    restartPending_ = true;
    countForm_.StartCount(60, TCountForm::Ending::Restart);
}

void Countdowns::StopRestart() {
    KillTimer(window_, TIMER_TIMERRESET);
    restartPending_ = false;
}

void Countdowns::timercntTimer() {
    ui::PumpMessages();
    if (cycle_.CycleAbort()) {
        // A cancel, an exit or a stop of the scheduler came after arming.
        KillTimer(window_, TIMER_TIMERCNT);
        cycle_.DestroyOffTimer();
        return;
    }
    // A moment beyond one timer interval is approached in steps.
    const double now = RealSecondsNow();
    if (auto again = cycle_.ContinueCountdown(now)) {
        SetTimer(window_, TIMER_TIMERCNT, *again, nullptr);
        return;
    }
    KillTimer(window_, TIMER_TIMERCNT);
    countForm_.StartCount(30);
    cycle_.CountdownOpened(now);
}

void Countdowns::timerresetTimer() {
    KillTimer(window_, TIMER_TIMERRESET);
    restartPending_ = false;
    RestartComputer();
}

bool Countdowns::OnTimer(UINT_PTR id) {
    switch (id) {
        case TIMER_TIMERCNT: timercntTimer(); return true;
        case TIMER_TIMERRESET: timerresetTimer(); return true;
    }
    return false;
}

}  // namespace zelvar
