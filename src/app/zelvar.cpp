// The main window's life: creation, first activation, hiding into the tray,
// exit and the save on close (also when Windows ends the session).
#include "app/zelvar.h"

#include "app/autostart_win.h"
#include "app/startup_programs_win.h"
#include "app/test_seams.h"
#include "common/locale_win.h"
#include "common/os_error_win.h"
#include "i18n/lang_files_win.h"
#include "i18n/lang_files_win.h"
#include "online/about_window.h"
#include "power/cycle_log_win.h"
#include "online/download_worker_win.h"
#include "online/history_window_win.h"
#include "power/standing_wake_rules.h"
#include "power/ucountform.h"
#include "power/wtimer.h"
#include "scheduler/sheddays_win.h"
#include "app/main_ids.h"
#include "online/online_ids.h"
#include "power/power_ids.h"
#include "scheduler/scheduler_ids.h"
#include "ui/control_ids.h"

namespace zelvar {

UINT WokenByTaskMessage() {
    static const UINT message = RegisterWindowMessageW(L"Zelvar.WokenByTask");
    return message;
}

TForm1::TForm1(SecondaryWindows windows, LaunchKind launch)
    : windows_(windows),
      options_([this] { SaveSettings(); }),
      language_([this] {
          ApplyLanguage();
          ShowLanguageFileProblems(hwnd_);
      }),
      plan_(PlanPage::Links{Cycle, windows.count, Messages, formats_, [this] { RunPowerCycleNow(); },
                            [this](const std::wstring& key) { return GetLangText(key); },
                            [this] { UpdateTrayStatus(); }}),
      schedulerEngine_(SchedulerEngine::Links{Cycle, windows.count, countdowns_, Messages, formats_,
                                              [this]() -> std::optional<TDateTime> {
                                                  if (!plan_.Armed()) return std::nullopt;
                                                  return plan_.OffMoment();
                                              },
                                              [this] { RunPowerCycleNow(); },
                                              [this](bool running) { SaveSchedulerRunning(running); },
                                              [this] { UpdateTrayStatus(); }}),
      scheduler_(schedulerEngine_, SchedulerPage::Links{windows.sheddays, Messages, formats_,
                                                        [this](const std::wstring& key) { return GetLangText(key); }}),
      startup_(Messages, [this] { SaveSettings(); }),
      about_([this] { windows_.history.ShowChangeHistory(); }),
      countdowns_(Cycle, windows.count),
      cycleHost_(
          MainCycleHost::Parts{options_, plan_, schedulerEngine_, scheduler_, windows.count, countdowns_, formats_}),
      launch_(launch) {}

TForm1::~TForm1() {
    RemoveTrayIcon();
    // The pages' windows are children of this one and go with it.
    if (hwnd_) DestroyWindow(hwnd_);
}

bool TForm1::Create(HWND applicationWindow) {
    applicationWindow_ = applicationWindow;
    // Borderless; the owner is the hidden application window, so the
    // taskbar button comes from WS_EX_APPWINDOW while the window is shown.
    if (!CreateBound(ZELVAR_MAIN_CLASS, MainWindowCaption().c_str(),
                     WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, 0,
                     0, 507, 284, applicationWindow, 0, CS_DBLCLKS))
        return false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    icon_.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZELVAR), IMAGE_ICON, 32, 32, 0)));
    smallIcon_.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZELVAR), IMAGE_ICON, 16, 16, 0)));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    fontsDpi_ = ui::DpiOf(hwnd_);  // the controls take their fonts at this density when they are made
    countdowns_.Attach(hwnd_);
    schedulerEngine_.Attach(hwnd_);
    // A power-down is under way while a cycle waits or a countdown is armed or shown.
    updates_.Attach(hwnd_, kDownloadDoneMessage,
                    {[this] { return language_.SelectedLanguage(); },
                     [this] {
                         return Cycle.OffTimerActive || windows_.count.IsVisible() ||
                                schedulerEngine_.CountdownBySchedule;
                     }});
    windows_.history.Attach(hwnd_, kDownloadDoneMessage);
    cycleHost_.Attach(hwnd_);
    CreateControls();
    FormCreate();
    return true;
}

