#pragma once
// Tfsheddays: the modal dialog that copies one time of the day editor to
// several weekdays. The opener sets the direction and the time; apply writes
// the time, ticked, for each weekday ticked here. The weekday boxes keep their
// ticks from one use to the next within a run.
#include <functional>
#include <string>

#include "ui/controls_win.h"
#include "ui/secondary_window_win.h"

namespace zelvar {

class Tfsheddays : public ui::SecondaryWindow {
public:
    using LangLookup = std::function<std::wstring(const std::wstring& key)>;
    bool Create(HWND owner, LangLookup lookup);

    // What the opener fills in: the direction ("off" or "on") in onofflabel,
    // the heading, the time shown and the time text written.
    void Prepare(const std::wstring& direction, const std::wstring& heading, const std::wstring& timeText);
    // Shows the dialog over window, with window disabled until it closes; the
    // program's timers and other windows go on meanwhile.
    void ShowModal(HWND window);

    void PNGButton3Click();  // apply
    void Image1Click();      // close without writing
    bool OnEscape() override;
    bool OnEnter(HWND focus) override;

protected:
    void OnCreated() override;
    void OnDpiChanged() override { FitToTitle(ui::GetText(Label2)); }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    HWND FirstFocus() const override { return CheckBox[0]; }

private:
    void FormActivate();
    void FitToTitle(const std::wstring& caption);
    void EndModal();

    LangLookup lookup_;
    ui::Hints hints_;
    std::wstring onofflabel, TimeLabel;  // the direction and the time text, as the opener set them
    bool modal_ = false;
    HWND Panel1 = nullptr, Label2 = nullptr, Label4 = nullptr, Label1 = nullptr, PNGButton3 = nullptr,
         systbut = nullptr, Image1 = nullptr, Image5 = nullptr, Image7 = nullptr;
    HWND CheckBox[7] = {};
};

}  // namespace zelvar
