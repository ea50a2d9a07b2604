#pragma once
// The program's look: its colours, the brushes and fonts made from them and
// the pictures, each made once per screen density and released with the
// theme. One theme is current while the program runs; the windows ask it.
#include <windows.h>

#include <map>
#include <utility>

#include "common/handles_win.h"

namespace zelvar::ui {

inline constexpr COLORREF kDark = RGB(72, 42, 90);
inline constexpr COLORREF kDarkLight = RGB(96, 62, 118);
inline constexpr COLORREF kAccent = RGB(255, 138, 0);
inline constexpr COLORREF kText = RGB(255, 255, 255);
inline constexpr COLORREF kTextDim = RGB(214, 200, 224);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);

inline constexpr int kDesignDpi = 96;

// A length of the design (at 96 dots per inch) on a screen of another density.
struct Scale {
    int dpi = kDesignDpi;
    int operator()(int designPixels) const { return MulDiv(designPixels, dpi, kDesignDpi); }
};

// The density of the screen a window is on (96 where the system cannot tell).
int DpiOf(HWND window);

class Theme {
public:
    // The new theme becomes the current one until it is destroyed.
    Theme();
    ~Theme();
    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;

    HBRUSH DarkBrush();
    HBRUSH DarkLightBrush();
    HBRUSH WhiteBrush();
    HBRUSH AccentBrush();
    // Tahoma, the program's font (13 pixels of character height at 96 dpi), and bold.
    HFONT MainFont(int dpi = kDesignDpi);
    HFONT BoldFont(int dpi = kDesignDpi);
    // Any other font: face, character height in design pixels, weight.
    HFONT Font(const wchar_t* face, int designHeight, int weight, int dpi = kDesignDpi);
    // A picture of the program's resources for a screen density; null when missing.
    HBITMAP Picture(int pictureId, int dpi = kDesignDpi);

private:
    Theme* previous_;
    UniqueBrush dark_, darkLight_, white_, accent_;
    std::map<std::pair<std::wstring, std::pair<int, int>>, UniqueFont> fonts_;  // face, height and weight, dpi
    std::map<std::pair<int, int>, UniqueBitmap> pictures_;                       // id, dpi
};

// The theme of the running program (a fallback one when none was made).
Theme& CurrentTheme();

inline HBRUSH DarkBrush() { return CurrentTheme().DarkBrush(); }
inline HBRUSH DarkLightBrush() { return CurrentTheme().DarkLightBrush(); }
inline HBRUSH WhiteBrush() { return CurrentTheme().WhiteBrush(); }
inline HFONT MainFont(int dpi = kDesignDpi) { return CurrentTheme().MainFont(dpi); }
inline HFONT BoldFont(int dpi = kDesignDpi) { return CurrentTheme().BoldFont(dpi); }

}  // namespace zelvar::ui
