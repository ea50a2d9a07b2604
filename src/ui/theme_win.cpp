#include "ui/theme_win.h"

#include <string>

#include "ui/art_win.h"

namespace zelvar::ui {
namespace {

Theme* g_current = nullptr;

UniqueBrush SolidBrush(COLORREF color) { return UniqueBrush(CreateSolidBrush(color)); }

}  // namespace

int DpiOf(HWND window) {
    // Looked up at run time: systems before Windows 10 have no per-window density.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (window && getDpi)
        if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

Theme::Theme() : previous_(g_current) { g_current = this; }

Theme::~Theme() {
    if (g_current == this) g_current = previous_;
}

HBRUSH Theme::DarkBrush() {
    if (!dark_) dark_ = SolidBrush(kDark);
    return dark_.get();
}

HBRUSH Theme::DarkLightBrush() {
    if (!darkLight_) darkLight_ = SolidBrush(kDarkLight);
    return darkLight_.get();
}

HBRUSH Theme::WhiteBrush() {
    if (!white_) white_ = SolidBrush(kWhite);
    return white_.get();
}

HBRUSH Theme::AccentBrush() {
    if (!accent_) accent_ = SolidBrush(kAccent);
    return accent_.get();
}

HFONT Theme::Font(const wchar_t* face, int designHeight, int weight, int dpi) {
    auto& font = fonts_[{face, {designHeight * 1000 + weight, dpi}}];
    if (!font)
        font.reset(CreateFontW(-MulDiv(designHeight, dpi, kDesignDpi), 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face));
    return font.get();
}

HFONT Theme::MainFont(int dpi) { return Font(L"Tahoma", 13, FW_NORMAL, dpi); }
HFONT Theme::BoldFont(int dpi) { return Font(L"Tahoma", 13, FW_BOLD, dpi); }

HBITMAP Theme::Picture(int pictureId, int dpi) {
    if (!pictureId) return nullptr;
    auto& picture = pictures_[{pictureId, dpi}];
    if (!picture) picture.reset(LoadArtBitmap(pictureId, dpi));
    return picture.get();
}

Theme& CurrentTheme() {
    if (g_current) return *g_current;
    static Theme fallback;  // tools and tests that made none; lives to the end
    return fallback;
}

}  // namespace zelvar::ui
