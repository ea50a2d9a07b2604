#pragma once
// The weekly scheduler's page (p_sheduler) and its engine. While the
// scheduler is stopped the page shows the day editor: the seven day buttons,
// the edited day in its dotted frame, the off and wake ticks with their
// times and copy buttons. While it runs, the editor gives way to the week
// grid with the next off and wake cells marked, and the tick
// (Scheduler_Timer, every 803 ms) watches the next moments and hands the
// off moment to the power cycle. The schedule lives in scheduler.ini alone.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "common/locale_format.h"
#include "i18n/message_texts.h"
#include "power/power_cycle.h"
#include "scheduler/schedule_policy.h"
#include "scheduler/scheduler_rules.h"
#include "scheduler/week_grid_win.h"
#include "ui/page_win.h"

namespace zelvar {

class Countdowns;
class TCountForm;
class Tfsheddays;

class SchedulerPage : public ui::Page {
public:
    struct Links {
        PowerCycleState& cycle;
        TCountForm& countForm;
        Countdowns& countdowns;
        Tfsheddays& copyDialog;
        const MessageTexts& messages;
        const LocaleFormats& formats;
        ui::TextLookup text;                                // GetLangText, in the language chosen now
        std::function<std::optional<TDateTime>()> planOff;  // the armed one-shot plan's off moment
        std::function<void()> runPowerCycle;
        std::function<void(bool)> saveRunningState;         // actsheduler, by the settings' owner
        std::function<void()> stateChanged;                 // started, stopped, new moments (the tray follows)
    };
    explicit SchedulerPage(Links links) : links_(std::move(links)) {}

    // The running state: the tag of PNGButton8, 1 running, 0 stopped.
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    bool Running() const { return tag_ != 0; }
    // The number of the day being edited (dday), 1 Monday ... 7 Sunday.
    int EditedDay() const { return dday; }

    // The start-up sequence: Monday first, then today; then the face of the
    // running state, with the moments and the tick when it runs.
    void StartUp();
    void LoadScheduleDay(int day);
    void SaveScheduleDay(int day);
    void SelectScheduleDay(int day);
    void SelectToday();
    void ShowDayEditor(bool visible);
    void FillWeekGrid();
    void ComputeNextSchedule();
    void PNGButton8Click();  // start / stop
    void PNGButton6Click();  // copy the off time to other days
    void PNGButton7Click();  // copy the wake time to other days
    void Scheduler_TimerTimer();
    // Stops the scheduler as its Stop button does (from the countdown's cancel).
    // While a policy keeps it running, only the moment counted down is given
    // up and the scheduler watches the next ones.
    void StopSchedulerFromCountdown();

    // The administrator's week and running state. Before StartUp it only
    // sets them; afterwards the editor, the grid and the moments follow at
    // once, and the scheduler starts or stops to be as running says.
    void ApplyPolicy(WeekPolicy week, std::optional<bool> runLock, bool running);
    // After a power cycle while the scheduler runs: new moments, tick on.
    void ResumeScheduler();
    // The off moment passed unseen (the machine slept, the program was
    // held): the moments after it, the tick as it was.
    void ScheduledMomentSkipped();
    // Whether the countdown's cancel is to stop the scheduler: it armed the
    // countdown, or the cycle that is waiting is one it started.
    bool CountdownIsTheSchedulers() const;

    // The scheduler's moments as the power cycle takes them.
    ScheduledMoment NextOff, NextOn;
    bool CountdownBySchedule = false;

    // Its rows of the language application, in their order.
    void ApplyTexts(const ui::TextLookup& text) override;
    void ApplyOffCaption(const ui::TextLookup& text);   // CheckBox8
    void ApplyEditorTexts(const ui::TextLookup& text);  // CheckBox9, Label20, Label21, the copy hints
    void ApplyDayTexts(const ui::TextLookup& text);     // day button hints and captions, Label22
    void ApplyButtonTexts(const ui::TextLookup& text);  // PNGButton8 caption and hint
    void ApplySchedulerPageTexts(const ui::TextLookup& text);  // the week grid's headings and days
    // The edited day is saved to scheduler.ini.
    void CommitEdits() override { SaveScheduleDay(dday); }

protected:
    void CreateControls() override;
    void Layout() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    COLORREF TextColor(HWND control) const override { return control == wakeInfo_ ? ui::kAccent : ui::kText; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    ScheduleClock Clock() const;
    // The moments from a point of the clock on (now, or the moment a cycle
    // was handed that ended early).
    void ComputeNextScheduleFrom(const ScheduleClock& clock);
    // The moments after one that was given up or handed over (or after now,
    // when it lies behind), so the same moment is never taken twice.
    void ComputeNextScheduleAfter(TDateTime moment);
    void StringGrid1DrawCell(HDC dc, int column, int row, const RECT& rect);
    void DescribeGrid();
    void SizeWeekGrid();
    void SetTick(bool on);
    void SetButtonCaption();
    void LayoutStartButton();
    // The line that tells what stands in the way of a scheduled wake.
    void CheckWakeReadiness();
    void WriteRunningState();
    void HandOver();
    void OpenCopyDialog(bool off);
    std::wstring ScheduleFile() const;
    // The controls the policy sets are disabled, with a line that says so.
    void ShowPolicyLocks();

    Links links_;
    int tag_ = 0;
    int dday = 1;
    bool tickOn_ = false;
    // The interval timercnt was last set to by the tick, while it runs.
    std::optional<std::uint32_t> countdownMs_;
    // Set while the power cycle the tick started runs.
    bool cycleBySchedule_ = false;
    // Whether the edited day came from a file that could be read: a day the
    // file could not give is not written back over it.
    bool editedDayRead_ = true;
    // What the policy sets: keys of the week over the file, and whether it
    // keeps the scheduler running (true) or stopped (false).
    WeekPolicy week_;
    std::optional<bool> runLock_;
    bool started_ = false;
    std::array<HWND, 7> dayButtons_{};
    HWND pweek = nullptr, Label22 = nullptr, CheckBox8 = nullptr, Label20 = nullptr, DateTimePicker5 = nullptr,
         PNGButton6 = nullptr, CheckBox9 = nullptr, Label21 = nullptr, DateTimePicker6 = nullptr,
         PNGButton7 = nullptr, PNGButton8 = nullptr, Panel8 = nullptr, Image10 = nullptr, wakeInfo_ = nullptr,
         policyInfo_ = nullptr;
    RECT shape2_{};  // the dotted frame around Label22, drawn by the page
    WeekGrid StringGrid1;
};

}  // namespace zelvar
