#pragma once
// The program's look: its colours by role (theme_rules.h), the brushes and
// fonts made from them and the pictures, each made once per screen density
// and released with the theme. One theme is current while the program runs;
// the windows ask it. While Windows shows a high-contrast theme the roles
// take the system's colours; Follow makes the brushes and pictures anew
// when that, or a system colour, changes.
#include <windows.h>

#include <array>
#include <map>
#include <utility>

#include "common/handles_win.h"
#include "ui/theme_rules.h"

namespace zelvar::ui {

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

    // Takes the palette for the system as it is now: the system's colours
    // when highContrast, else the program's own. The brushes and pictures
    // made so far go; the windows are to be repainted.
    void Follow(bool highContrast);
    bool HighContrast() const { return highContrast_; }
    COLORREF Color(Role role) const { return palette_[role]; }
    HBRUSH Brush(Role role);
    // Tahoma, the program's font (13 pixels of character height at 96 dpi), and bold.
    HFONT MainFont(int dpi = kDesignDpi);
    HFONT BoldFont(int dpi = kDesignDpi);
    // Any other font: face, character height in design pixels, weight.
    HFONT Font(const wchar_t* face, int designHeight, int weight, int dpi = kDesignDpi);
    // A picture of the program's resources for a screen density; null when missing.
    HBITMAP Picture(int pictureId, int dpi = kDesignDpi);

private:
    Theme* previous_;
    bool highContrast_ = false;
    Palette palette_ = OwnPalette();
    std::array<UniqueBrush, kRoleCount> brushes_;
    std::map<std::pair<std::wstring, std::pair<int, int>>, UniqueFont> fonts_;  // face, height and weight, dpi
    std::map<std::pair<int, int>, UniqueBitmap> pictures_;                      // id, dpi
};

// The theme of the running program (a fallback one when none was made).
Theme& CurrentTheme();

// Whether Windows shows a high-contrast theme now.
bool SystemHighContrast();

// After a change of the system's colours: the common controls of every
// window of the thread are told (WM_SYSCOLORCHANGE reaches only top-level
// windows), and every window is painted anew, frames and children too.
void TellControlsOfSystemColours();
void RepaintProgramWindows();

// The colour, and a brush of it, that plays the role in the current theme.
inline COLORREF ColorOf(Role role) { return CurrentTheme().Color(role); }
inline HBRUSH BrushOf(Role role) { return CurrentTheme().Brush(role); }
inline HFONT MainFont(int dpi = kDesignDpi) { return CurrentTheme().MainFont(dpi); }
inline HFONT BoldFont(int dpi = kDesignDpi) { return CurrentTheme().BoldFont(dpi); }

}  // namespace zelvar::ui
