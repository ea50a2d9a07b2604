#include "ui/art_win.h"

#include <commctrl.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstring>
#include <optional>
#include <vector>

#include "ui/control_ids.h"
#include "art_ids.h"

namespace zelvar {

static_assert(ART_ID_STEP == kArtIdStep && ART_SCALE_COUNT == kArtScaleCount, "art_ids.h and art_rules.h disagree");

namespace {

// Spelled out here so no import library has to carry them.
constexpr CLSID kWicImagingFactory = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr GUID kPixelFormat32bppPBGRA = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x10}};
constexpr wchar_t kArtType[] = L"PNG";

// Owns one COM interface pointer.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_) p_->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T** put() {
        if (p_) p_->Release();
        p_ = nullptr;
        return &p_;
    }

private:
    T* p_ = nullptr;
};

// COM for the length of one decode; balanced whether or not the thread had
// it already. A thread in the other apartment model can still use WIC.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }

private:
    HRESULT hr_;
};

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
    int width = 0, height = 0;
    std::vector<std::uint8_t> bgra;  // premultiplied, top-down
};

std::optional<Pixels> DecodePng(const ResourceBytes& png) {
    const auto size = PngImageSize(png.data, png.size);
    if (!size) return std::nullopt;
    ComScope com;
    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(kWicImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))))
        return std::nullopt;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(png.data), png.size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), kPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    UINT w = 0, h = 0;
    // The header was checked above; the decoder must agree with it.
    if (FAILED(converter->GetSize(&w, &h)) || static_cast<int>(w) != size->width ||
        static_cast<int>(h) != size->height)
        return std::nullopt;
    Pixels px{size->width, size->height, std::vector<std::uint8_t>(static_cast<size_t>(w) * h * 4)};
    if (FAILED(converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(px.bgra.size()), px.bgra.data())))
        return std::nullopt;
    return px;
}

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
        if (size)
            return {size->width * 100 / kArtScalePercent[i], size->height * 100 / kArtScalePercent[i]};
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
        auto px = DecodePng(*png);
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
    static const auto forDpi =
        reinterpret_cast<ForDpi>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
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
        return comctl ? reinterpret_cast<ScaleDown>(reinterpret_cast<void*>(GetProcAddress(comctl, "LoadIconWithScaleDown"))) : nullptr;
    }();
    HICON icon = nullptr;
    if (scaleDown && SUCCEEDED(scaleDown(module, name, size, size, &icon)) && icon) return icon;
    return static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

HICON LoadProgramIcon(bool planned, int size) { return LoadProgramIcon(GetModuleHandleW(nullptr), planned, size); }

HICON LoadTrayIcon(bool planned, int dpi) { return LoadProgramIcon(planned, TrayIconSize(dpi)); }

}  // namespace zelvar
