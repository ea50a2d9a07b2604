#include "app/application_win.h"

#include "common/os_error_win.h"
#include "ui/message_loop_win.h"

namespace zelvar {

bool Application::ApplicationWindow::Create() {
    return CreateBound(L"TApplication", ApplicationTitle(), WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr, 0);
}

Application::Application()
    : form_(std::make_unique<TForm1>(TForm1::SecondaryWindows{about_, sheddays_, history_, count_})) {}

Application::~Application() {
    // The main window first, as at exit; the secondary windows and the
    // application window follow as their members go.
    form_.reset();
}

bool Application::Create() {
    if (!applicationWindow_.Create()) return false;
    HWND owner = applicationWindow_.Handle();
    if (!form_->Create(owner)) return false;
    if (!about_.Create(owner, [this](const std::wstring& key) { return form_->GetLangText(key); })) return false;
    if (!sheddays_.Create(owner, [this](const std::wstring& key) { return form_->GetLangText(key); })) return false;
    if (!history_.Create(owner, [this](const std::wstring& key) { return form_->GetLangText(key); })) return false;
    if (!count_.Create(owner)) return false;
    count_.SetCancelHandler([this] { form_->CountFormCancel(); });
    return true;
}

int Application::Run() {
    ShowWindow(form_->Handle(), SW_SHOW);  // the first activation follows
    form_->AddTrayIcon();
    return ui::RunMessageLoop();
}

}  // namespace zelvar
