#pragma once
// Steps the plan scenarios share: starting on the plan page, entering and
// arming a plan as the user does, and what the test build's power actions
// recorded.
#include <windows.h>

#include <string>
#include <vector>

#include "driver.h"

namespace zelvar::e2e {

// One line of power_actions.log: "<action> <yyyy-mm-dd hh:mm:ss.mmm>".
struct RecordedAction {
    std::string action;
    SYSTEMTIME at{};
};
// The lines of the run's power_actions.log, in order; none while it is missing.
std::vector<RecordedAction> RecordedPowerActions(const AppRun& run);

// Starts the program settled (no first start), in English, shown, on the
// plan page; options are more config.ini lines. Null when it did not come up.
HWND StartOnPlanPage(AppRun& run, const std::string& options = "allclose=0\r\nresetafteron=0\r\n");
// The countdown window of the run, shown or not, and whether it is shown.
HWND CountWindow(AppRun& run);
bool CountShown(AppRun& run);
// Ticks the rows and sets the pickers as the user would; wake may be null.
void EnterPlan(AppRun& run, const SYSTEMTIME& off, const SYSTEMTIME* wake);
// Presses Apply and waits for the armed view. Apply runs the whole cycle
// inside its click, so the click is posted.
void ApplyPlan(AppRun& run);

}  // namespace zelvar::e2e
