#pragma once
// The main window's two countdown timers: timercnt opens the 30-second
// countdown 31 seconds before the off moment, timerreset restarts the PC 60
// seconds after a wake while the countdown window counts beside it.
#include <windows.h>

#include <cstdint>

#include "power/power_cycle.h"

namespace zelvar {

class TCountForm;

class Countdowns {
public:
    Countdowns(PowerCycleState& cycle, TCountForm& countForm) : cycle_(cycle), countForm_(countForm) {}
    // The window whose timers these are.
    void Attach(HWND mainWindow) { window_ = mainWindow; }

    // timercnt with this interval, enabled.
    void ArmCountdown(std::uint32_t intervalMs);
    void StopCountdown();
    // timerreset armed for 60 s, the countdown window shown at "00:60".
    void StartRestartCountdown();
    // Drops a pending restart.
    void StopRestart();
    // The 60-second countdown before a restart runs (not the one before a power-down).
    bool RestartPending() const { return restartPending_; }

    void timercntTimer();
    void timerresetTimer();
    // The main window's timer dispatch; true when the timer was one of these.
    bool OnTimer(UINT_PTR id);

private:
    PowerCycleState& cycle_;
    TCountForm& countForm_;
    HWND window_ = nullptr;
    bool restartPending_ = false;
};

}  // namespace zelvar
