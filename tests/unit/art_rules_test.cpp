#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "ui/art_rules.h"

using namespace zelvar;

namespace {

std::vector<std::uint8_t> Filled(int w, int h, std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a) {
    std::vector<std::uint8_t> px;
    for (int i = 0; i < w * h; ++i) px.insert(px.end(), {b, g, r, a});
    return px;
}

}  // namespace

TEST(ArtScale, ScreensTakeTheNextLargerArtAndDrawAtTheirOwnSize) {
    struct Case {
        int dpi, scaleIndex, logo;  // logo: the 20 px title strip logo drawn at that dpi
    };
    for (const Case& c : {Case{96, 0, 20}, Case{120, 1, 25}, Case{144, 1, 30}, Case{168, 2, 35}, Case{192, 2, 40},
                          Case{240, 2, 50}, Case{288, 2, 60}, Case{72, 0, 15}, Case{97, 1, 20}, Case{145, 2, 30}}) {
        EXPECT_EQ(ArtScaleIndexForDpi(c.dpi), c.scaleIndex) << c.dpi;
        EXPECT_EQ(ArtDrawLength(20, c.dpi), c.logo) << c.dpi;
    }
    // An unknown dpi is the plain 96.
    EXPECT_EQ(ArtScaleIndexForDpi(0), 0);
    EXPECT_EQ(ArtScaleIndexForDpi(-120), 0);
    EXPECT_EQ(ArtDrawSize({64, 64}, 0), (ArtSize{64, 64}));
    // Halves round away from zero, as MulDiv does: 18 * 120 / 96 = 22.5.
    EXPECT_EQ(ArtDrawSize({20, 18}, 120), (ArtSize{25, 23}));
    EXPECT_EQ(ArtDrawSize({128, 96}, 168), (ArtSize{224, 168}));
    EXPECT_EQ(ArtResourceId(305, 0), 305);
    EXPECT_EQ(ArtResourceId(305, 2), 505);
}

TEST(ArtResample, SameSizeIsACopyAndBadSizesGiveNothing) {
    std::vector<std::uint8_t> px = Filled(3, 2, 1, 2, 3, 4);
    px[5] = 77;
    EXPECT_EQ(ResamplePremultiplied(px, 3, 2, 3, 2), px);
    EXPECT_TRUE(ResamplePremultiplied(px, 3, 2, 0, 2).empty());
    EXPECT_TRUE(ResamplePremultiplied(px, 3, 2, 2, -1).empty());
    EXPECT_TRUE(ResamplePremultiplied(px, 4, 2, 2, 2).empty());  // buffer shorter than 4 x 2
    EXPECT_TRUE(ResamplePremultiplied({}, 0, 0, 2, 2).empty());
}

TEST(ArtResample, FlatAreasStayFlatWhetherReducedOrEnlarged) {
    const auto px = Filled(24, 24, 40, 80, 120, 200);
    for (auto [w, h] : {std::pair{20, 20}, std::pair{16, 16}, std::pair{30, 27}, std::pair{1, 1}, std::pair{48, 7}}) {
        const auto out = ResamplePremultiplied(px, 24, 24, w, h);
        ASSERT_EQ(out.size(), static_cast<size_t>(w * h * 4));
        EXPECT_EQ(out, Filled(w, h, 40, 80, 120, 200)) << w << "x" << h;
    }
}

TEST(ArtResample, ReductionAveragesAndKeepsEdgesSoft) {
    // Left half opaque white, right half transparent; halved, the middle
    // column blends, the outer ones keep their values.
    std::vector<std::uint8_t> px;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            px.insert(px.end(), x < 4 ? std::initializer_list<std::uint8_t>{255, 255, 255, 255}
                                      : std::initializer_list<std::uint8_t>{0, 0, 0, 0});
    const auto out = ResamplePremultiplied(px, 8, 4, 4, 2);
    ASSERT_EQ(out.size(), 4u * 2 * 4);
    EXPECT_EQ(out[3], 255);          // x 0: inside the white
    EXPECT_EQ(out[3 * 4 + 3], 0);    // x 3: inside the transparency
    EXPECT_GT(out[1 * 4 + 3], 128);  // x 1: mostly white
    EXPECT_LT(out[2 * 4 + 3], 128);  // x 2: mostly clear
    EXPECT_GT(out[2 * 4 + 3], 0);
}

TEST(ArtResample, PremultipliedPixelsStayPremultiplied) {
    std::mt19937 rng(7);
    std::vector<std::uint8_t> px(30 * 30 * 4);
    for (size_t i = 0; i < px.size(); i += 4) {
        const std::uint8_t a = static_cast<std::uint8_t>(rng() % 256);
        px[i + 3] = a;
        for (int c = 0; c < 3; ++c) px[i + c] = static_cast<std::uint8_t>(a ? rng() % (a + 1u) : 0);
    }
    for (int size : {25, 20, 17, 45, 60}) {
        const auto out = ResamplePremultiplied(px, 30, 30, size, size);
        ASSERT_EQ(out.size(), static_cast<size_t>(size * size * 4));
        for (size_t i = 0; i < out.size(); i += 4)
            for (int c = 0; c < 3; ++c) ASSERT_LE(out[i + c], out[i + 3]) << size << " at " << i / 4;
    }
}

TEST(ArtPng, SizeComesFromTheHeaderOfARealPngOnly) {
    // The start of a 20 x 18 RGBA PNG as the build renders it.
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0,  0, 0, 13, 'I', 'H', 'D',
                                     'R',  0,   0,   0,   20,   0,    0,    0,    18, 8, 6, 0,  0,   0};
    EXPECT_EQ(PngImageSize(png.data(), png.size()), (ArtSize{20, 18}));
    EXPECT_EQ(PngImageSize(png.data(), 23), std::nullopt);  // cut off
    EXPECT_EQ(PngImageSize(nullptr, 100), std::nullopt);
    auto bad = png;
    bad[1] = 'Q';
    EXPECT_EQ(PngImageSize(bad.data(), bad.size()), std::nullopt);
    bad = png;
    bad[12] = 'X';  // another chunk first
    EXPECT_EQ(PngImageSize(bad.data(), bad.size()), std::nullopt);
    bad = png;
    bad[19] = 0;  // zero width
    EXPECT_EQ(PngImageSize(bad.data(), bad.size()), std::nullopt);
    bad = png;
    bad[16] = 0x7F;  // absurdly wide: would overflow a pixel buffer
    EXPECT_EQ(PngImageSize(bad.data(), bad.size()), std::nullopt);
}

TEST(ArtPlate, EachPixelBecomesThePictureOverThePlateAndOpaque) {
    // Clear, half-covered white, and opaque orange over the dark plate.
    std::vector<std::uint8_t> px = {0, 0, 0, 0, 128, 128, 128, 128, 0, 138, 255, 255};
    PutOnPlate(px.data(), 3, 72, 42, 90);
    EXPECT_EQ(px, (std::vector<std::uint8_t>{90, 42, 72, 255, 173, 149, 164, 255, 0, 138, 255, 255}));
}
