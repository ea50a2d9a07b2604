// The pictures and icons as zelvar.exe carries them, loaded for the screens
// the program meets (100 % to 200 %).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ui/art_win.h"
#include "art_ids.h"
#include "common/paths_win.h"

using namespace zelvar;

namespace {

struct Picture {
    int id;
    int width, height;  // at 100 %
};
// Sizes as the windows lay the pictures out at 100 %.
const Picture kPictures[] = {
    {IDB_IMAGE1_CLOSE, 16, 16},  {IDB_IMAGE1_CLOSE_HOT, 16, 16}, {IDB_IMAGE2_LOGO, 20, 18},
    {IDB_IMAGE3_WEB, 16, 16},    {IDB_IMAGE5_WORDMARK, 120, 18}, {IDB_IMAGE6, 64, 64},
    {IDB_IMAGE7, 64, 64},        {IDB_IMAGE8, 64, 64},           {IDB_IMAGE9, 64, 64},
    {IDB_IMAGE10, 64, 64},       {IDB_IMAGE4_ABOUT, 128, 96},    {IDB_COUNT_IMAGE1, 64, 64},
    {IDB_COUNT_IMAGE2, 32, 32},  {IDB_COUNT_IMAGE2_HOT, 32, 32}, {IDB_TREE_MAIN, 16, 16},
    {IDB_TREE_LANGUAGE, 16, 16}, {IDB_TREE_ONOFF, 16, 16},       {IDB_TREE_SHEDULER, 16, 16},
    {IDB_TREE_STARTEXE, 16, 16}, {IDB_TREE_ABOUT, 16, 16},
};
const int kDpis[] = {96, 120, 144, 168, 192};

// zelvar.exe beside the tests, opened for its resources only.
class ProgramArt : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryExW(FileBesideExe(L"zelvar.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite() {
        if (module_) FreeLibrary(module_);
        module_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(module_) << "zelvar.exe beside win_tests.exe: " << GetLastError(); }
    static HMODULE module_;
};
HMODULE ProgramArt::module_ = nullptr;

struct Owned {
    HBITMAP h;
    ~Owned() {
        if (h) DeleteObject(h);
    }
};

}  // namespace

TEST_F(ProgramArt, EveryPictureLoadsAtEveryScaleAtItsDrawingSize) {
    EXPECT_EQ(ARRAYSIZE(kPictures), 20u);
    for (const Picture& p : kPictures) {
        EXPECT_EQ(ArtBaseSize(module_, p.id), (ArtSize{p.width, p.height})) << p.id;
        for (int dpi : kDpis) {
            Owned bmp{LoadArtBitmap(module_, p.id, dpi)};
            ASSERT_TRUE(bmp.h) << "picture " << p.id << " at " << dpi;
            DIBSECTION dib{};
            ASSERT_EQ(GetObjectW(bmp.h, sizeof(dib), &dib), static_cast<int>(sizeof(dib))) << "not a DIB section";
            EXPECT_EQ(dib.dsBm.bmWidth, MulDiv(p.width, dpi, 96)) << p.id << " at " << dpi;
            EXPECT_EQ(dib.dsBm.bmHeight, MulDiv(p.height, dpi, 96)) << p.id << " at " << dpi;
            EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
            // Premultiplied (no colour above its alpha) and not empty.
            const auto* px = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
            ASSERT_TRUE(px);
            const size_t count = static_cast<size_t>(dib.dsBm.bmWidth) * dib.dsBm.bmHeight;
            size_t inked = 0, overflows = 0;
            for (size_t i = 0; i < count; ++i) {
                const std::uint8_t a = px[i * 4 + 3];
                if (a) ++inked;
                if (px[i * 4] > a || px[i * 4 + 1] > a || px[i * 4 + 2] > a) ++overflows;
            }
            EXPECT_EQ(overflows, 0u) << p.id << " at " << dpi;
            EXPECT_GT(inked, count / 20) << p.id << " at " << dpi;
        }
    }
}

TEST_F(ProgramArt, DrawnWithAlphaBlendTheRightWayUp) {
    // The calendar of the tree: orange band on top, pale grid below, on a
    // black 32-bit surface, blended as the windows draw their pictures.
    for (int dpi : kDpis) {
        Owned bmp{LoadArtBitmap(module_, IDB_TREE_SHEDULER, dpi)};
        ASSERT_TRUE(bmp.h);
        const int size = MulDiv(16, dpi, 96);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        Owned target{CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0)};
        ASSERT_TRUE(target.h);
        HDC dst = CreateCompatibleDC(nullptr);
        HDC src = CreateCompatibleDC(nullptr);
        HGDIOBJ oldDst = SelectObject(dst, target.h);
        HGDIOBJ oldSrc = SelectObject(src, bmp.h);
        PatBlt(dst, 0, 0, size, size, BLACKNESS);
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        EXPECT_TRUE(AlphaBlend(dst, 0, 0, size, size, src, 0, 0, size, size, blend));
        const COLORREF top = GetPixel(dst, size / 2, size * 3 / 16);
        const COLORREF bottom = GetPixel(dst, size / 2, size * 13 / 16);
        SelectObject(dst, oldDst);
        SelectObject(src, oldSrc);
        DeleteDC(dst);
        DeleteDC(src);
        EXPECT_GT(GetRValue(top), 2 * GetBValue(top) + 40) << "orange band on top at " << dpi;
        EXPECT_GT(GetBValue(bottom), GetGValue(bottom)) << "purple cells below at " << dpi;
    }
}

TEST_F(ProgramArt, NothingForUnknownPictures) {
    EXPECT_FALSE(LoadArtBitmap(module_, 0, 96));
    EXPECT_FALSE(LoadArtBitmap(module_, 299, 96));
    EXPECT_EQ(ArtBaseSize(module_, 299), (ArtSize{0, 0}));
    // A missing DPI reads as 96.
    Owned unknownDpi{LoadArtBitmap(module_, IDB_IMAGE2_LOGO, 0)};
    BITMAP bm{};
    ASSERT_TRUE(GetObjectW(unknownDpi.h, sizeof(bm), &bm));
    EXPECT_EQ(bm.bmWidth, 20);
}

TEST_F(ProgramArt, BothIconsLoadAtTheTraySizeOfEveryScreen) {
    for (int dpi : kDpis) {
        const int size = TrayIconSize(dpi);
        EXPECT_EQ(size, MulDiv(16, dpi, 96)) << dpi;
        for (bool planned : {false, true}) {
            HICON icon = LoadProgramIcon(module_, planned, size);
            ASSERT_TRUE(icon) << "planned " << planned << " at " << size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bm{};
            GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
            EXPECT_EQ(bm.bmWidth, size) << "planned " << planned;
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
    // The large sizes the shell asks for elsewhere, straight from the file.
    for (int size : {32, 48, 256}) {
        HICON icon = LoadProgramIcon(module_, true, size);
        EXPECT_TRUE(icon) << size;
        if (icon) DestroyIcon(icon);
    }
}
