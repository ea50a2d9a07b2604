#include "ui/art_win.h"

#include <commctrl.h>
#include <shlwapi.h>
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

// Windows' imaging component (windowscodecs.dll) reads the PNG. Its PNG
// decoder is taken straight from the library's class object, without COM's
// start and registry lookup, which cost the first window a good part of its
// start; the decoder needs nothing of COM to read a stream from memory.
class PngReader {
public:
    PngReader() {
        using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
        HMODULE codecs = LoadLibraryExW(L"windowscodecs.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        const auto get = codecs ? reinterpret_cast<GetClassObject>(
                                      reinterpret_cast<void*>(GetProcAddress(codecs, "DllGetClassObject")))
                                : nullptr;
        if (!get || FAILED(get(CLSID_WICPngDecoder, IID_IClassFactory, reinterpret_cast<void**>(&decoders_))))
            decoders_ = nullptr;
    }
    ~PngReader() {
        if (decoders_) decoders_->Release();
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    // The picture as premultiplied BGRA rows, top-down; nullopt when it does
    // not decode or is not 32-bit BGRA with alpha (as the build renders them).
    std::optional<Pixels> Decode(const ResourceBytes& png) const {
        if (!decoders_) return std::nullopt;
        Com<IStream> stream{SHCreateMemStream(png.data, png.size)};
        Com<IWICBitmapDecoder> decoder;
        Com<IWICBitmapFrameDecode> frame;
        WICPixelFormatGUID format{};
        UINT width = 0, height = 0;
        if (!stream.p ||
            FAILED(decoders_->CreateInstance(nullptr, __uuidof(IWICBitmapDecoder), reinterpret_cast<void**>(&decoder.p))) ||
            FAILED(decoder.p->Initialize(stream.p, WICDecodeMetadataCacheOnDemand)) ||
            FAILED(decoder.p->GetFrame(0, &frame.p)) || FAILED(frame.p->GetPixelFormat(&format)) ||
            format != GUID_WICPixelFormat32bppBGRA || FAILED(frame.p->GetSize(&width, &height)) || width == 0 ||
            height == 0 || width > 4096 || height > 4096)
            return std::nullopt;
        Pixels px{static_cast<int>(width), static_cast<int>(height), {}};
        px.bgra.resize(static_cast<size_t>(width) * height * 4);
        if (FAILED(frame.p->CopyPixels(nullptr, width * 4, static_cast<UINT>(px.bgra.size()), px.bgra.data())))
            return std::nullopt;
        // Straight alpha to premultiplied, as AlphaBlend takes it.
        for (size_t i = 0; i < px.bgra.size(); i += 4) {
            const unsigned alpha = px.bgra[i + 3];
            for (size_t c = i; c < i + 3; ++c) px.bgra[c] = static_cast<std::uint8_t>((px.bgra[c] * alpha + 127) / 255);
        }
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
    IClassFactory* decoders_ = nullptr;
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
        thread_local const PngReader reader;
        auto px = reader.Decode(*png);
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
