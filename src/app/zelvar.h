#pragma once
// TForm1, the main window: a shell with its title strip, frame, navigation
// tree and tray icon, the program's life (creation, first activation,
// hiding into the tray, exit), the load and save of the settings and the
// dispatch of its timers. What it shows belongs to its pages, which own
// their controls; the secondary windows are the application's.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <string>

#include "app/cycle_host_win.h"
#include "app/launch.h"
#include "app/options_page_win.h"
#include "app/policy.h"
#include "app/startup_page_win.h"
#include "common/version.h"
#include "common/handles_win.h"
#include "common/locale_format.h"
#include "i18n/language_page_win.h"
#include "i18n/message_texts.h"
#include "online/about_page_win.h"
#include "online/update_timer_win.h"
#include "power/countdowns_win.h"
#include "power/plan_page_win.h"
#include "power/power_cycle.h"
#include "power/standing_wake_win.h"
#include "power/wake_task_win.h"
#include "scheduler/scheduler_engine_win.h"
#include "scheduler/scheduler_page_win.h"
#include "ui/controls_win.h"
#include "ui/window_win.h"

namespace zelvar {

class TCountForm;
class TFabout;
class TFhistory;
class Tfsheddays;

// Posted by a copy the wake task started to the copy that runs: a wake
// moment has come (registered, so any copy of any version knows it).
UINT WokenByTaskMessage();

class TForm1 : public ui::Window {
public:
    // The secondary windows exist as objects before any window is made; their
    // windows are made after the main window's.
    struct SecondaryWindows {
        TFabout& about;
        Tfsheddays& sheddays;
        TFhistory& history;
        TCountForm& count;
    };
    TForm1(SecondaryWindows windows, LaunchKind launch = LaunchKind::Plain);
    ~TForm1() override;

    // Makes the window and its pages, then runs FormCreate.
    bool Create(HWND applicationWindow);

    // Lifecycle
    void FormCreate();
    void FormActivate();
    void FormCloseQuery();
    void Timer1Timer();
    void Image1Click();
    void m_exitExecute();

    // The settings file, loaded into and saved from the pages.
    void LoadSettings();
    void SaveSettings();
    // actsheduler alone, outside the whole save of the settings.
    void SaveSchedulerRunning(bool running);
    // Windows announced a change of Group Policy: what it sets now takes
    // over the controls, what it no longer sets shows the user's own again.
    void ReloadPolicy();

    // Layout, navigation, tray
    void ArrangeMainWindow();
    void TreeView1Click();
    void ShowMainWindow();
    void HideMainWindow();
    void ctrayClick();
    void a_mainExecute();
    void a_onoffExecute();
    void aboutExecute();

    // Language: every text by its key, in the language chosen in the list now.
    void ApplyLanguage();
    std::wstring GetLangText(const std::wstring& key) const;
    // The documented routines that others call by name on the main window.
    void SaveScheduleDay(int day) { scheduler_.SaveScheduleDay(day); }
    void SelectToday() { scheduler_.SelectToday(); }
    void RefreshOneShotPlan() { plan_.RefreshOneShotPlan(); }

    // A copy started by the wake task says a wake moment has come: the
    // tasks after a wake run when the machine was asleep and no other sign
    // of this wake ran them yet.
    void OnWokenByTask();

    // The countdown window's cancel: drops a restart, stops the scheduler
    // when it armed the countdown, cancels the plan.
    void CountFormCancel();

    // The power-cycle state: OffTimer, WakeTimer, their flags, CycleAbort.
    PowerCycleState Cycle;
    // Shown by the pages; filled by each application of a language.
    MessageTexts Messages;
    bool FirstStart = false;
    // config.ini was there but could not be read at start: this run works on
    // the defaults and writes nothing over it.
    bool SettingsReadOnly = false;
    // What Group Policy sets, and the user's own values of the options it
    // can set (a save writes these, never the policy's).
    PolicySet Policy;
    Settings OwnOptions;
    bool ActivatedOnce = false;

    bool OnEscape() override;
    bool OnEnter(HWND focus) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    HBRUSH Background() const override;

private:
    static constexpr UINT kTrayMessage = WM_APP + 1;
    // A download's worker is done: wParam its kind, lParam its DownloadDone.
    static constexpr UINT kDownloadDoneMessage = WM_APP + 2;
    // The wake task was written or removed: lParam a WakeTaskKeeper::Done.
    static constexpr UINT kWakeTaskDoneMessage = WM_APP + 3;

