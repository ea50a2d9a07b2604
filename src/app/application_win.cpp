#include "app/application_win.h"

#include "app/test_seams.h"
#include "common/os_error_win.h"
#include "ui/message_loop_win.h"

namespace zelvar {

bool Application::ApplicationWindow::Create() {
    return CreateBound(L"TApplication", ApplicationTitle(), WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr, 0);
}

Application::Application(LaunchKind launch)
    : form_(std::make_unique<TForm1>(TForm1::SecondaryWindows{about_, sheddays_, history_, count_}, launch)) {}

Application::~Application() {
    // The main window first, as at exit; the secondary windows and the
    // application window follow as their members go.
    form_.reset();
}

bool Application::Create() {
    theme_.Follow(HighContrastInEffect());  // the windows are made in the colours of the system's theme
    if (!applicationWindow_.Create()) return false;
    HWND owner = applicationWindow_.Handle();
    if (!form_->Create(owner)) return false;
    // The countdown window is made with the main window: a cycle restored at
    // start may need it before the first message is handled.
    if (!count_.Create(owner)) return false;
    PublishCountdownOpenings(count_.Handle());
    count_.SetCancelHandler([this] { form_->CountFormCancel(); });
    return true;
}

int Application::Run() {
    // The main window is shown and painted first; the windows only a click
    // can open are made when first opened.
    HWND owner = applicationWindow_.Handle();
    auto lookup = [this](const std::wstring& key) { return form_->GetLangText(key); };
    about_.MakeOnFirstUse([this, owner, lookup] { return about_.Create(owner, lookup); });
    sheddays_.MakeOnFirstUse([this, owner, lookup] { return sheddays_.Create(owner, lookup); });
    history_.MakeOnFirstUse([this, owner, lookup] { return history_.Create(owner, lookup); });
    ShowWindow(form_->Handle(), SW_SHOW);  // the first activation follows
    UpdateWindow(form_->Handle());
    form_->AddTrayIcon();
    form_->StartKeepingWakeTask();
    // Started again with its scheduler as it was (config.ini keeps it): such
    // a start opens no first-start page. A crash counts only after a minute
    // of running, as Windows has it.
    RegisterApplicationRestart(kRestartedArgument, 0);
    return ui::RunMessageLoop();
}

}  // namespace zelvar
