// Program entry: one running copy, the five windows created once, the
// message loop. Command-line arguments are ignored.
#include <windows.h>
#include <commctrl.h>

#include "app/control_ids.h"
#include "app/secondary_window_win.h"
#include "common/os_error_win.h"
#include "app/zelvar.h"
#include "online/about_window.h"
#include "power/ucountform.h"

using namespace zelvar;

namespace {

// The program's own hidden top-level window, titled with the application
// title; it owns the other windows and is never shown.
HWND CreateApplicationWindow(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"TApplication";
    RegisterClassW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, L"TApplication", ApplicationTitle(), WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    // A copy that is already running is only brought to the front.
    if (HWND running = FindWindowW(nullptr, MainWindowCaption().c_str())) {
        SetForegroundWindow(running);
        return 0;
    }

    ui::RegisterClasses(instance);
    HWND application = CreateApplicationWindow(instance);
    TForm1* form = TForm1::Create(instance, application);
    if (!form) return 1;
    TFabout about;
    SecondaryWindow sheddays, history;
    TCountForm count;
    about.Create(instance, application, [form](const std::wstring& key) { return form->GetLangText(key); });
    sheddays.Create(instance, application, ZELVAR_SHEDDAYS_CLASS, L"", 300, 220);
    history.Create(instance, application, ZELVAR_HISTORY_CLASS, L"", 480, 360);
    count.Create(instance, application);
    form->SetSecondaryWindows(&about, &sheddays, &history, &count);
    count.SetCancelHandler([form] { form->CountFormCancel(); });

    ShowWindow(form->Handle(), SW_SHOW);  // the first activation follows
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(form->Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DestroyWindow(application);
    return static_cast<int>(msg.wParam);
}
