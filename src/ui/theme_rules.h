#pragma once
// The program's colours by the role they play, and which colours fill the
// roles: the program's own look, or, while Windows shows a high-contrast
// theme, the system's colours, so text, frames and selection keep the
// contrast the user chose. Plain values; theme_win.h reads the system's
// colours and makes the brushes.
#include <array>
#include <cstddef>
#include <cstdint>

namespace zelvar::ui {

// A colour as COLORREF holds it: 0x00bbggrr.
using Rgb = std::uint32_t;
constexpr Rgb MakeRgb(int r, int g, int b) {
    return static_cast<Rgb>(r & 0xFF) | static_cast<Rgb>(g & 0xFF) << 8 | static_cast<Rgb>(b & 0xFF) << 16;
}

enum class Role : std::size_t {
    Background,  // windows, pages, the tree, the title strip
    Text,        // text on the background
    DimText,     // the tree's nodes that are not selected
    Accent,      // frames, lines, the wake lines and the version line
    Face,        // an image button's face
    FaceText,    // its caption
    FaceEdge,    // its edge
    Hot,         // the face under the pointer
    HotText,
    Pressed,  // the face pressed, or a day button held down
    PressedText,
    Disabled,  // the caption and glyphs of a disabled control
    DisabledEdge,
    Selection,  // the selected node of the tree, the chosen list item
    SelectionText,
    Paper,      // the white panels: copy dialog, about window, lists
    Ink,        // text and frames on paper
    ListText,   // the items of the power-action list
    Link,       // a link on the background
    LinkHot,    // under the pointer
    PaperLink,  // a link on paper
    PaperLinkHot,
    GridHeader,  // the week grid's header row and fixed columns
    GridHeaderText,
    GridRow,  // its odd and even data rows
    GridStripe,
    GridText,
    GridLine,  // the lines between its columns
    GridFrame,
    NextOffBack,  // the cell of the next power-down
    NextOffText,
    NextOnBack,  // the cell of the next wake
    NextOnText,
    DayFrame,  // the dotted frame around the edited day's name
    Count
};
inline constexpr std::size_t kRoleCount = static_cast<std::size_t>(Role::Count);

// The system colours a high-contrast theme gives (GetSysColor's COLOR_*).
enum class SystemColour : std::size_t {
    Window,
    WindowText,
    Highlight,
    HighlightText,
    ButtonFace,
    ButtonText,
    GrayText,
    HotLight,
    Count
};
using SystemColours = std::array<Rgb, static_cast<std::size_t>(SystemColour::Count)>;

struct Palette {
    std::array<Rgb, kRoleCount> colours{};
    // The pictures were drawn for the program's dark background: in high
    // contrast each is drawn on a plate of that colour, so it shows on
    // whatever background the system gives.
    bool picturesOnPlate = false;
    Rgb plate = 0;
    Rgb operator[](Role role) const { return colours[static_cast<std::size_t>(role)]; }
};

// The program's own colours.
Palette OwnPalette();
// The palette to draw with: the system's colours while high contrast is on,
// else the program's own.
Palette ChoosePalette(bool highContrast, const SystemColours& system);

}  // namespace zelvar::ui
