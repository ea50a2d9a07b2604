#include "ui/theme_rules.h"

namespace zelvar::ui {
namespace {

using S = SystemColour;

struct Entry {
    Role role;
    Rgb own;
    SystemColour system;  // what takes the role in high contrast
};

constexpr Rgb kDark = MakeRgb(72, 42, 90);
constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kOrange = MakeRgb(255, 138, 0);
constexpr Rgb kGridText = MakeRgb(0x6D, 0x01, 0xA5);
constexpr Rgb kMarkOrange = MakeRgb(0xFF, 0x74, 0x1F);

// One line per role, in the order of Role. In high contrast, text keeps to
// the system's pairs (window and its text, highlight and its text, button
// face and its text), frames and lines take the text colour, links the
// link colour; the week grid marks the next power-down as a selection and
// the next wake inverted.
constexpr std::array<Entry, kRoleCount> kRoles = {{
    {Role::Background, kDark, S::Window},
    {Role::Text, kWhite, S::WindowText},
    {Role::DimText, MakeRgb(214, 200, 224), S::WindowText},
    {Role::Accent, kOrange, S::WindowText},
    {Role::Face, MakeRgb(96, 62, 118), S::ButtonFace},
    {Role::FaceText, kWhite, S::ButtonText},
    {Role::FaceEdge, kOrange, S::ButtonText},
    {Role::Hot, MakeRgb(118, 80, 142), S::Highlight},
    {Role::HotText, kWhite, S::HighlightText},
    {Role::Pressed, MakeRgb(200, 104, 0), S::Highlight},
    {Role::PressedText, kWhite, S::HighlightText},
    {Role::Disabled, MakeRgb(160, 150, 170), S::GrayText},
    {Role::DisabledEdge, MakeRgb(130, 110, 140), S::GrayText},
    {Role::Selection, kOrange, S::Highlight},
    {Role::SelectionText, kWhite, S::HighlightText},
    {Role::Paper, kWhite, S::Window},
    {Role::Ink, kDark, S::WindowText},
    {Role::ListText, MakeRgb(40, 24, 52), S::WindowText},
    {Role::Link, kOrange, S::HotLight},
    {Role::LinkHot, kWhite, S::Highlight},
    {Role::PaperLink, kDark, S::HotLight},
    {Role::PaperLinkHot, kOrange, S::Highlight},
    {Role::GridHeader, kDark, S::ButtonFace},
    {Role::GridHeaderText, kWhite, S::ButtonText},
    {Role::GridRow, kWhite, S::Window},
    {Role::GridStripe, MakeRgb(0xE0, 0xD0, 0xEA), S::Window},
    {Role::GridText, kGridText, S::WindowText},
    {Role::GridLine, MakeRgb(0xC8, 0xB8, 0xD4), S::WindowText},
    {Role::GridFrame, kDark, S::WindowText},
    {Role::NextOffBack, kDark, S::Highlight},
    {Role::NextOffText, kMarkOrange, S::HighlightText},
    {Role::NextOnBack, kMarkOrange, S::WindowText},
    {Role::NextOnText, kGridText, S::Window},
    {Role::DayFrame, MakeRgb(0xEE, 0x7C, 0x00), S::WindowText},
}};

constexpr bool InRoleOrder() {
    for (std::size_t i = 0; i < kRoles.size(); ++i)
        if (static_cast<std::size_t>(kRoles[i].role) != i) return false;
    return true;
}
static_assert(InRoleOrder(), "one line per role, in the order of Role");

}  // namespace

Palette OwnPalette() {
    Palette p;
    for (std::size_t i = 0; i < kRoleCount; ++i) p.colours[i] = kRoles[i].own;
    return p;
}

Palette ChoosePalette(bool highContrast, const SystemColours& system) {
    if (!highContrast) return OwnPalette();
    Palette p;
    for (std::size_t i = 0; i < kRoleCount; ++i) p.colours[i] = system[static_cast<std::size_t>(kRoles[i].system)];
    p.picturesOnPlate = true;
    p.plate = kDark;
    return p;
}

}  // namespace zelvar::ui
