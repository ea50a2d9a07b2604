#include "online/update_timer_win.h"

#include "ui/control_ids.h"

namespace zelvar {

void UpdateChecker::StartUpdateTimer(bool optionTicked) {
    if (optionTicked) SetTimer(window_, TIMER_TIMER_UPD, 60000, nullptr);
}

void UpdateChecker::Timer_updTimer() {
    // After the first minute the check runs once an hour.
    SetTimer(window_, TIMER_TIMER_UPD, 3600000, nullptr);
}

}  // namespace zelvar
