#pragma once
// The update check's timer Timer_upd: a minute after the first activation,
// then hourly.
#include <windows.h>

namespace zelvar {

class UpdateChecker {
public:
    void Attach(HWND mainWindow) { window_ = mainWindow; }
    // At the first activation: the timer runs only when the option is ticked then.
    void StartUpdateTimer(bool optionTicked);
    void Timer_updTimer();

private:
    HWND window_ = nullptr;
};

}  // namespace zelvar
