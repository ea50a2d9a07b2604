#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "ui/theme_rules.h"

using namespace zelvar::ui;

namespace {

// Windows' "High Contrast Black" and "High Contrast White", in the order of SystemColour.
const SystemColours kHighContrastBlack = {MakeRgb(0, 0, 0),    MakeRgb(255, 255, 255), MakeRgb(26, 235, 255),
                                          MakeRgb(0, 0, 0),    MakeRgb(0, 0, 0),       MakeRgb(255, 255, 255),
                                          MakeRgb(63, 242, 0), MakeRgb(255, 255, 0)};
const SystemColours kHighContrastWhite = {MakeRgb(255, 255, 255), MakeRgb(0, 0, 0),       MakeRgb(55, 0, 110),
                                          MakeRgb(255, 255, 255), MakeRgb(255, 255, 255), MakeRgb(0, 0, 0),
                                          MakeRgb(96, 0, 0),      MakeRgb(0, 0, 159)};

// What is drawn on what: each text, line or mark and the ground it lies on.
const std::pair<Role, Role> kDrawnOn[] = {
    {Role::Text, Role::Background},
    {Role::DimText, Role::Background},
    {Role::Accent, Role::Background},
    {Role::FaceText, Role::Face},
    {Role::FaceEdge, Role::Background},
    {Role::HotText, Role::Hot},
    {Role::PressedText, Role::Pressed},
    {Role::Disabled, Role::Face},
    {Role::SelectionText, Role::Selection},
    {Role::Ink, Role::Paper},
    {Role::Accent, Role::Paper},
    {Role::ListText, Role::Paper},
    {Role::Link, Role::Background},
    {Role::LinkHot, Role::Background},
    {Role::PaperLink, Role::Paper},
    {Role::PaperLinkHot, Role::Paper},
    {Role::GridHeaderText, Role::GridHeader},
    {Role::GridText, Role::GridRow},
    {Role::GridText, Role::GridStripe},
    {Role::GridLine, Role::GridRow},
    {Role::GridFrame, Role::GridRow},
    {Role::NextOffText, Role::NextOffBack},
    {Role::NextOnText, Role::NextOnBack},
    {Role::DayFrame, Role::Background},
};

}  // namespace

TEST(Palette, TheProgramsOwnColoursUnlessHighContrastThenOnlyTheSystemsWithEveryTextApartFromItsGround) {
    const Palette own = OwnPalette();
    EXPECT_EQ(own[Role::Background], MakeRgb(72, 42, 90));
    EXPECT_EQ(own[Role::Accent], MakeRgb(255, 138, 0));
    EXPECT_FALSE(own.picturesOnPlate);
    for (const SystemColours& system : {kHighContrastBlack, kHighContrastWhite}) {
        EXPECT_EQ(ChoosePalette(false, system).colours, own.colours);
        const Palette high = ChoosePalette(true, system);
        EXPECT_TRUE(high.picturesOnPlate);
        EXPECT_EQ(high.plate, own[Role::Background]);  // the ground the pictures were drawn for
        EXPECT_EQ(high[Role::Background], system[static_cast<size_t>(SystemColour::Window)]);
        for (size_t role = 0; role < kRoleCount; ++role)
            EXPECT_NE(std::find(system.begin(), system.end(), high.colours[role]), system.end())
                << "role " << role << " keeps a colour of the program's own";
        for (const auto& [ink, ground] : kDrawnOn) {
            EXPECT_NE(high[ink], high[ground])
                << "role " << static_cast<size_t>(ink) << " on " << static_cast<size_t>(ground);
            EXPECT_NE(own[ink], own[ground]) << "role " << static_cast<size_t>(ink);
        }
    }
}