    void CreateControls();
    void OnCommand(int id, int code);
    LRESULT OnNotify(NMHDR* hdr);
    void OnTimer(UINT_PTR id);
    void OnActivate(WPARAM wp);
    void PaintWindow();
    // Lays the window's own controls and its pages out at dpi_.
    void LayOut();
    void OnDpiChanged(int dpi, const RECT& suggested);
    // The tree takes the theme's colours (it draws its empty part itself).
    void ColourTree();
    // High contrast or a system colour changed: the theme takes the
    // colours anew and every window of the program shows them.
    void FollowSystemColours();
    void RunPowerCycleNow();
    // The system slept or came back: a countdown on screen starts again, a
    // waiting cycle looks at its moment anew, and a wake of the standing
    // timer runs the tasks after a wake.
    void OnPowerBroadcast(WPARAM event);
    OwnSleep OwnSleepNow() const;
    // The clock or the zone was changed: logged, the countdown aimed anew.
    void OnTimeChange();
    ui::Page* PageOf(HWND control);
    // The pages in the order of the tree's nodes.
    std::array<ui::Page*, 6> Pages();
    void CommitPageEdits();
    int SelectedNode() const;

    // Tray icon (the application adds it once the window is up: the shell's
    // answer is slow and the window need not wait for it)
public:
    void AddTrayIcon();
    // The wake task follows the wake moments from here on (after the first
    // paint: the start does not wait for Windows' Task Scheduler).
    void StartKeepingWakeTask();

private:
    void RemoveTrayIcon();
    // At anchor (screen coordinates), or at the pointer without one. A
    // menu closed with Esc gives the focus back to the notification area.
    void ShowTrayMenu(const POINT* anchor = nullptr);
    void OnTrayMessage(WPARAM wp, LPARAM lp);
    void SetTrayMenuText(int id, const std::wstring& text);
    // The tooltip names what comes next and the icon shows whether anything
    // is planned: after a plan is armed or dropped, the scheduler starts,
    // stops or finds new moments, and a language is applied.
    void UpdateTrayStatus();
    // The wake task follows the moments the standing wake follows.
    void KeepWakeTask(const WakeTaskPlan& plan);
    void OnWakeTaskDone(LPARAM lp);

    SecondaryWindows windows_;
    HWND applicationWindow_ = nullptr;
    LocaleFormats formats_;
    ui::Hints hints_;
    // The texts of the last application of the language, for pages made later.
    ui::AppliedTexts appliedTexts_;

    // The pages, in the order of the tree.
    OptionsPage options_;
    LanguagePage language_;
    PlanPage plan_;
    // The scheduler's engine runs whether or not its page has been made.
    SchedulerEngine schedulerEngine_;
    SchedulerPage scheduler_;
    StartupPage startup_;
    AboutPage about_;
    Countdowns countdowns_;
    UpdateChecker updates_;
    MainCycleHost cycleHost_;
    // Armed for the next known wake moment, however the machine goes down.
    StandingWake standingWake_;
    // The same moments held by Windows' Task Scheduler, beyond the program's life.
    WakeTaskKeeper wakeTask_;
    bool keepingWakeTask_ = false;
    std::wstring userSid_;
    std::string lastWakeTaskRefusal_;  // logged once until it changes
    LaunchKind launch_ = LaunchKind::Plain;

    // Title strip, tree, tray.
    HWND Panel3 = nullptr, systbut = nullptr, Image1 = nullptr, Image2 = nullptr, Image3 = nullptr;
    HWND TreeView1 = nullptr;
    HTREEITEM treeNodes_[6] = {};
    UniqueIcon icon_, smallIcon_;
    UniqueMenu trayMenu_;
    UniqueIcon trayIcon_;  // at the size the shell asks for, planned or not
    bool trayPlanned_ = false;
    std::wstring trayTip_ = L"Zelvar";
    NOTIFYICONDATAW trayData_{};
    bool trayCurrentBehaviour_ = false;  // the shell took NOTIFYICON_VERSION_4
    UINT taskbarCreatedMessage_ = 0;
    HWND savedFocus_ = nullptr;
    bool arranging_ = false;
    int titleHeight_ = 20;  // design sizes, at 96 dpi
    int treeWidth_ = 201;
    int dpi_ = ui::kDesignDpi;
    int fontsDpi_ = 0;  // the density the controls' fonts are for
};

}  // namespace zelvar
