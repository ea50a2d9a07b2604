#pragma once
// A page of the main window: one content panel with the controls on it. The
// page owns its controls, their texts, their messages (commands,
// notifications, colours, drawing reach it from its own panel's window
// procedure) and its state as plain fields. Nobody else reads its controls.
#include <windows.h>

#include "ui/controls_win.h"
#include "ui/window_win.h"

namespace zelvar::ui {

class Page : public Window {
public:
    // Makes the hidden panel on the main window and the page's controls on it.
    bool Create(HWND mainWindow, int panelId, Hints& hints);
    HWND Panel() const { return hwnd_; }
    void Show(bool visible) { SetVisible(hwnd_, visible); }
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

protected:
    virtual void CreateControls() = 0;
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
    virtual COLORREF TextColor(HWND /*control*/) const { return kText; }
    HBRUSH Background() const override { return DarkBrush(); }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    Hints* hints_ = nullptr;
    int dpi_ = kDesignDpi;
    // Set once the shell has placed the page: a text that changes the layout
    // lays it out anew only from then on (the first layout follows anyway).
    bool placed_ = false;
    // Design pixels on this page's screen.
    int S(int designPixels) const { return Scale{dpi_}(designPixels); }
    int Width() const;
    int Height() const;
};

}  // namespace zelvar::ui
