// The tray icon ctray, its menu PopupMenu1 and showing/hiding the window.
#include "app/test_seams.h"
#include "app/tray_status.h"
#include "app/zelvar.h"
#include "common/paths_win.h"
#include "power/cycle_log_win.h"
#include "common/locale_win.h"
#include "power/standing_wake_rules.h"
#include "scheduler/scheduler_rules.h"
#include "ui/art_win.h"
#include "online/about_window.h"

namespace zelvar {

void TForm1::AddTrayIcon() {
    // Taken out first when it is there (a new density, a restarted
    // Explorer); the first time there is nothing to take out.
    const bool added = trayData_.hWnd != nullptr;
    trayData_ = {};
    trayData_.cbSize = sizeof(trayData_);
    trayData_.hWnd = hwnd_;
    trayData_.uID = 1;
    // NIF_SHOWTIP: with the current behaviour the shell shows the tooltip only when asked to.
    trayData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    trayData_.uCallbackMessage = kTrayMessage;
    trayIcon_.reset(LoadTrayIcon(trayPlanned_, dpi_));
    trayData_.hIcon = trayIcon_ ? trayIcon_.get() : smallIcon_ ? smallIcon_.get() : LoadIconW(nullptr, IDI_APPLICATION);
    wcsncpy_s(trayData_.szTip, trayTip_.c_str(), _TRUNCATE);
    if (added) Shell_NotifyIconW(NIM_DELETE, &trayData_);
    Shell_NotifyIconW(NIM_ADD, &trayData_);
    // The current behaviour: the icon works from the keyboard (Win+B and
    // the arrows reach it), and the menu opens where the shell says.
    trayData_.uVersion = NOTIFYICON_VERSION_4;
    trayCurrentBehaviour_ = Shell_NotifyIconW(NIM_SETVERSION, &trayData_) != FALSE;
    PublishTrayBehaviour(hwnd_, trayCurrentBehaviour_);
}

void TForm1::UpdateTrayStatus() {
    if (!hwnd_) return;
    TrayStatusInput in;
    in.planArmed = plan_.Armed();
    in.planOff = plan_.OffMoment();
    in.planWakeTicked = plan_.WakeTicked();
    in.planWake = plan_.WakeMoment();
    in.planOffMode = plan_.OffModeIndex();
    in.schedulerActive = schedulerEngine_.Running();
    in.hasNextOff = schedulerEngine_.NextOff.Has;
    if (in.hasNextOff) in.nextOff = ScheduledLocalMoment(schedulerEngine_.NextOff, formats_);
    in.hasNextOn = schedulerEngine_.NextOn.Has;
    if (in.hasNextOn) in.nextOn = ScheduledLocalMoment(schedulerEngine_.NextOn, formats_);
    // The standing wake follows every change of the moments the tray follows.
    const StandingWakeSources wake{in.planArmed,       in.planWakeTicked, in.planWake,
                                   in.schedulerActive, in.hasNextOn,      in.nextOn};
    standingWake_.Keep(StandingWakeMoment(wake, NowLocal()));
    PublishStandingWake(hwnd_, standingWake_.Moment());
    WakeTaskPlan task;
    if (in.schedulerActive) task.weekly = schedulerEngine_.WakeTimes;
    if (in.planArmed && in.planWakeTicked && in.planWake > NowLocal()) task.once = WakeTaskMomentAt(in.planWake);
    KeepWakeTask(task);
    const TrayStatus status = DecideTrayStatus(in);
    const std::wstring tip = TrayTooltip(status, NowLocal(), formats_,
                                         [this](std::wstring_view key) { return GetLangText(std::wstring(key)); });
    const bool iconChanges = status.Planned() != trayPlanned_ || !trayIcon_;
    trayTip_ = tip;
    trayPlanned_ = status.Planned();
    PublishTrayStatus(hwnd_, trayTip_, trayPlanned_);
    if (!trayData_.hWnd) return;  // not in the tray yet: AddTrayIcon takes them
    if (iconChanges) {
        trayIcon_.reset(LoadTrayIcon(trayPlanned_, dpi_));
        if (trayIcon_) trayData_.hIcon = trayIcon_.get();
    }
    wcsncpy_s(trayData_.szTip, trayTip_.c_str(), _TRUNCATE);
    trayData_.uFlags = NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    Shell_NotifyIconW(NIM_MODIFY, &trayData_);
    trayData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
}

void TForm1::StartKeepingWakeTask() {
    userSid_ = CurrentUserSid();
    wakeTask_.Attach(hwnd_, kWakeTaskDoneMessage);
    keepingWakeTask_ = true;
    UpdateTrayStatus();
}

void TForm1::KeepWakeTask(const WakeTaskPlan& plan) {
    if (!keepingWakeTask_) return;
    // Without the user's SID no task name can be told apart from another
    // user's: the wake then holds only while the program runs.
    if (userSid_.empty()) return;
    wakeTask_.Keep(plan, WakeTaskIdentity{ExePath(), userSid_, GetLangText(L"waketaskdescription")}, NowLocal());
}

void TForm1::OnWakeTaskDone(LPARAM lp) {
    const std::unique_ptr<WakeTaskKeeper::Done> done = wakeTask_.TakeDone(lp);
    if (!done) return;
    if (FAILED(done->outcome.hr)) {
        const std::string refusal = std::string(done->outcome.step) + std::to_string(done->outcome.hr);
        if (refusal != lastWakeTaskRefusal_)
            AppendCycleLog(
                WakeTaskRefusedLine(LogNow(), done->outcome.step, static_cast<std::uint32_t>(done->outcome.hr)));
        lastWakeTaskRefusal_ = refusal;
    } else {
        lastWakeTaskRefusal_.clear();
    }
    PublishWakeTask(hwnd_, wakeTask_.Held());
    plan_.CheckWakeReadiness();
    scheduler_.CheckWakeReadiness();
}

void TForm1::RemoveTrayIcon() {
    if (trayData_.hWnd) Shell_NotifyIconW(NIM_DELETE, &trayData_);
    trayData_.hWnd = nullptr;
}

void TForm1::OnTrayMessage(WPARAM wp, LPARAM lp) {
    switch (DecideTrayRequest(trayCurrentBehaviour_, LOWORD(lp))) {
        case TrayRequest::Click: ctrayClick(); return;
        case TrayRequest::Open: a_mainExecute(); return;
        case TrayRequest::Menu:
            if (trayCurrentBehaviour_) {
                // The anchor: the pointer for a click, the icon for a key.
                const POINT anchor{static_cast<short>(LOWORD(wp)), static_cast<short>(HIWORD(wp))};
                ShowTrayMenu(&anchor);
            } else {
                ShowTrayMenu();
            }
            return;
        case TrayRequest::None: return;
    }
}

void TForm1::ShowTrayMenu(const POINT* anchor) {
    POINT pt{};
    if (anchor) pt = *anchor;
    else GetCursorPos(&pt);
    // The menu closes properly only when our window is in the foreground.
    SetForegroundWindow(hwnd_);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        trayMenu_.get(), TPM_RIGHTBUTTON | TPM_BOTTOMALIGN | TPM_RETURNCMD, pt.x, pt.y, 0, hwnd_, nullptr));
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    if (chosen) {
        PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    } else if (GetForegroundWindow() == hwnd_ && trayData_.hWnd) {
        // Closed with Esc (a click elsewhere activates what it hit): the
        // focus goes back to the icons, as Windows' own do.
        Shell_NotifyIconW(NIM_SETFOCUS, &trayData_);
    }
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
