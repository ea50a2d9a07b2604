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
// Whether the countdown window has opened `openings` times or more: a
// scenario waits for this, which stays, rather than for the window, which
// closes again.
bool CountOpened(AppRun& run, int openings = 1);
// Ticks the rows and sets the pickers as the user would; wake may be null.
void EnterPlan(AppRun& run, const SYSTEMTIME& off, const SYSTEMTIME* wake);
// Presses Apply and waits for the armed view. Apply runs the whole cycle
// inside its click, so the click is posted.
void ApplyPlan(AppRun& run);

// How far ahead a scenario sets an off moment, from the clock, right before
// Apply: far enough that a slow driver between the entry and Apply still
// leaves the plan valid, and, for a full countdown, more than its 31 s.
inline constexpr int kSoonLeadSeconds = 10;
inline constexpr int kFullCountdownLeadSeconds = 45;
// Waits for what comes at such an off moment (a recorded action, a window):
// the lead and a generous limit beyond it.
inline constexpr DWORD kAtOffTimeoutMs = 90000;
// Enters a plan whose off moment is lead seconds from the clock once the
// rows are ticked (wake may be null, and must lie beyond it), applies it
// and gives the off moment entered in off when not null. Any other work on
// the page belongs before it.
void ArmPlanIn(AppRun& run, int leadSeconds, SYSTEMTIME* off = nullptr, const SYSTEMTIME* wake = nullptr);

}  // namespace zelvar::e2e
