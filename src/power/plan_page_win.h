#pragma once
// The one-shot plan page (Panel4, with the armed view Panel6): one off
// moment and, optionally, one wake moment; Apply arms the plan and runs the
// power cycle, Cancel drops it. The plan lives only in these controls and
// in the page's armed state; before the page is first shown there is none.
#include <functional>
#include <optional>

#include "common/datetime.h"
#include "common/locale_format.h"
#include "i18n/message_texts.h"
#include "power/power_cycle.h"
#include "power/wake_line_win.h"
#include "ui/page_win.h"

namespace zelvar {

class TCountForm;

class PlanPage : public ui::Page {
public:
    struct Links {
        PowerCycleState& cycle;
        TCountForm& countForm;
        const MessageTexts& messages;
        const LocaleFormats& formats;
        std::function<void()> runPowerCycle;  // returns when the cycle has ended
        ui::TextLookup text;                  // GetLangText, in the language chosen now
        std::function<void()> stateChanged;   // armed or back to editing (the tray follows)
    };
    explicit PlanPage(Links links) : links_(std::move(links)) {}

    void CheckBox3Click();
    void CheckBox1Click();
    // CheckBox1, Label5, Label6 and the wake pickers shown exactly while the off box is ticked.
    void UpdateWakeControls();
    // Drops a plan whose off moment (or ticked wake moment) has passed and
    // puts the pickers of unticked rows back to now.
    void RefreshOneShotPlan();
    void ShowPlanState(bool editable);
    void PNGButton2Click();  // Apply
    void PNGButton5Click();  // Cancel, also from the countdown window
    // The off moment passed while the machine slept or the program was held:
    // the plan is dropped, back to editing, and the user is told.
    void PlanMomentSkipped();

    // The off box or the wake box set by the program: their handling runs as for a click.
    void SetOffTicked(bool ticked);
    void SetWakeTicked(bool ticked);

    // What the power cycle and the scheduler read.
    bool Armed() const { return armed_; }
    // When the armed plan was applied, in real seconds.
    std::optional<double> AppliedAt() const { return armed_ ? appliedAt_ : std::nullopt; }
    TDateTime OffDate() const;
    TDateTime OffTime() const;
    TDateTime WakeDate() const;
    TDateTime WakeTime() const;
    TDateTime OffMoment() const;
    TDateTime WakeMoment() const;
    bool OffTicked() const { return ui::IsChecked(CheckBox3); }
    bool WakeTicked() const { return ui::IsChecked(CheckBox1); }
    int OffModeIndex() const;  // ComboBox2, -1 when nothing is selected

    // Its rows of the language application, in their order.
    void ApplyTexts(const ui::TextLookup& text) override;
    void ApplyOffCaption(const ui::TextLookup& text);  // CheckBox3
    void ApplyPlanTexts(const ui::TextLookup& text);   // the labels, CheckBox1, Apply, Cancel, the armed view
    void ApplyActionList(const ui::TextLookup& text);  // ComboBox2, hibernate selected
    HWND DefaultButton() const override;
    // Shown by the navigation: an unticked plan takes the present moments,
    // an armed one shows its armed view.
    void OnShowing() override;
    void OnShown() override;

    // The line under the wake moments: what keeps the wake from holding, if
    // anything (the system's settings, the wake task refused).
    void CheckWakeReadiness();

protected:
    void CreateControls() override;
    void OnMade() override;
    void Layout() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void OnMeasureItem(MEASUREITEMSTRUCT& item) override;
    COLORREF TextColor(HWND control) const override {
        return ui::ColorOf(control == wake_.Line() ? ui::Role::Accent : ui::Role::Text);
    }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void SetTicked(HWND box, bool ticked);
    // The focus left on a control that a view change hides goes to the view's button.
    void KeepFocusOnPage(HWND focusBefore, HWND fallback);
    void LayOutWakeInfo();

    Links links_;
    bool armed_ = false;
    std::optional<double> appliedAt_;
    HWND CheckBox3 = nullptr, Label3 = nullptr, DateTimePicker1 = nullptr, Label4 = nullptr, DateTimePicker2 = nullptr,
         CheckBox1 = nullptr, Label5 = nullptr, DateTimePicker3 = nullptr, Label6 = nullptr, DateTimePicker4 = nullptr,
         ComboBox2 = nullptr, PNGButton2 = nullptr, Panel6 = nullptr, Label7 = nullptr, Label8 = nullptr,
         Label9 = nullptr, Label10 = nullptr, Label11 = nullptr, Label12 = nullptr, PNGButton5 = nullptr,
         Image8 = nullptr, armedPicture_ = nullptr;
    WakeLine wake_;
};

}  // namespace zelvar
