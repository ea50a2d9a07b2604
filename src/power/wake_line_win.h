#pragma once
// The line that names what stands in the way of a timer wake, and the button
// beside it that removes the cause where the program can. The plan page and
// the scheduler page each own one: the page lays the two out and passes on
// the button's click and the end of the fix.
#include <windows.h>

#include "power/wake_readiness.h"
#include "ui/controls_win.h"

namespace zelvar {

class WakeLine {
public:
    // Both hidden; the button is made after the line, so Tab reaches it
    // after the controls made before. When the button hides with the focus,
    // focusFallback takes it.
    void Create(HWND parent, int lineId, int buttonId, HWND focusFallback);
    HWND Line() const { return line_; }
    HWND Button() const { return button_; }
    bool Shown() const { return ui::IsShown(line_); }
    bool ButtonShown() const { return ui::IsShown(button_); }
    // The button's width for its caption in the bold face at dpi, with room
    // around it; at least minWidth.
    int ButtonWidth(int dpi, int minWidth) const;

    // With a wake ahead, probes the machine and shows the line, and the
    // button when the program can remove the cause; else hides both.
    // Returns the problem shown.
    WakeProblem Check(bool wakeAhead, const ui::TextLookup& text, ui::Hints& hints);
    // What shows, in text's language, without probing again.
    void ApplyTexts(const ui::TextLookup& text, ui::Hints& hints);

    // The button: the fix for what the line names starts on a worker;
    // kWakeFixDoneMessage reaches receiver at its end. Nothing while one runs.
    void StartFix(HWND receiver);
    // kWakeFixDoneMessage: probes again and shows the line as it is now; a
    // fix that was declined, refused or did not take is told in a message
    // box over the main window.
    void FixDone(WPARAM wp, LPARAM lp, bool wakeAhead, const ui::TextLookup& text, ui::Hints& hints);

private:
    HWND line_ = nullptr, button_ = nullptr, focusFallback_ = nullptr;
    WakeProblem problem_ = WakeProblem::None;
    WakeProblem fixFor_ = WakeProblem::None;
    WakeFix fix_;
    bool fixing_ = false;
};

}  // namespace zelvar
