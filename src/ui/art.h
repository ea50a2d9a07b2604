#pragma once
// The pictures of the windows by their role: their 100 % ids, which
// LoadArtBitmap (app/art_win.h) takes with the screen's DPI; 0 draws nothing.
#if __has_include("art_ids.h")
#include "art_ids.h"
#endif

namespace zelvar {

#ifdef IDB_IMAGE2_LOGO
inline constexpr int kBitmapLogo = IDB_IMAGE2_LOGO;
inline constexpr int kBitmapWeb = IDB_IMAGE3_WEB;
inline constexpr int kBitmapClose = IDB_IMAGE1_CLOSE;
inline constexpr int kBitmapWordmark = IDB_IMAGE5_WORDMARK;
inline constexpr int kBitmapPanel1 = IDB_IMAGE6;
inline constexpr int kBitmapPanel2 = IDB_IMAGE7;
inline constexpr int kBitmapPanel4 = IDB_IMAGE8;
inline constexpr int kBitmapPanel5 = IDB_IMAGE9;
inline constexpr int kBitmapPanel3 = IDB_IMAGE10;
inline constexpr int kBitmapAbout = IDB_IMAGE4_ABOUT;
inline constexpr int kBitmapCountdown = IDB_COUNT_IMAGE1;
inline constexpr int kBitmapCountCancel = IDB_COUNT_IMAGE2;
inline constexpr int kBitmapCloseHot = IDB_IMAGE1_CLOSE_HOT;
#else
inline constexpr int kBitmapLogo = 0, kBitmapWeb = 0, kBitmapClose = 0, kBitmapWordmark = 0, kBitmapPanel1 = 0,
                     kBitmapPanel2 = 0, kBitmapPanel4 = 0, kBitmapPanel5 = 0, kBitmapPanel3 = 0, kBitmapAbout = 0,
                     kBitmapCountdown = 0, kBitmapCountCancel = 0, kBitmapCloseHot = 0;
#endif

}  // namespace zelvar
