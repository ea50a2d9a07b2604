#pragma once
// A page of the main window: one content panel with the controls on it. The
// page owns its controls, their texts, their messages (commands,
// notifications, colours, drawing reach it from its own panel's window
// procedure) and its state as plain fields. Nobody else reads its controls.
//
// The panel is made with the main window; its controls, their texts and
// pictures only when the page is first shown. Until then the page answers
// from its fields (or its owner's); the language last applied is kept in
// the shell's AppliedTexts.
#include <windows.h>

#include <string>

#include "ui/controls_win.h"
#include "ui/window_win.h"

namespace zelvar::ui {

// The lookup of the language last applied; empty before the first
// application. Pages made later take their texts from it, so a page shows
// the language applied, not one merely chosen in the list since.
class AppliedTexts {
public:
    void Take(TextLookup lookup) { lookup_ = std::move(lookup); }
    bool Empty() const { return !lookup_; }
    const TextLookup& Lookup() const { return lookup_; }

private:
    TextLookup lookup_;
};

class Page : public Window {
public:
    // Makes the hidden, empty panel on the main window.
    bool Create(HWND mainWindow, int panelId, Hints& hints, const AppliedTexts& texts);
    HWND Panel() const { return hwnd_; }
    // Makes the controls once: laid out where the page was placed, with the
    // texts last applied, then OnMade shows the page's state on them.
    void Make();
    bool Made() const { return made_; }
    // A page is made before it first shows.
    void Show(bool visible) {
        if (visible) Make();
        SetVisible(hwnd_, visible);
    }
    bool Shown() const { return IsShown(hwnd_); }
    // Places the page at rect (in the main window) and lays out its
    // controls for the screen density dpi.
    void Place(const RECT& rect, int dpi);
    // The button Enter presses from another control of the page, if any.
    virtual HWND DefaultButton() const { return nullptr; }

    // What the shell asks of every page alike, so it holds no page's own
    // steps. The navigation shows a page: OnShowing just before it appears,
    // OnShown right after.
    virtual void OnShowing() {}
    virtual void OnShown() {}
    // The edits on the page are kept: the user leaves the page, hides the
    // window or closes the program.
    virtual void CommitEdits() {}
    // The page's rows of the language application, in their order: called
    // for a made page when the language is applied, and when the page is
    // made with the texts applied last.
    virtual void ApplyTexts(const TextLookup& /*text*/) {}
    // The language was applied: for a made page its rows; a page not made
    // yet takes them when it is.
    void TakeTexts(const TextLookup& text) {
        if (made_) ApplyTexts(text);
    }

protected:
    virtual void CreateControls() = 0;
    // The controls are made and carry their texts: they show the page's state.
    virtual void OnMade() {}
    // Lays the controls out for the page's size; called by Place.
    virtual void Layout() {}
    // Messages of the page's controls. A command is a click or a change
    // notification (code) of the control with that id.
    virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
    virtual LRESULT OnNotify(NMHDR* /*hdr*/) { return 0; }
    // Image buttons are drawn by the kit; a page draws its other owner-drawn
    // controls here and returns true.
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    virtual void OnMeasureItem(MEASUREITEMSTRUCT& /*item*/) {}
    // Text colour of a static control or a check box; the background is the page's.
    virtual COLORREF TextColor(HWND /*control*/) const { return ColorOf(Role::Text); }
    HBRUSH Background() const override { return BrushOf(Role::Background); }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    Hints* hints_ = nullptr;
    int dpi_ = kDesignDpi;
    // Set once the shell has placed the page: a text that changes the layout
    // lays it out anew only from then on (the first layout follows anyway).
    bool placed_ = false;
    bool made_ = false;
    const AppliedTexts* texts_ = nullptr;
    // Design pixels on this page's screen.
    int S(int designPixels) const { return Scale{dpi_}(designPixels); }
    int Width() const;
    int Height() const;
};

}  // namespace zelvar::ui
