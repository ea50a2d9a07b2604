#pragma once
// The program's one way of handling messages, for the main loop and for the
// pumps that run inside a handler (a waiting power cycle, the countdown):
// whichever of our windows is active handles its dialog keys (Tab, arrows,
// Space, Enter and Esc) before a message is dispatched.
#include <windows.h>

namespace zelvar::ui {

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();
// Dispatches every pending message of this thread, then returns. A WM_QUIT
// found here is posted again for the main loop.
void PumpMessages();
// The keyboard handling of one message for our active window; true when the
// message was used up and must not be dispatched.
bool TranslateDialogKeys(MSG& msg);

}  // namespace zelvar::ui
