#pragma once
// The small kit the program's windows are built from: plain child controls,
// panels that hand their controls' notifications to the top-level window,
// owner-drawn image buttons, colours and fonts.
#include <windows.h>

#include <string>

namespace zelvar::ui {

inline constexpr COLORREF kDark = RGB(72, 42, 90);
inline constexpr COLORREF kDarkLight = RGB(96, 62, 118);
inline constexpr COLORREF kAccent = RGB(255, 138, 0);
inline constexpr COLORREF kText = RGB(255, 255, 255);
inline constexpr COLORREF kTextDim = RGB(214, 200, 224);

void RegisterClasses(HINSTANCE instance);

HBRUSH DarkBrush();
HBRUSH DarkLightBrush();
HBRUSH WhiteBrush();
// Whether the pointer is over an image button or a link.
bool IsHot(HWND control);
// Tahoma, character height 16 px (the program's font), and a bold variant.
HFONT MainFont();
HFONT BoldFont();

// A child control; the font is set to MainFont.
HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                 HWND parent, int id, DWORD exStyle = 0);
// A panel: a plain dark child that hands WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
// WM_MEASUREITEM and WM_CTLCOLOR* to its top-level window.
HWND CreatePanel(HWND parent, int id, int x, int y, int w, int h, bool framed = false);
HWND CreateLabel(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h, DWORD align = SS_LEFT);
// A centred label that reacts to clicks (STN_CLICKED) with the hand pointer.
HWND CreateLink(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h);
// A check box drawn without the theme so its text takes the program's colours.
HWND CreateCheckBox(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h);
// An image button: owner-drawn, caption on the button, hint as tooltip.
HWND CreateImageButton(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h);
// A picture drawn from a 32-bit premultiplied bitmap resource; clicks reach
// the top-level window as STN_CLICKED when notify is set.
HWND CreatePicture(HWND parent, int id, int bitmapId, int x, int y, int w, int h, bool notify = false);

void SetText(HWND control, const std::wstring& text);
std::wstring GetText(HWND control);
bool IsChecked(HWND box);
void SetChecked(HWND box, bool checked);
void SetVisible(HWND control, bool visible);
bool IsShown(HWND control);  // own WS_VISIBLE flag, whatever the parents
void Move(HWND control, int x, int y, int w, int h);
RECT ChildRect(HWND control);  // in the parent's client coordinates

// Tooltips ("hints") for controls of one top-level window.
class Hints {
public:
    void Attach(HWND owner);
    void Set(HWND control, const std::wstring& text);
    std::wstring Get(HWND control) const;

private:
    HWND tip_ = nullptr;
    HWND owner_ = nullptr;
};

// Draws an image button for WM_DRAWITEM.
void DrawImageButton(const DRAWITEMSTRUCT& item, bool hot);
// Draws a premultiplied 32-bit bitmap at x, y.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);
HBITMAP LoadBitmapResource(int id);

// Pumps all pending messages of this thread (dialog messages included).
void PumpMessages();

}  // namespace zelvar::ui
