#pragma once
// Which scale of the program's art a screen takes and how large a picture is
// drawn there, and the smooth resampling in between. Plain values only; the
// Win32 loader (art_win.h) has the resource decoded and applies these.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zelvar {

// Every picture exists at 100 %, 150 % and 200 %. Its resource id at a scale
// is its 100 % id (the IDB_* of art_ids.h) + scale index * kArtIdStep.
inline constexpr int kArtScaleCount = 3;
inline constexpr int kArtScalePercent[kArtScaleCount] = {100, 150, 200};
inline constexpr int kArtIdStep = 100;
inline constexpr int kBaseDpi = 96;

constexpr int ArtResourceId(int pictureId, int scaleIndex) { return pictureId + scaleIndex * kArtIdStep; }

// The art a screen of `dpi` takes: the smallest scale at least as large as
// the screen's, so pictures are only ever scaled down (125 % takes 150 %,
// 175 % takes 200 %); beyond 200 % the 200 % art is scaled up. A dpi that is
// not positive counts as 96.
int ArtScaleIndexForDpi(int dpi);

// A length of the 100 % art drawn at `dpi`, rounded as MulDiv rounds (halves
// away from zero), so it matches layouts computed with MulDiv(x, dpi, 96).
int ArtDrawLength(int length100, int dpi);

struct ArtSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ArtSize&, const ArtSize&) = default;
};
ArtSize ArtDrawSize(ArtSize size100, int dpi);

// Width and height from a PNG's header; nullopt for anything that is not a
// PNG with a sane size (1 to 4096 pixels each way).
std::optional<ArtSize> PngImageSize(const std::uint8_t* data, size_t size);

// Resamples a 32-bit image of premultiplied BGRA pixels (rows top-down, no
// padding) to another size with a tent filter as wide as the scale step, so
// a reduction averages every source pixel it covers and an enlargement
// interpolates linearly. Premultiplied values stay premultiplied (no colour
// exceeds its alpha). Empty for sizes that are not positive or a source
// buffer of the wrong length.
std::vector<std::uint8_t> ResamplePremultiplied(const std::vector<std::uint8_t>& source, int sourceWidth,
                                                int sourceHeight, int width, int height);

// Lays premultiplied BGRA pixels over an opaque plate of the colour r, g,
// b: each pixel becomes the picture over the plate, fully opaque. A picture
// drawn for one background so shows on any other.
void PutOnPlate(std::uint8_t* pixels, size_t pixelCount, std::uint8_t r, std::uint8_t g, std::uint8_t b);

}  // namespace zelvar
