#pragma once
// The small kit the program's windows are built from: plain child controls,
// panels that pass their controls' notifications on to their parent, image
// buttons and links drawn by their owner, pictures, tooltips ("hints").
#include <windows.h>

#include <functional>
#include <string>

#include "ui/theme_win.h"

namespace zelvar::ui {

// A child control with the program's font.
HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int w, int h, HWND parent,
                 int id, DWORD exStyle = 0);
// A plain panel inside a page, a dialog or the title strip: it passes the
// notifications of its controls (commands, notifications, drawing, colours)
// on to its parent, so they reach the object that owns the controls, and
// fills itself with the brush its parent answers to WM_CTLCOLORSTATIC for
// it. A framed panel draws a thin accent line around itself.
HWND CreateForwardingPanel(HWND parent, int id, int x, int y, int w, int h, bool framed = false);
HWND CreateLabel(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h, DWORD align = SS_LEFT);
// A check box drawn without the theme so its text takes the program's colours.
HWND CreateCheckBox(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h);
// An image button: drawn by its owner (DrawImageButton), caption on the
// button, hint as tooltip, a hover state.
HWND CreateImageButton(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h);
// A link: a button drawn by its owner (DrawLink) as centred text that takes
// the accent colour under the pointer; it takes the focus and presses with
// Space and Enter like any button, and shows the hand pointer.
HWND CreateLink(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h);
// A picture that works as a button: it takes the focus and presses with
// Space and Enter, the hand pointer over it; its owner draws it with
// DrawPictureButton and gives it a name with SetAccessibleName.
HWND CreatePictureButton(HWND parent, int id, int pictureId, int x, int y, int w, int h);
// A picture of the program's art (its 100 % id), drawn at the density of the
// screen it is on from the theme's copy; its transparent parts show the
// brush its parent answers to WM_CTLCOLORSTATIC. With notify, a click
// reaches the parent as STN_CLICKED and the pointer is a hand.
HWND CreatePicture(HWND parent, int id, int pictureId, int x, int y, int w, int h, bool notify = false);

// The face a control's text takes: the program's font or its bold variant,
// at the density of the screen (ApplyFonts sets it anew when that changes).
// A control with a face of its own is left alone.
void MakeBold(HWND control);
void KeepOwnFont(HWND control);
// Every control below root takes its face at this density.
void ApplyFonts(HWND root, int dpi);

// Presses a button as the dialog keys do: its click reaches its parent and
// the focus stays where it is. Nothing happens for a hidden or disabled button.
void PressButton(HWND button);

// A date and time picker's value (now when it has none), and setting it.
double PickerValue(HWND picker);
void SetPickerValue(HWND picker, double value);

void SetText(HWND control, const std::wstring& text);
std::wstring GetText(HWND control);
bool IsChecked(HWND box);
void SetChecked(HWND box, bool checked);
void SetVisible(HWND control, bool visible);
bool IsShown(HWND control);  // own WS_VISIBLE flag, whatever the parents
void Move(HWND control, int x, int y, int w, int h);
RECT ChildRect(HWND control);  // in the parent's client coordinates
int Bottom(HWND control);      // bottom edge in the parent's client coordinates
// Whether the pointer is over an image button or a link.
bool IsHot(HWND control);
// Whether the focus rectangles are to be shown in this window (the user
// works it from the keyboard).
bool ShowsFocusCues(HWND control);

// Tooltips ("hints") for the controls of one top-level window.
class Hints {
public:
    Hints() = default;
    ~Hints();
    Hints(const Hints&) = delete;
    Hints& operator=(const Hints&) = delete;
    void Attach(HWND owner);
    void Set(HWND control, const std::wstring& text);
    std::wstring Get(HWND control) const;

private:
    HWND tip_ = nullptr;
    HWND owner_ = nullptr;
};

using TextLookup = std::function<std::wstring(const std::wstring& key)>;
// An image button's caption, then its hint, each looked up anew.
void SetCaptionAndHint(HWND button, Hints& hints, const TextLookup& text, const wchar_t* key);

// For WM_DRAWITEM.
// down: drawn pressed while it stays selected (a day button of the week).
// The caption is bold where it fits so, unless plain is asked for.
void DrawImageButton(const DRAWITEMSTRUCT& item, bool down = false, bool plain = false);
// The picture, a little lower and to the right while pressed, and the focus around it.
void DrawPictureButton(const DRAWITEMSTRUCT& item);
void DrawLink(const DRAWITEMSTRUCT& item, COLORREF background, COLORREF color, COLORREF hotColor, HFONT font);
// Draws a premultiplied 32-bit bitmap at x, y.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);

}  // namespace zelvar::ui
