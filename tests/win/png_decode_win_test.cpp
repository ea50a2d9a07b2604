// The program's own PNG decoder against the system's (WIC): every picture
// zelvar.exe carries must come out pixel for pixel as WIC gave it, so the
// switch away from WIC changes nothing on the screen. WIC is linked to the
// tests only.
#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "art_ids.h"
#include "common/paths_win.h"
#include "ui/art_win.h"
#include "ui/png_decode.h"

using namespace zelvar;

namespace {

constexpr CLSID kWicImagingFactory = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr GUID kPixelFormat32bppPBGRA = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x10}};

template <typename T>
struct ComRef {
    T* p = nullptr;
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};

// What the program used to do: WIC's decoder and its conversion to
// premultiplied BGRA.
std::optional<PngPixels> DecodeWithWic(const std::uint8_t* data, DWORD size) {
    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(kWicImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory.p))))
        return std::nullopt;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(&stream.p)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder.p)) ||
        FAILED(decoder->GetFrame(0, &frame.p)) || FAILED(factory->CreateFormatConverter(&converter.p)) ||
        FAILED(converter->Initialize(frame.p, kPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    UINT w = 0, h = 0;
    if (FAILED(converter->GetSize(&w, &h))) return std::nullopt;
    PngPixels px{static_cast<int>(w), static_cast<int>(h), std::vector<std::uint8_t>(size_t{w} * h * 4)};
    if (FAILED(converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(px.bgra.size()), px.bgra.data())))
        return std::nullopt;
    return px;
}

struct Resource {
    int id;
    const std::uint8_t* data;
    DWORD size;
};

BOOL CALLBACK CollectPng(HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR param) {
    if (!IS_INTRESOURCE(name)) return TRUE;
    HRSRC info = FindResourceW(module, name, L"PNG");
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data)
        reinterpret_cast<std::vector<Resource>*>(param)->push_back(
            {static_cast<int>(reinterpret_cast<ULONG_PTR>(name)), static_cast<const std::uint8_t*>(data),
             SizeofResource(module, info)});
    return TRUE;
}

// The pictures' ids start at IDB_IMAGE1_CLOSE, each scale kArtIdStep on.
int ScaleOf(int resourceId) { return (resourceId - IDB_IMAGE1_CLOSE) / kArtIdStep; }

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Every PNG resource of zelvar.exe beside the tests.
class ShippedPng : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(FileBesideExe(L"zelvar.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_TRUE(module_) << "zelvar.exe beside win_tests.exe: " << GetLastError();
        EnumResourceNamesW(module_, L"PNG", CollectPng, reinterpret_cast<LONG_PTR>(&pictures_));
        ASSERT_GE(pictures_.size(), 60u);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    HMODULE module_ = nullptr;
    std::vector<Resource> pictures_;
};

}  // namespace

TEST_F(ShippedPng, LoadTimeOfAllPicturesAtTwoScreens) {
    // Runs before anything in this file starts COM, so the first pass is the
    // program's cold start.
    for (int dpi : {96, 168}) {
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        int loaded = 0;
        for (const Resource& r : pictures_) {
            if (ScaleOf(r.id) != 0) continue;  // by 100 % ids; the loader picks the scale
            if (HBITMAP bmp = LoadArtBitmap(module_, r.id, dpi)) {
                ++loaded;
                DeleteObject(bmp);
            }
        }
        QueryPerformanceCounter(&t1);
        EXPECT_EQ(loaded * kArtScaleCount, static_cast<int>(pictures_.size()));
        // Of that, the decoding of the scale the screen takes.
        const int scaleIndex = ArtScaleIndexForDpi(dpi);
        LARGE_INTEGER d0, d1;
        QueryPerformanceCounter(&d0);
        for (const Resource& r : pictures_) {
            if (ScaleOf(r.id) != scaleIndex) continue;
            EXPECT_TRUE(DecodePng(r.data, r.size)) << r.id;
        }
        QueryPerformanceCounter(&d1);
        std::printf("[ measure  ] %d pictures loaded at %d dpi in %.1f ms, their decoding %.1f ms\n", loaded, dpi,
                    Milliseconds(t0, t1), Milliseconds(d0, d1));
    }
}

TEST_F(ShippedPng, DecodesAsWicDoesPixelForPixel) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    std::vector<std::optional<PngPixels>> wic;
    for (const Resource& r : pictures_) wic.push_back(DecodeWithWic(r.data, r.size));
    QueryPerformanceCounter(&t1);
    std::vector<std::optional<PngPixels>> ours;
    for (const Resource& r : pictures_) ours.push_back(DecodePng(r.data, r.size));
    QueryPerformanceCounter(&t2);
    std::printf("[ measure  ] %zu PNG resources decoded: WIC %.1f ms (with its start), ours %.1f ms\n",
                pictures_.size(), Milliseconds(t0, t1), Milliseconds(t1, t2));

    for (size_t i = 0; i < pictures_.size(); ++i) {
        const int id = pictures_[i].id;
        ASSERT_TRUE(wic[i]) << "WIC cannot decode resource " << id;
        ASSERT_TRUE(ours[i]) << "resource " << id;
        EXPECT_EQ(ours[i]->width, wic[i]->width) << id;
        EXPECT_EQ(ours[i]->height, wic[i]->height) << id;
        ASSERT_EQ(ours[i]->bgra.size(), wic[i]->bgra.size()) << id;
        size_t differ = 0;
        int largest = 0;
        for (size_t b = 0; b < ours[i]->bgra.size(); ++b) {
            const int d = std::abs(ours[i]->bgra[b] - wic[i]->bgra[b]);
            if (d) ++differ;
            if (d > largest) largest = d;
        }
        EXPECT_EQ(differ, 0u) << "resource " << id << ": bytes differ by up to " << largest;
    }
    if (SUCCEEDED(com)) CoUninitialize();
}
