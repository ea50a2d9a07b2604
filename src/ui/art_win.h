#pragma once
// The program's pictures and icons at the size a screen's DPI wants. The
// pictures are PNG resources at 100, 150 and 200 % (res/art_ids.h); the
// loader takes the scale art_rules.h picks, has Windows' imaging component
// (WIC) decode it and scales it smoothly to the drawing size.
#include <windows.h>

#include "ui/art_rules.h"

namespace zelvar {

// A picture (its 100 % IDB_* id) as a top-down 32-bit DIB section with
// premultiplied alpha, ready for AlphaBlend, ArtDrawSize(its 100 % size, dpi)
// large. The caller owns it (DeleteObject). Null when the picture is not
// there or cannot be decoded. The first form reads the program's own
// resources.
HBITMAP LoadArtBitmap(int pictureId, int dpi);
HBITMAP LoadArtBitmap(HMODULE module, int pictureId, int dpi);

// The picture's size at 100 %; {0, 0} when it is not there.
ArtSize ArtBaseSize(HMODULE module, int pictureId);

// The small icon size (the tray's) on a screen of `dpi`, as the system
// gives it: 16 at 96, 20 at 120, 24 at 144, 28 at 168, 32 at 192.
int TrayIconSize(int dpi);

// The program's icon, or with planned the variant with the clock badge,
// `size` pixels square, scaled down from the next larger image when the icon
// has none of that size. The caller owns it (DestroyIcon). Null on failure.
HICON LoadProgramIcon(bool planned, int size);
HICON LoadProgramIcon(HMODULE module, bool planned, int size);
// The icon for the tray on a screen of `dpi`.
HICON LoadTrayIcon(bool planned, int dpi);

}  // namespace zelvar
