#include "ui/art_win.h"

#include <commctrl.h>
#include <wincodec.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "ui/control_ids.h"
#include "art_ids.h"

namespace zelvar {

static_assert(ART_ID_STEP == kArtIdStep && ART_SCALE_COUNT == kArtScaleCount, "art_ids.h and art_rules.h disagree");

namespace {

constexpr wchar_t kArtType[] = L"PNG";

struct ResourceBytes {
    const std::uint8_t* data = nullptr;
    DWORD size = 0;
};

std::optional<ResourceBytes> FindArt(HMODULE module, int resourceId) {
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(resourceId), kArtType);
    if (!info) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, info);
    if (!data || size == 0) return std::nullopt;
    return ResourceBytes{static_cast<const std::uint8_t*>(data), size};
}

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgra;  // premultiplied, rows top-down, no padding
};

// Windows' imaging component reads the PNG: COM on this thread (once; it
// stays with the thread), one factory per thread, and the frame converted
// to premultiplied BGRA as AlphaBlend wants it.
class Imaging {
public:
    Imaging() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // a thread already in COM keeps its apartment
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    __uuidof(IWICImagingFactory), reinterpret_cast<void**>(&factory_))))
            factory_ = nullptr;
    }
    ~Imaging() {
        if (factory_) factory_->Release();
    }
    Imaging(const Imaging&) = delete;
    Imaging& operator=(const Imaging&) = delete;

    // The picture as premultiplied BGRA rows, top-down; nullopt when it does not decode.
    std::optional<Pixels> Decode(const ResourceBytes& png) const {
        if (!factory_) return std::nullopt;
        Com<IWICStream> stream;
        Com<IWICBitmapDecoder> decoder;
        Com<IWICBitmapFrameDecode> frame;
        Com<IWICFormatConverter> converter;
        if (FAILED(factory_->CreateStream(&stream.p)) ||
            FAILED(stream.p->InitializeFromMemory(const_cast<BYTE*>(png.data), png.size)) ||
            FAILED(factory_->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder.p)) ||
            FAILED(decoder.p->GetFrame(0, &frame.p)) || FAILED(factory_->CreateFormatConverter(&converter.p)) ||
            FAILED(converter.p->Initialize(frame.p, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                           0.0, WICBitmapPaletteTypeCustom)))
            return std::nullopt;
        UINT width = 0, height = 0;
        if (FAILED(converter.p->GetSize(&width, &height)) || width == 0 || height == 0 || width > 4096 || height > 4096)
            return std::nullopt;
        Pixels px{static_cast<int>(width), static_cast<int>(height), {}};
        px.bgra.resize(static_cast<size_t>(width) * height * 4);
        if (FAILED(converter.p->CopyPixels(nullptr, width * 4, static_cast<UINT>(px.bgra.size()), px.bgra.data())))
            return std::nullopt;
        return px;
    }

private:
    template <class T>
    struct Com {
        T* p = nullptr;
        ~Com() {
            if (p) p->Release();
        }
    };
    IWICImagingFactory* factory_ = nullptr;
};

HBITMAP ToDibSection(const std::vector<std::uint8_t>& bgra, int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down, as decoded
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(bits, bgra.data(), bgra.size());
    GdiFlush();
    return bitmap;
}

}  // namespace

ArtSize ArtBaseSize(HMODULE module, int pictureId) {
    // From the 100 % art's header, else from a larger scale's.
    for (int i = 0; i < kArtScaleCount; ++i) {
        const auto png = FindArt(module, ArtResourceId(pictureId, i));
        const auto size = png ? PngImageSize(png->data, png->size) : std::nullopt;
        if (size) return {size->width * 100 / kArtScalePercent[i], size->height * 100 / kArtScalePercent[i]};
    }
    return {};
}

HBITMAP LoadArtBitmap(HMODULE module, int pictureId, int dpi) {
    if (pictureId <= 0) return nullptr;
    const ArtSize base = ArtBaseSize(module, pictureId);
    if (base.width <= 0 || base.height <= 0) return nullptr;
    const ArtSize target = ArtDrawSize(base, dpi);
    if (target.width <= 0 || target.height <= 0) return nullptr;

    // The chosen scale, else the nearest larger one, else the nearest smaller.
    const int chosen = ArtScaleIndexForDpi(dpi);
    std::vector<int> order;
    for (int i = chosen; i < kArtScaleCount; ++i) order.push_back(i);
    for (int i = chosen - 1; i >= 0; --i) order.push_back(i);
    for (int index : order) {
        const auto png = FindArt(module, ArtResourceId(pictureId, index));
        if (!png) continue;
        thread_local const Imaging imaging;
        auto px = imaging.Decode(*png);
        if (!px) continue;
        if (px->width != target.width || px->height != target.height) {
            px->bgra = ResamplePremultiplied(px->bgra, px->width, px->height, target.width, target.height);
            if (px->bgra.empty()) continue;
        }
        return ToDibSection(px->bgra, target.width, target.height);
    }
    return nullptr;
}

HBITMAP LoadArtBitmap(int pictureId, int dpi) { return LoadArtBitmap(GetModuleHandleW(nullptr), pictureId, dpi); }

int TrayIconSize(int dpi) {
    if (dpi <= 0) dpi = kBaseDpi;
    // Windows 10 1607 and later know the size per DPI; before that the
    // system size scales with the DPI.
    using ForDpi = int(WINAPI*)(int, UINT);
    static const auto forDpi = reinterpret_cast<ForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (forDpi) {
        const int size = forDpi(SM_CXSMICON, static_cast<UINT>(dpi));
        if (size > 0) return size;
    }
    return ArtDrawLength(16, dpi);
}

HICON LoadProgramIcon(HMODULE module, bool planned, int size) {
    if (size <= 0) return nullptr;
    const wchar_t* name = MAKEINTRESOURCEW(planned ? IDI_ZELVAR_PLANNED : IDI_ZELVAR);
    // LoadIconWithScaleDown (common controls 6) scales down from a larger
    // image with a good filter; the older LoadImage is the fallback.
    using ScaleDown = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto scaleDown = [] {
        HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
        return comctl ? reinterpret_cast<ScaleDown>(
                            reinterpret_cast<void*>(GetProcAddress(comctl, "LoadIconWithScaleDown")))
                      : nullptr;
    }();
    HICON icon = nullptr;
    if (scaleDown && SUCCEEDED(scaleDown(module, name, size, size, &icon)) && icon) return icon;
    return static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

HICON LoadProgramIcon(bool planned, int size) { return LoadProgramIcon(GetModuleHandleW(nullptr), planned, size); }

HICON LoadTrayIcon(bool planned, int dpi) { return LoadProgramIcon(planned, TrayIconSize(dpi)); }

}  // namespace zelvar
