#pragma once
// The about page (Panel7): the picture, the version line, the links to the
// web site, the mail address, the change history and the night log.
#include <functional>
#include <string>

#include "ui/page_win.h"

namespace zelvar {

class AboutPage : public ui::Page {
public:
    // showChangeHistory runs behind the history link.
    explicit AboutPage(std::function<void()> showChangeHistory) : showChangeHistory_(std::move(showChangeHistory)) {}
    void SetVersionLine(const std::wstring& text) {
        versionLine_ = text;
        ui::SetText(Label15, text);  // nothing while the page is not made
    }
    // Its row of the language application: the history and log links.
    void ApplyTexts(const ui::TextLookup& text) override;

protected:
    void CreateControls() override;
    void OnMade() override { ui::SetText(Label15, versionLine_); }
    void Layout() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    std::function<void()> showChangeHistory_;
    HWND Image4 = nullptr, Label15 = nullptr, Label13 = nullptr, Label16 = nullptr, Label23 = nullptr;
    HWND LogLink = nullptr;
    std::wstring versionLine_;
};

// What the log link opens for the night log at logPath: the log itself;
// before the first cycle, an empty log made there for it, so the editor
// opens on an empty log rather than nothing happening; when none can be
// made, the folder that would hold it.
std::wstring CycleLogToOpen(const std::wstring& logPath);

// Opens the night log beside the exe with the shell (verb "open"); when no
// program is registered for it, with Notepad.
void OpenCycleLog(HWND owner);

}  // namespace zelvar
