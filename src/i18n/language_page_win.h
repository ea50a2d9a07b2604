#pragma once
// The language page (Panel2): the language list and its Apply button. The
// list's selection is the chosen language: every lookup reads it (before the
// page is first shown, the selection it will show).
#include <functional>

#include "ui/page_win.h"

namespace zelvar {

class LanguagePage : public ui::Page {
public:
    explicit LanguagePage(std::function<void()> applyLanguage) : applyLanguage_(std::move(applyLanguage)) {}

    // The selected index of the list, -1 when none is selected.
    int SelectedLanguage() const;
    // Selects the index; an index outside the list selects Russian.
    void SelectLanguage(int index);
    void PNGButton3Click();
    // Its rows of the language application.
    void ApplyTexts(const ui::TextLookup& text) override;  // Label2, then PNGButton3
    HWND DefaultButton() const override { return PNGButton3; }

protected:
    void CreateControls() override;
    void OnMade() override;
    void Layout() override;
    void OnCommand(int id, int code, HWND control) override;

private:
    std::function<void()> applyLanguage_;
    int selected_ = -1;  // the selection until the list is made
    HWND Label2 = nullptr, ComboBox1 = nullptr, PNGButton3 = nullptr, Image7 = nullptr;
};

}  // namespace zelvar
