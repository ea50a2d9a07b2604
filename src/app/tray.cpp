// The tray icon ctray, its menu PopupMenu1 and showing/hiding the window.
#include "app/zelvar.h"
#include "online/about_window.h"
#include "ui/control_ids.h"

namespace zelvar {

void TForm1::AddTrayIcon() {
    trayData_ = {};
    trayData_.cbSize = sizeof(trayData_);
    trayData_.hWnd = hwnd_;
    trayData_.uID = 1;
    trayData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayData_.uCallbackMessage = kTrayMessage;
    trayData_.hIcon = smallIcon_ ? smallIcon_.get() : LoadIconW(nullptr, IDI_APPLICATION);
    wcscpy_s(trayData_.szTip, L"Zelvar");
    Shell_NotifyIconW(NIM_DELETE, &trayData_);
    Shell_NotifyIconW(NIM_ADD, &trayData_);
}

void TForm1::RemoveTrayIcon() {
    if (trayData_.hWnd) Shell_NotifyIconW(NIM_DELETE, &trayData_);
    trayData_.hWnd = nullptr;
}

void TForm1::ShowTrayMenu() {
    POINT pt;
    GetCursorPos(&pt);
    // The menu closes properly only when our window is in the foreground.
    SetForegroundWindow(hwnd_);
    TrackPopupMenu(trayMenu_.get(), TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, pt.x, pt.y, 0, hwnd_, nullptr);
    PostMessageW(hwnd_, WM_NULL, 0, 0);
}

void TForm1::SetTrayMenuText(int id, const std::wstring& text) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_STRING;
    mi.dwTypeData = const_cast<wchar_t*>(text.c_str());
    SetMenuItemInfoW(trayMenu_.get(), id, FALSE, &mi);
}

void TForm1::ShowMainWindow() {
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void TForm1::HideMainWindow() { ShowWindow(hwnd_, SW_HIDE); }

void TForm1::ctrayClick() {
    HideMainWindow();
    ShowMainWindow();
}

void TForm1::a_mainExecute() { ShowMainWindow(); }

void TForm1::a_onoffExecute() {
    ShowMainWindow();
    if (TreeView_GetSelection(TreeView1) == treeNodes_[2]) TreeView1Click();  // already selected: navigate anyway
    else TreeView_SelectItem(TreeView1, treeNodes_[2]);
}

void TForm1::aboutExecute() {
    // The about window takes its caption in the chosen language when shown.
    windows_.about.SetCaption(GetLangText(L"menuabout"));
    windows_.about.ShowOver(hwnd_);
}

}  // namespace zelvar
