// The update check's timer. The check itself (download of the version file
// and the question) attaches to Timer_updTimer.
#include "app/control_ids.h"
#include "app/zelvar.h"

namespace zelvar {

void TForm1::StartUpdateTimer() {
    if (ui::IsChecked(CheckBox7)) SetTimer(hwnd_, TIMER_TIMER_UPD, 60000, nullptr);
}

void TForm1::Timer_updTimer() {
    // After the first minute the check runs once an hour.
    SetTimer(hwnd_, TIMER_TIMER_UPD, 3600000, nullptr);
}

}  // namespace zelvar
