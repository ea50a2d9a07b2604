#pragma once
// The about page (Panel7): the picture, the version line, the links to the
// web site, the mail address and the change history.
#include <functional>

#include "ui/page_win.h"

namespace zelvar {

class AboutPage : public ui::Page {
public:
    // showChangeHistory runs behind the history link.
    explicit AboutPage(std::function<void()> showChangeHistory) : showChangeHistory_(std::move(showChangeHistory)) {}
    void SetVersionLine(const std::wstring& text) { ui::SetText(Label15, text); }
    // Its row of the language application: the history link.
    void ApplyTexts(const ui::TextLookup& text);

protected:
    void CreateControls() override;
    void Layout() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    std::function<void()> showChangeHistory_;
    HWND Image4 = nullptr, Label15 = nullptr, Label13 = nullptr, Label16 = nullptr, Label23 = nullptr;
};

}  // namespace zelvar
