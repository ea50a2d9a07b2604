#pragma once
// The program's own PNG decoder, so its pictures load without COM: the
// 8-bit kinds of PNG (RGBA as tools/make-art writes them, RGB, grey, grey
// with alpha, palette with or without transparency), not interlaced. Any
// bytes are safe to hand it: damaged, truncated or hostile input gives
// nullopt, and it never allocates more than the header's size implies.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zelvar {

// Larger pictures are refused (width and height each).
inline constexpr std::uint32_t kPngLargestSide = 4096;

struct PngPixels {
    int width = 0;
    int height = 0;
    // Premultiplied BGRA, as AlphaBlend with AC_SRC_ALPHA takes it: rows
    // top-down, width * 4 bytes each, no padding.
    std::vector<std::uint8_t> bgra;
};

std::optional<PngPixels> DecodePng(const std::uint8_t* data, size_t size);

// The bytes of one zlib stream (deflate inside), when the stream is whole,
// its check value matches and it holds no more than `limit` bytes. Bytes
// after the stream's end are ignored.
std::optional<std::vector<std::uint8_t>> InflateZlib(const std::uint8_t* data, size_t size, size_t limit);

// The check values of a PNG chunk (CRC-32) and of a zlib stream (Adler-32).
std::uint32_t Crc32(const std::uint8_t* data, size_t size);
std::uint32_t Adler32(const std::uint8_t* data, size_t size);

}  // namespace zelvar