void TForm1::FormCreate() {
    formats_ = ReadUserLocaleFormats();
    LoadSettings();
    // Texts missing from the chosen file come from English; a file that is
    // missing or cannot be read is reported once, after the texts are on.
    ApplyLanguage();
    ShowLanguageFileProblems(hwnd_);
    plan_.RefreshOneShotPlan();
    schedulerEngine_.StartUp();
    ArrangeMainWindow();
    plan_.SetOffTicked(false);  // a one-shot plan never survives a restart
    plan_.UpdateWakeControls();
    UpdateTrayStatus();
}

void TForm1::FormActivate() {
    if (!plan_.OffTicked()) plan_.RefreshOneShotPlan();
    if (!windows_.count.TickerRunning()) windows_.count.Hide();
    if (ActivatedOnce) return;
    ActivatedOnce = true;
    if (launch_ == LaunchKind::WokenStart) {
        // Started by the wake task at a wake moment: the tasks after a wake,
        // once; Windows' word of the resume that may follow finds them done.
        standingWake_.Ledger().StartedByTask(RealSecondsNow());
        const LogMoment at = LogNow();
        AppendCycleLog(TaskWakeLine(at, at));
        RunTimerWakeTasks(cycleHost_);
    } else {
        RunStartupPrograms(hwnd_);
    }
    if (options_.StartHidden() && !FirstStart) SetTimer(hwnd_, TIMER_TIMER1, 888, nullptr);
    if (options_.StartSound() && launch_ != LaunchKind::WokenStart) PlayStartSound();
    updates_.StartUpdateTimer(options_.CheckForUpdates());
    PublishFirstActivation(hwnd_);
}

void TForm1::Timer1Timer() {
    KillTimer(hwnd_, TIMER_TIMER1);
    if (options_.StartHidden()) HideMainWindow();
}

void TForm1::Image1Click() {
    CommitPageEdits();
    HideMainWindow();
}

