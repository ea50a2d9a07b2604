#pragma once
// The weekly scheduler's page (p_sheduler): the day buttons, the edited day
// and the start/stop button. The schedule file, the engine, the day editor
// and the week grid attach here.
#include <array>
#include <functional>

#include "power/power_cycle.h"
#include "ui/page_win.h"

namespace zelvar {

class SchedulerPage : public ui::Page {
public:
    // The running state: the tag of PNGButton8, 1 running, 0 stopped.
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    bool Running() const { return tag_ != 0; }
    // The number of the day being edited, 1 Monday ... 7 Sunday.
    int EditedDay() const { return dday; }

    // The start-up sequence and the face that fits the running state.
    void StartUp(const ui::TextLookup& text);
    void SaveScheduleDay(int day);
    void LoadScheduleDay(int day);
    void FillWeekGrid();
    void SelectToday();
    void ShowDayEditor(bool visible);
    void ComputeNextSchedule();
    // Stops the scheduler as its Stop button does (from the countdown's cancel).
    void StopSchedulerFromCountdown();
    // After a power cycle while the scheduler runs: new moments, tick on.
    void ResumeScheduler();
    void Scheduler_TimerTimer();

    // The scheduler's moments as the power cycle takes them.
    ScheduledMoment NextOff, NextOn;
    bool CountdownBySchedule = false;

    // Its rows of the language application, in their places in the order.
    void ApplyOffCaption(const ui::TextLookup& text);     // CheckBox8
    void ApplyEditorTexts(const ui::TextLookup& text);    // CheckBox9, Label20, Label21, the copy hints
    void ApplyDayTexts(const ui::TextLookup& text);       // day button hints and captions, Label22
    void ApplyButtonTexts(const ui::TextLookup& text);    // PNGButton8 caption and hint
    void ApplySchedulerPageTexts(const ui::TextLookup& text);  // the week grid's headings

protected:
    void CreateControls() override;
    void Layout() override;
    void OnCommand(int id, int code, HWND control) override;

private:
    int tag_ = 0;
    int dday = 1;
    std::array<HWND, 7> dayButtons_{};
    HWND Label22 = nullptr, PNGButton8 = nullptr, Image10 = nullptr;
};

}  // namespace zelvar
