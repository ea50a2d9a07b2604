#include "ui/theme_win.h"

#include <cstdint>
#include <iterator>
#include <string>
#include <tuple>

#include "ui/art_rules.h"
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

void Theme::Follow(bool highContrast) {
    SystemColours system{};
    constexpr int kIndex[] = {COLOR_WINDOW,  COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                              COLOR_BTNFACE, COLOR_BTNTEXT,    COLOR_GRAYTEXT,  COLOR_HOTLIGHT};
    static_assert(std::size(kIndex) == std::tuple_size_v<SystemColours>);
    for (size_t i = 0; i < system.size(); ++i) system[i] = GetSysColor(kIndex[i]);
    highContrast_ = highContrast;
    palette_ = ChoosePalette(highContrast, system);
    for (auto& brush : brushes_) brush.reset();
    pictures_.clear();  // made again, on a plate or not
}

HBRUSH Theme::Brush(Role role) {
    auto& brush = brushes_[static_cast<size_t>(role)];
    if (!brush) brush = SolidBrush(palette_[role]);
    return brush.get();
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
    if (!picture) {
        picture.reset(LoadArtBitmap(pictureId, dpi));
        DIBSECTION dib{};
        if (picture && palette_.picturesOnPlate && GetObjectW(picture.get(), sizeof(dib), &dib) == sizeof(dib) &&
            dib.dsBm.bmBits && dib.dsBm.bmBitsPixel == 32) {
            GdiFlush();  // the bits are ours to change only once GDI is done with them
            const Rgb plate = palette_.plate;
            PutOnPlate(static_cast<std::uint8_t*>(dib.dsBm.bmBits),
                       static_cast<size_t>(dib.dsBm.bmWidth) * static_cast<size_t>(dib.dsBm.bmHeight),
                       static_cast<std::uint8_t>(GetRValue(plate)), static_cast<std::uint8_t>(GetGValue(plate)),
                       static_cast<std::uint8_t>(GetBValue(plate)));
        }
    }
    return picture.get();
}

bool SystemHighContrast() {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof(hc);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

namespace {

BOOL CALLBACK TellControl(HWND control, LPARAM) {
    SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

BOOL CALLBACK TellWindowsControls(HWND window, LPARAM) {
    EnumChildWindows(window, TellControl, 0);
    return TRUE;
}

BOOL CALLBACK Repaint(HWND window, LPARAM) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

}  // namespace

void TellControlsOfSystemColours() { EnumThreadWindows(GetCurrentThreadId(), TellWindowsControls, 0); }

void RepaintProgramWindows() { EnumThreadWindows(GetCurrentThreadId(), Repaint, 0); }

Theme& CurrentTheme() {
    if (g_current) return *g_current;
    static Theme fallback;  // tools and tests that made none; lives to the end
    return fallback;
}

}  // namespace zelvar::ui
