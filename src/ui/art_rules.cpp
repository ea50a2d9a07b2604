#include "ui/art_rules.h"

#include <algorithm>
#include <cmath>

namespace zelvar {
namespace {

struct Tap {
    int index;
    float weight;
};

// For each output position along one axis, the source positions it takes
// and their weights (summing to 1).
std::vector<std::vector<Tap>> Taps(int from, int to) {
    std::vector<std::vector<Tap>> taps(static_cast<size_t>(to));
    const double step = static_cast<double>(from) / to;
    const double support = std::max(1.0, step);
    for (int o = 0; o < to; ++o) {
        const double centre = (o + 0.5) * step - 0.5;
        const int first = std::max(0, static_cast<int>(std::floor(centre - support)));
        const int last = std::min(from - 1, static_cast<int>(std::ceil(centre + support)));
        double total = 0;
        std::vector<Tap>& row = taps[static_cast<size_t>(o)];
        for (int i = first; i <= last; ++i) {
            const double w = 1.0 - std::abs(i - centre) / support;
            if (w <= 0) continue;
            row.push_back({i, static_cast<float>(w)});
            total += w;
        }
        if (row.empty()) {  // cannot happen for sane sizes; keep the nearest pixel
            row.push_back({std::clamp(static_cast<int>(std::lround(centre)), 0, from - 1), 1.0f});
            total = 1.0;
        }
        for (Tap& t : row) t.weight = static_cast<float>(t.weight / total);
    }
    return taps;
}

}  // namespace

int ArtScaleIndexForDpi(int dpi) {
    if (dpi <= 0) dpi = kBaseDpi;
    for (int i = 0; i < kArtScaleCount; ++i)
        if (dpi * 100 <= kBaseDpi * kArtScalePercent[i]) return i;
    return kArtScaleCount - 1;
}

int ArtDrawLength(int length100, int dpi) {
    if (dpi <= 0) dpi = kBaseDpi;
    const long long p = static_cast<long long>(length100) * dpi;
    return static_cast<int>(p >= 0 ? (p + kBaseDpi / 2) / kBaseDpi : -((-p + kBaseDpi / 2) / kBaseDpi));
}

ArtSize ArtDrawSize(ArtSize size100, int dpi) {
    return {ArtDrawLength(size100.width, dpi), ArtDrawLength(size100.height, dpi)};
}

std::optional<ArtSize> PngImageSize(const std::uint8_t* data, size_t size) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    // Signature, then the IHDR chunk: length 13, type, width, height (big-endian).
    if (!data || size < 24) return std::nullopt;
    if (!std::equal(kSignature, kSignature + 8, data)) return std::nullopt;
    if (!std::equal(data + 12, data + 16, reinterpret_cast<const std::uint8_t*>("IHDR"))) return std::nullopt;
    const auto be32 = [data](size_t at) {
        return (std::uint32_t{data[at]} << 24) | (std::uint32_t{data[at + 1]} << 16) |
               (std::uint32_t{data[at + 2]} << 8) | std::uint32_t{data[at + 3]};
    };
    const std::uint32_t w = be32(16), h = be32(20);
    constexpr std::uint32_t kLargest = 4096;
    if (w == 0 || h == 0 || w > kLargest || h > kLargest) return std::nullopt;
    return ArtSize{static_cast<int>(w), static_cast<int>(h)};
}

std::vector<std::uint8_t> ResamplePremultiplied(const std::vector<std::uint8_t>& source, int sourceWidth,
                                                int sourceHeight, int width, int height) {
    if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) return {};
    if (source.size() != static_cast<size_t>(sourceWidth) * sourceHeight * 4) return {};
    if (sourceWidth == width && sourceHeight == height) return source;

    // Rows first into floats, then columns; both passes only mix pixels with
    // non-negative weights, which keeps colour <= alpha.
    const auto across = Taps(sourceWidth, width);
    std::vector<float> mid(static_cast<size_t>(width) * sourceHeight * 4);
    for (int y = 0; y < sourceHeight; ++y) {
        const std::uint8_t* in = &source[static_cast<size_t>(y) * sourceWidth * 4];
        float* out = &mid[static_cast<size_t>(y) * width * 4];
        for (int x = 0; x < width; ++x) {
            float acc[4] = {};
            for (const Tap& t : across[static_cast<size_t>(x)])
                for (int c = 0; c < 4; ++c) acc[c] += t.weight * static_cast<float>(in[t.index * 4 + c]);
            for (int c = 0; c < 4; ++c) out[x * 4 + c] = acc[c];
        }
    }
    const auto down = Taps(sourceHeight, height);
    std::vector<std::uint8_t> result(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = &result[static_cast<size_t>(y) * width * 4];
        for (int x = 0; x < width; ++x) {
            float acc[4] = {};
            for (const Tap& t : down[static_cast<size_t>(y)])
                for (int c = 0; c < 4; ++c)
                    acc[c] += t.weight * mid[(static_cast<size_t>(t.index) * width + x) * 4 + c];
            const int alpha = std::clamp(static_cast<int>(std::lround(acc[3])), 0, 255);
            out[x * 4 + 3] = static_cast<std::uint8_t>(alpha);
            for (int c = 0; c < 3; ++c)
                out[x * 4 + c] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(acc[c])), 0, alpha));
        }
    }
    return result;
}

void PutOnPlate(std::uint8_t* pixels, size_t pixelCount, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const std::uint8_t plate[3] = {b, g, r};
    for (size_t i = 0; i < pixelCount; ++i) {
        std::uint8_t* px = pixels + i * 4;
        const int rest = 255 - px[3];
        for (int c = 0; c < 3; ++c)
            px[c] = static_cast<std::uint8_t>(std::min(255, px[c] + (plate[c] * rest + 127) / 255));
        px[3] = 255;
    }
}

}  // namespace zelvar
