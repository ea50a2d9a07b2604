#pragma once
// The options page (Panel1): the option boxes. Ticking a box saves the
// settings at once (start with Windows writes the run value instead; restart
// after wake waits for the next save).
#include <functional>

#include "app/policy.h"
#include "app/settings.h"
#include "ui/page_win.h"

namespace zelvar {

class OptionsPage : public ui::Page {
public:
    explicit OptionsPage(std::function<void()> saveSettings) : saveSettings_(std::move(saveSettings)) {}

    // The boxes from the file, without their handling; with registerAutoStart
    // a ticked start-with-Windows box writes the run value again, so a moved
    // program registers its new path.
    void LoadOptions(const Settings& s, bool registerAutoStart);
    // The boxes' state into the settings to save.
    void StoreOptions(Settings& s) const;
    // The first start ticks start-with-Windows and start-hidden, with their
    // handling (a start-with-Windows box the policy sets stays as it is).
    void TickFirstStartOptions();
    // The boxes from shown (the user's own values with the policy's over
    // them); a box the policy sets cannot be changed, and a line says the
    // organisation manages it. With registerAutoStart the run value follows
    // a start-with-Windows box this changes.
    void ApplyPolicy(const Settings& shown, const OptionLocks& locks, bool registerAutoStart);

    bool StartWithWindows() const { return ui::IsChecked(CheckBox2); }
    bool StartHidden() const { return ui::IsChecked(CheckBox4); }
    bool CloseOpenPrograms() const { return ui::IsChecked(CheckBox5); }
    bool StartSound() const { return ui::IsChecked(CheckBox6); }
    bool CheckForUpdates() const { return ui::IsChecked(CheckBox7); }
    bool RestartAfterWake() const { return ui::IsChecked(CheckBox10); }

    void CheckBox2Click();
    void CheckBox4Click();
    void CheckBox5Click();
    void CheckBox6Click();
    void CheckBox7Click();

    // Its rows of the language application: the four boxes with their own
    // captions, Label19, Label24.
    void ApplyTexts(const ui::TextLookup& text) override;

protected:
    void CreateControls() override;
    void Layout() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    std::function<void()> saveSettings_;
    HWND CheckBox2 = nullptr, CheckBox4 = nullptr, CheckBox5 = nullptr, CheckBox6 = nullptr, CheckBox7 = nullptr,
         CheckBox10 = nullptr, Label19 = nullptr, Label24 = nullptr, Image6 = nullptr, policyInfo_ = nullptr;
};

}  // namespace zelvar