void TForm1::m_exitExecute() {
    if (Cycle.OffTimerActive) LogCycleCancelled(CycleCancel::Stopped);  // a cycle was waiting
    plan_.SetOffTicked(false);
    plan_.SetWakeTicked(false);
    Cycle.AbortWait();
    Cycle.DestroyTimers();
    plan_.ShowPlanState(true);
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TForm1::FormCloseQuery() {
    SaveSettings();
    CommitPageEdits();
    // After a start that could not read the settings the box shows a default,
    // not the user's choice; only a click on it changes the run value then.
    if (!SettingsReadOnly) SetAutoStart(!options_.StartWithWindows());
}

void TForm1::RunPowerCycleNow() { RunPowerCycle(cycleHost_, Cycle); }

void TForm1::CountFormCancel() {
    // Before a power-down the cancel gives the cycle up; before a restart it
    // only drops the restart.
    if (!countdowns_.RestartPending()) LogCycleCancelled(CycleCancel::FromCountdown);
    windows_.count.StopTicker();
    countdowns_.StopRestart();  // this is what drops a pending restart
    windows_.count.Hide();
    // The scheduler stops when the countdown was its own, also once its
    // cycle waits out the last seconds: the user cancelled that power-down.
    if (schedulerEngine_.CountdownIsTheSchedulers()) {
        schedulerEngine_.StopSchedulerFromCountdown();
        schedulerEngine_.CountdownBySchedule = false;
    }
    plan_.PNGButton5Click();
}

void TForm1::OnPowerBroadcast(WPARAM event) {
    const double now = RealSecondsNow();
    const OwnSleep own = OwnSleepNow();
    // Right after the program's own hibernation the cycle has done what
    // follows a wake; what the system says about that sleep is old news.
    const bool ownSleep = own.hibernating || (own.resumedAt && now - *own.resumedAt <= kOwnResumeWindowSeconds);
    if (event == PBT_APMSUSPEND) {
        if (!ownSleep) Cycle.SuspendNoticed = true;
        standingWake_.Ledger().Suspending();
        return;
    }
    if (event != PBT_APMRESUMEAUTOMATIC && event != PBT_APMRESUMESUSPEND) return;
    if (!Cycle.OffTimerActive) {
        // No cycle waits (the scheduler hands its moment over 10 s ahead): a
        // countdown that was on screen when the machine slept starts again.
        if (windows_.count.IsVisible() && !countdowns_.RestartPending() && !ownSleep) {
            windows_.count.StartCount(30);
            Cycle.WarnAgainFrom(now);
        }
        Cycle.SuspendNoticed = false;
    } else if (!ownSleep) {
        Cycle.SuspendNoticed = true;  // the waiting cycle looks at its moment anew
    }
    if (const std::optional<TDateTime> due = standingWake_.Ledger().TakeResume(now, own)) {
        AppendCycleLog(TimerWakeLine(LogNow(), LogMomentAt(*due)));
        RunTimerWakeTasks(cycleHost_);
    }
}

void TForm1::OnWokenByTask() {
    const std::optional<TDateTime> due =
        standingWake_.Ledger().TakeTaskWake(RealSecondsNow(), NowLocal(), OwnSleepNow());
    if (!due) return;
    AppendCycleLog(TaskWakeLine(LogNow(), LogMomentAt(*due)));
    RunTimerWakeTasks(cycleHost_);
}

OwnSleep TForm1::OwnSleepNow() const { return OwnSleep{Cycle.OwnHibernating, Cycle.OwnResumeAt}; }

void TForm1::OnTimeChange() {
    if (Cycle.OffTimerActive) {
        Cycle.ClockChanged = true;  // the waiting cycle logs it and aims anew
    } else {
        if (plan_.Armed() || schedulerEngine_.Running()) AppendCycleLog(ClockChangedLine(LogNow()));
        // A countdown on screen no longer tells since when it warns; the
        // cycle shows it again in full. The tick aims timercnt anew by itself.
        Cycle.DropWarning();
    }
    UpdateTrayStatus();  // the standing wake takes the moment's new universal time
}

HBRUSH TForm1::Background() const { return ui::BrushOf(ui::Role::Background); }

void TForm1::OnActivate(WPARAM wp) {
    // The focus comes back to where it was, after a message box too; the
    // first time it goes to the tree.
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) savedFocus_ = focus;
        return;
    }
    FormActivate();
    HWND target =
        savedFocus_ && IsChild(hwnd_, savedFocus_) && IsWindowVisible(savedFocus_) && IsWindowEnabled(savedFocus_)
            ? savedFocus_
            : TreeView1;
    SetFocus(target);
}

bool TForm1::OnEscape() {
    Image1Click();  // as the close glyph: into the tray
    return true;
}

ui::Page* TForm1::PageOf(HWND control) {
    for (ui::Page* page :
         std::initializer_list<ui::Page*>{&options_, &language_, &plan_, &scheduler_, &startup_, &about_})
        if (control && IsChild(page->Panel(), control)) return page;
    return nullptr;
}

