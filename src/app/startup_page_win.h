#pragma once
// The start-up programs page (Panel5): the list of programs to start, with
// Add and Remove. Every change is saved at once.
#include <functional>
#include <string>
#include <vector>

#include "i18n/message_texts.h"
#include "ui/page_win.h"

namespace zelvar {

class StartupPage : public ui::Page {
public:
    StartupPage(const MessageTexts& messages, std::function<void()> saveSettings)
        : messages_(messages), saveSettings_(std::move(saveSettings)) {}

    std::vector<std::wstring> ListBoxEntries() const;
    // Fills the list; selected -1 selects nothing. The remove button shows
    // exactly while the list has entries.
    void SetListBoxEntries(const std::vector<std::wstring>& entries, int selected);
    void PNGButton1Click();  // Add
    void PNGButton4Click();  // Remove
    // Its rows of the language application.
    void ApplyTexts(const ui::TextLookup& text) override;  // Label1, Add, Remove

protected:
    void CreateControls() override;
    void OnMade() override;
    void Layout() override;
    void OnCommand(int id, int code, HWND control) override;

private:
    void FitScrollRange();
    const MessageTexts& messages_;
    std::function<void()> saveSettings_;
    // The programs, as the list shows them once it is made.
    std::vector<std::wstring> entries_;
    int selected_ = -1;
    HWND Label1 = nullptr, ListBox1 = nullptr, PNGButton1 = nullptr, PNGButton4 = nullptr, Image9 = nullptr;
};

}  // namespace zelvar
