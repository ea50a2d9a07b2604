// Program entry: one running copy, the windows made once, the message
// loop. Command-line arguments are ignored.
#include <windows.h>
#include <commctrl.h>

#include "app/application_win.h"
#include "common/version.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    // A copy that is already running is only brought to the front.
    if (HWND running = FindWindowW(nullptr, zelvar::kMainWindowCaption)) {
        SetForegroundWindow(running);
        return 0;
    }

    zelvar::Application application;
    if (!application.Create()) return 1;
    return application.Run();
}