bool TForm1::OnEnter(HWND focus) {
    // Enter presses the focused button, else the apply button of the page
    // the focus is on.
    if (!focus || !IsChild(hwnd_, focus)) return false;
    wchar_t name[16] = {};
    GetClassNameW(focus, name, 16);
    const LONG_PTR type = GetWindowLongPtrW(focus, GWL_STYLE) & BS_TYPEMASK;
    if (_wcsicmp(name, L"Button") == 0 && (type == BS_OWNERDRAW || type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) {
        ui::PressButton(focus);
        return true;
    }
    if (ui::Page* page = PageOf(focus)) ui::PressButton(page->DefaultButton());
    return true;
}

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT answer = 0; HandleTestSeamMessage(msg, wp, lp, answer)) return answer;
    if (msg == WokenByTaskMessage()) {
        OnWokenByTask();
        return 0;
    }
    if (taskbarCreatedMessage_ && msg == taskbarCreatedMessage_) {
        AddTrayIcon();  // Explorer restarted: the icon must come back
        return 0;
    }
    switch (msg) {
        case WM_NCHITTEST: {
            // The window's own surface drags it like a caption.
            LRESULT hit = DefWindowProcW(hwnd_, msg, wp, lp);
            return hit == HTCLIENT ? HTCAPTION : hit;
        }
        case WM_ACTIVATE: OnActivate(wp); return 0;
        case WM_SIZE:
            if (wp == SIZE_MINIMIZED) HideMainWindow();  // a minimised window lives in the tray
            return 0;
        case WM_DPICHANGED: OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp)); return 0;
        case WM_PAINT: PaintWindow(); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp)); return 0;
        case WM_NOTIFY: return OnNotify(reinterpret_cast<NMHDR*>(lp));
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            SetBkColor(reinterpret_cast<HDC>(wp), ui::ColorOf(ui::Role::Background));
            return reinterpret_cast<LRESULT>(ui::BrushOf(ui::Role::Background));
        case WM_TIMER: OnTimer(wp); return 0;
        case kDownloadDoneMessage:
            if (auto done = TakeDownloadDone(lp)) {
                if (done->kind == DownloadKind::History) windows_.history.OnDownloadDone(std::move(done));
                else updates_.OnDownloadDone(std::move(done));
            }
            return 0;
        case kWakeTaskDoneMessage: OnWakeTaskDone(lp); return 0;
        case kTrayMessage: OnTrayMessage(wp, lp); return 0;
        case WM_POWERBROADCAST: OnPowerBroadcast(wp); return TRUE;
        case WM_TIMECHANGE: OnTimeChange(); return 0;
        case WM_SETTINGCHANGE:
            // Windows announces a refresh of Group Policy with "Policy".
            if (lp && _wcsicmp(reinterpret_cast<const wchar_t*>(lp), L"Policy") == 0) ReloadPolicy();
            if (wp == SPI_SETHIGHCONTRAST) FollowSystemColours();
            break;
        case WM_SYSCOLORCHANGE: FollowSystemColours(); break;
        case WM_QUERYENDSESSION: return TRUE;  // closing is always allowed
        case WM_ENDSESSION:
            // Windows ends the session (also our own power-off): save now,
            // the process may not see another message.
            if (wp) {
                Cycle.AbortWait();
                FormCloseQuery();
                RemoveTrayIcon();
            }
            return 0;
        case WM_CLOSE:
            FormCloseQuery();
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            RemoveTrayIcon();
            KillTimer(hwnd_, TIMER_TIMER1);
            KillTimer(hwnd_, TIMER_SCHEDULER);
            KillTimer(hwnd_, TIMER_TIMERCNT);
            KillTimer(hwnd_, TIMER_TIMERRESET);
            KillTimer(hwnd_, TIMER_TIMER_UPD);
            // The program ends: its other windows go with it, without taking
            // the activation from the closing main window first.
            for (ui::SecondaryWindow* w : std::initializer_list<ui::SecondaryWindow*>{
                     &windows_.about, &windows_.sheddays, &windows_.history, &windows_.count})
                if (w->Handle()) ShowWindow(w->Handle(), SW_HIDE);
            PostQuitMessage(0);
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

void TForm1::OnTimer(UINT_PTR id) {
    switch (id) {
        case TIMER_TIMER1: Timer1Timer(); return;
        case TIMER_SCHEDULER: schedulerEngine_.Scheduler_TimerTimer(); return;
        case TIMER_TIMER_UPD: updates_.Timer_updTimer(); return;
    }
    if (!countdowns_.OnTimer(id)) KillTimer(hwnd_, id);
}

}  // namespace zelvar
