#pragma once
// TForm1, the main window: its controls are the live copy of the settings
// and of the one-shot plan. Handlers gather values from the controls, call
// the plain functions that decide, and apply the result.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/art.h"
#include "app/ui_win.h"
#include "common/datetime.h"
#include "common/locale_format.h"
#include "power/power_cycle.h"

namespace zelvar {

class TCountForm;
class TFabout;
class SecondaryWindow;

inline constexpr wchar_t kAppVersion[] = L"1.7";
inline constexpr int kAppVersionNumber = 17;
// "Zelvar " + AppVersion: the caption the single-instance test looks for.
std::wstring MainWindowCaption();

class TForm1 : public PowerCycleHost {
public:
    static TForm1* Create(HINSTANCE instance, HWND applicationWindow);
    HWND Handle() const { return hwnd_; }
    void SetSecondaryWindows(TFabout* about, SecondaryWindow* sheddays, SecondaryWindow* history,
                             TCountForm* count);

    // Lifecycle
    void FormCreate();
    void FormActivate();
    void FormCloseQuery();
    void Timer1Timer();
    void Image1Click();
    void m_exitExecute();
    void RefreshOneShotPlan() override;
    void UpdateWakeControls();

    // Settings file and start with Windows
    void LoadSettings();
    void SaveSettings();

    // Layout, navigation, tray, options
    void ArrangeMainWindow();
    void TreeView1Click();
    void ShowMainWindow();
    void HideMainWindow();
    void ctrayClick();
    void a_mainExecute();
    void a_onoffExecute();
    void aboutExecute();
    void CheckBox2Click();
    void CheckBox4Click();
    void CheckBox5Click();
    void CheckBox6Click();
    void CheckBox7Click();
    void PNGButton3Click();
    void OpenWebSite();
    void OpenMailLink();

    // Language
    void ApplyLanguage();
    std::wstring GetLangText(const std::wstring& key) const;
    // An image button's caption, then its hint, each looked up anew.
    void SetCaptionAndHint(HWND button, const wchar_t* key);
    int SelectedLanguage() const;

    // One-shot plan page
    void CheckBox3Click();
    void CheckBox1Click();
    void ShowPlanState(bool editable) override;
    void PNGButton2Click();  // Apply
    void PNGButton5Click();  // Cancel, also from the countdown window

    // Countdowns: timercnt, timerreset and the countdown window's cancel.
    void timercntTimer();
    void timerresetTimer();
    void CountFormCancel();

    // The power cycle's view of the window.
    TDateTime Now() override;
    bool PlanArmed() override;
    TDateTime OffDatePicker() override;
    TDateTime OffTimePicker() override;
    TDateTime WakeDatePicker() override;
    TDateTime WakeTimePicker() override;
    bool OffTicked() override;
    bool WakeTicked() override;
    int OffModeIndex() override;
    bool StartSoundTicked() override;
    bool RestartAfterWakeTicked() override;
    bool SchedulerActive() override;
    ScheduledMoment NextScheduledOff() override;
    ScheduledMoment NextScheduledOn() override;
    bool CountdownVisible() override;
    std::optional<TDateTime> ComposeMoment(TDateTime date, TDateTime timeOfDay) override;
    void ArmCountdown(std::uint32_t intervalMs) override;
    void PumpMessages() override;
    void CloseApplications() override;
    void KeepAwakeAfterResume() override;
    void ResetCountdownWindow() override;
    void ClearPlanTicks() override;
    void ResumeScheduler() override;
    void StartRestartCountdown() override;

    // The power-cycle state: OffTimer, WakeTimer, their flags, CycleAbort.
    PowerCycleState Cycle;
    // Scheduler state read by the cycle; the scheduler engine sets them.
    ScheduledMoment NextOff, NextOn;
    bool CountdownBySchedule = false;
    // Stops the weekly scheduler as its Stop button does (from the countdown's cancel).
    void StopSchedulerFromCountdown();

    // Weekly scheduler: places the scheduler page fills in.
    void SaveScheduleDay(int day);
    void LoadScheduleDay(int day);
    void FillWeekGrid();
    void SelectToday() override;
    void ShowDayEditor(bool editable);
    // The scheduler page's own texts while a language is applied: stage 1
    // its check boxes, labels and copy hints, stage 2 the week grid headings.
    void ApplySchedulerPageTexts(int stage);
    void ComputeNextSchedule();
    void StartUpdateTimer();
    void Timer_updTimer();

    // Start-up programs and start sound
    void RunStartupPrograms() override;
    void PlayStartSound() override;
    void PNGButton1Click();
    void PNGButton4Click();
    std::vector<std::wstring> ListBoxEntries() const;
    void SetListBoxEntries(const std::vector<std::wstring>& entries, int selected);

