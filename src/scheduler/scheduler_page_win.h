#pragma once
// The weekly scheduler's page (p_sheduler): the view of its engine. While
// the scheduler is stopped the page shows the day editor: the seven day
// buttons, the edited day in its dotted frame, the off and wake ticks with
// their times and copy buttons. While it runs, the editor gives way to the
// week grid with the engine's next off and wake cells marked. The schedule
// lives in scheduler.ini alone; the engine runs whether or not the page's
// controls have been made.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "common/locale_format.h"
#include "i18n/message_texts.h"
#include "power/wake_line_win.h"
#include "scheduler/scheduler_engine_win.h"
#include "scheduler/week_grid_win.h"
#include "ui/page_win.h"

namespace zelvar {

class Tfsheddays;

class SchedulerPage : public ui::Page, private SchedulerView {
public:
    struct Links {
        Tfsheddays& copyDialog;
        const MessageTexts& messages;
        const LocaleFormats& formats;
        ui::TextLookup text;  // GetLangText, in the language chosen now
    };
    SchedulerPage(SchedulerEngine& engine, Links links);
    ~SchedulerPage() { engine_.SetView(nullptr); }

    // The number of the day being edited (dday), 1 Monday ... 7 Sunday.
    int EditedDay() const { return dday; }

    // The engine's state on the page, once its controls are made: the
    // running face (the grid with its marks, Stop) or the stopped one (the
    // editor on today's day from the file, Start), the policy's and the
    // wake's lines. Nothing while the controls are not made.
    void ShowEngineState();
    // The day editor and the grid; each does nothing while the controls are
    // not made.
    void LoadScheduleDay(int day);
    void SaveScheduleDay(int day);
    void SelectScheduleDay(int day);
    void SelectToday();
    void ShowDayEditor(bool visible);
    // The week from the file, with its headings and days in text's language.
    void FillWeekGrid(const ui::TextLookup& text);
    void PNGButton8Click();  // start / stop, by the engine
    void PNGButton6Click();  // copy the off time to other days
    void PNGButton7Click();  // copy the wake time to other days

    // Its rows of the language application, in their order.
    void ApplyTexts(const ui::TextLookup& text) override;
    void ApplyOffCaption(const ui::TextLookup& text);          // CheckBox8
    void ApplyEditorTexts(const ui::TextLookup& text);         // CheckBox9, Label20, Label21, the copy hints
    void ApplyDayTexts(const ui::TextLookup& text);            // day button hints and captions, Label22
    void ApplyButtonTexts(const ui::TextLookup& text);         // PNGButton8 caption and hint
    void ApplySchedulerPageTexts(const ui::TextLookup& text);  // the week grid's headings and days
    // The edited day is saved to scheduler.ini.
    void CommitEdits() override { SaveScheduleDay(dday); }

    // The line under the wake moments: what keeps the wake from holding, if
    // anything (the system's settings, the wake task refused).
    void CheckWakeReadiness();

protected:
    void CreateControls() override;
    void OnMade() override { ShowEngineState(); }
    // The cause may have gone meanwhile (fixed from the plan page, or outside).
    void OnShowing() override {
        if (wake_.Shown()) CheckWakeReadiness();
    }
    void Layout() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    COLORREF TextColor(HWND control) const override {
        return ui::ColorOf(control == wake_.Line() ? ui::Role::Accent : ui::Role::Text);
    }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void SaveEditedDay() override;
    void EngineChanged(SchedulerChange change) override;
    // The editor or the grid as the engine runs, the button's caption, the
    // policy's and the wake's lines.
    void ShowFace(const ui::TextLookup& text);
    void StringGrid1DrawCell(HDC dc, int column, int row, const RECT& rect);
    GridCellMark MarkOf(int column, int row, TDateTime now) const;
    void DescribeGrid();
    void SizeWeekGrid();
    void SetButtonCaption(const ui::TextLookup& text);
    void LayoutStartButton();
    bool WakeAhead() const { return engine_.Running() && engine_.NextOn.Has; }
    void OpenCopyDialog(bool off);
    // The controls the policy sets are disabled, with a line that says so.
    void ShowPolicyLocks();

    SchedulerEngine& engine_;
    Links links_;
    int dday = 1;
    // Whether the edited day came from a file that could be read: a day the
    // file could not give is not written back over it.
    bool editedDayRead_ = true;
    std::array<HWND, 7> dayButtons_{};
    HWND pweek = nullptr, Label22 = nullptr, CheckBox8 = nullptr, Label20 = nullptr, DateTimePicker5 = nullptr,
         PNGButton6 = nullptr, CheckBox9 = nullptr, Label21 = nullptr, DateTimePicker6 = nullptr, PNGButton7 = nullptr,
         PNGButton8 = nullptr, Panel8 = nullptr, Image10 = nullptr, policyInfo_ = nullptr;
    WakeLine wake_;
    RECT shape2_{};  // the dotted frame around Label22, drawn by the page
    WeekGrid StringGrid1;
};

}  // namespace zelvar