    // Messages shown by several pages, filled when a language is applied.
    std::wstring MsgWrongDt, MsgRemoveExe, MsgSelString, MsgErrConfig;

    // Program-wide flags of the shell.
    bool FirstStart = false;
    // config.ini was there but could not be read at start: this run works on
    // the defaults and writes nothing over it.
    bool SettingsReadOnly = false;
    bool ActivatedOnce = false;
    int SchedulerTag = 0;  // tag of PNGButton8: 1 running, 0 stopped

    // Controls other parts read.
    HWND CheckBox1 = nullptr, CheckBox2 = nullptr, CheckBox3 = nullptr, CheckBox4 = nullptr, CheckBox5 = nullptr,
         CheckBox6 = nullptr, CheckBox7 = nullptr, CheckBox10 = nullptr;
    HWND ComboBox1 = nullptr, ComboBox2 = nullptr, ListBox1 = nullptr, TreeView1 = nullptr;
    HWND DateTimePicker1 = nullptr, DateTimePicker2 = nullptr, DateTimePicker3 = nullptr, DateTimePicker4 = nullptr;
    HWND Panel1 = nullptr, Panel2 = nullptr, Panel4 = nullptr, Panel5 = nullptr, Panel6 = nullptr, Panel7 = nullptr,
         p_sheduler = nullptr;

private:
    explicit TForm1(HINSTANCE instance) : instance_(instance) {}
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void CreateControls();
    void OnCommand(int id, int code, HWND control);
    // Buttons and lists of the plan, start-up and about pages.
    void OnPageCommand(int id, int code, HWND control);
    LRESULT OnNotify(NMHDR* hdr);
    LRESULT OnCtlColor(HDC dc, HWND control);
    void OnDrawItem(DRAWITEMSTRUCT* item);
    void OnTimer(UINT_PTR id);
    void PaintWindow();
    static constexpr UINT kTrayMessage = WM_APP + 1;

    // Power cycle hooks: the timers of the countdowns and the scheduler tick,
    // and releasing the cycle's kernel timers on exit.
    void OnPowerTimer(UINT_PTR id);
    void OnExitStopTimers();

    // A tick set by the program runs the box's handling like a click,
    // except while the settings are being loaded.
    void SetCheck(HWND box, bool checked);
    void RunCheckBoxHandler(HWND box);

    // Tray icon
    void AddTrayIcon();
    void RemoveTrayIcon();
    void ShowTrayMenu();
    void SetTrayMenuText(int id, const std::wstring& text);

    // Pickers
    TDateTime PickerValue(HWND picker) const;
    void SetPickerValue(HWND picker, TDateTime value);
    TDateTime OffMoment() const;
    TDateTime WakeMoment() const;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND applicationWindow_ = nullptr;
    bool loadingSettings_ = false;
    UINT taskbarCreatedMessage_ = 0;
    NOTIFYICONDATAW trayData_{};
    HMENU trayMenu_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    ui::Hints hints_;
    LocaleFormats formats_;

    // Title strip, frame and the remaining controls.
    HWND Panel3 = nullptr, systbut = nullptr, Image1 = nullptr, Image2 = nullptr, Image3 = nullptr;
    HWND Label1 = nullptr, Label2 = nullptr, Label3 = nullptr, Label4 = nullptr, Label5 = nullptr, Label6 = nullptr,
         Label7 = nullptr, Label8 = nullptr, Label9 = nullptr, Label10 = nullptr, Label11 = nullptr,
         Label12 = nullptr, Label13 = nullptr, Label15 = nullptr, Label16 = nullptr, Label19 = nullptr,
         Label22 = nullptr, Label23 = nullptr, Label24 = nullptr, dday = nullptr;
    HWND PNGButton1 = nullptr, PNGButton2 = nullptr, PNGButton3 = nullptr, PNGButton4 = nullptr,
         PNGButton5 = nullptr, PNGButton8 = nullptr;
    HWND Image4 = nullptr, Image6 = nullptr, Image7 = nullptr, Image8 = nullptr, Image9 = nullptr, Image10 = nullptr;
    std::array<HWND, 7> dayButtons_{};
    HTREEITEM treeNodes_[6] = {};
    HBITMAP wordmark_ = nullptr;  // Image5, drawn on the window itself
    HWND armedPicture_ = nullptr;
    int titleHeight_ = 20;
    int treeWidth_ = 201;

    TFabout* about_ = nullptr;
    SecondaryWindow* sheddays_ = nullptr;
    SecondaryWindow* history_ = nullptr;
    TCountForm* count_ = nullptr;
};

}  // namespace zelvar
