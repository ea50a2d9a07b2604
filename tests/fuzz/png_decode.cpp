// A picture's bytes three ways: as they come; with every chunk's CRC made
// right, so changes inside the image data reach inflate; and as the rows of
// a file made here around them (stored blocks, valid check values), so
// they reach the row filters and the colour kinds. The zlib stream alone
// goes to inflate too.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "fuzz_input.h"
#include "ui/png_decode.h"

using namespace zelvar;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append32(Bytes& to, std::uint32_t v) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                                   static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
    to.insert(to.end(), bytes, bytes + 4);
}

void AppendChunk(Bytes& to, const char* type, const Bytes& body) {
    Append32(to, static_cast<std::uint32_t>(body.size()));
    const size_t at = to.size();
    to.insert(to.end(), type, type + 4);
    to.insert(to.end(), body.begin(), body.end());
    Append32(to, Crc32(to.data() + at, body.size() + 4));
}

// Whatever comes back is a sane picture in premultiplied BGRA.
void CheckPicture(const std::optional<PngPixels>& image) {
    if (!image) return;
    ZELVAR_FUZZ_CHECK(image->width >= 1 && image->width <= static_cast<int>(kPngLargestSide));
    ZELVAR_FUZZ_CHECK(image->height >= 1 && image->height <= static_cast<int>(kPngLargestSide));
    ZELVAR_FUZZ_CHECK(image->bgra.size() == static_cast<size_t>(image->width) * image->height * 4);
    for (size_t i = 0; i < image->bgra.size(); i += 4) {
        const std::uint8_t a = image->bgra[i + 3];
        ZELVAR_FUZZ_CHECK(image->bgra[i] <= a && image->bgra[i + 1] <= a && image->bgra[i + 2] <= a);
    }
}

Bytes WithCrcsMended(const std::uint8_t* data, size_t size) {
    Bytes file(data, data + size);
    for (size_t pos = 8; size - pos >= 12;) {
        size_t length = 0;
        for (int i = 0; i < 4; ++i) length = length << 8 | file[pos + static_cast<size_t>(i)];
        if (length > size - pos - 12) break;
        const std::uint32_t crc = Crc32(file.data() + pos + 4, length + 4);
        for (int i = 0; i < 4; ++i)
            file[pos + 8 + length + static_cast<size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        pos += 12 + length;
    }
    return file;
}

// Four bytes choose width, height, colour kind and transparency; the rest
// are the rows, cut or padded to the size the header implies (one byte
// short or long when the flags say so).
void MadeAround(const std::uint8_t* data, size_t size) {
    if (size < 4) return;
    static constexpr std::uint8_t kKinds[] = {0, 2, 3, 4, 6};
    static constexpr size_t kChannels[] = {1, 3, 1, 2, 4};
    const std::uint32_t width = 1 + data[0] % 32, height = 1 + data[1] % 32;
    const size_t kind = data[2] % 5;
    const std::uint8_t flags = data[3];
    const size_t rowBytes = width * kChannels[kind];
    Bytes rows(data + 4, data + size);
    const size_t expected = height * (rowBytes + 1);
    const bool wrongSize = (flags & 6) == 6;
    rows.resize(wrongSize ? expected + (flags & 8 ? 1 : 0) - (flags & 8 ? 0 : 1) : expected, 0);

    Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    Append32(header, width);
    Append32(header, height);
    header.insert(header.end(), {8, kKinds[kind], 0, 0, 0});
    AppendChunk(file, "IHDR", header);
    if (kKinds[kind] == 3) {
        Bytes palette;
        for (int i = 0; i < 256 * 3; ++i) palette.push_back(static_cast<std::uint8_t>(i * 37));
        AppendChunk(file, "PLTE", palette);
    }
    // Transparency as each kind takes it, when the flags ask; with too few
    // input bytes it comes out short (empty counts as none).
    const bool keyed = (flags & 1) && kKinds[kind] != 4 && kKinds[kind] != 6;
    bool transparencySound = true;
    if (keyed) {
        const size_t length = kKinds[kind] == 0 ? 2 : kKinds[kind] == 2 ? 6 : 1 + flags % 200;
        const size_t taken = std::min(length, size - 4);
        AppendChunk(file, "tRNS", Bytes(data + 4, data + 4 + taken));
        transparencySound = kKinds[kind] == 3 || taken == length || taken == 0;
    }
    Bytes z = {0x78, 0x01};
    for (size_t at = 0; at < rows.size();) {  // the rows are never empty
        const size_t n = std::min<size_t>(65535, rows.size() - at);
        z.insert(z.end(), {static_cast<std::uint8_t>(at + n == rows.size()), static_cast<std::uint8_t>(n),
                           static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(~n),
                           static_cast<std::uint8_t>(~n >> 8)});
        z.insert(z.end(), rows.begin() + static_cast<std::ptrdiff_t>(at),
                 rows.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    }
    Append32(z, Adler32(rows.data(), rows.size()));
    AppendChunk(file, "IDAT", z);
    AppendChunk(file, "IEND", {});

    const auto image = DecodePng(file.data(), file.size());
    CheckPicture(image);
    // A sound file is never refused: the right size, filters 0 to 4, and
    // transparency of a size its kind takes.
    bool sound = !wrongSize && transparencySound;
    for (size_t y = 0; y < height; ++y) sound = sound && rows[y * (rowBytes + 1)] <= 4;
    ZELVAR_FUZZ_CHECK(image.has_value() == sound);
    if (image) ZELVAR_FUZZ_CHECK(image->width == static_cast<int>(width) && image->height == static_cast<int>(height));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    CheckPicture(DecodePng(data, size));
    if (size >= 8) {
        const Bytes mended = WithCrcsMended(data, size);
        CheckPicture(DecodePng(mended.data(), mended.size()));
    }
    MadeAround(data, size);

    // Inflate keeps to its limit, and a stream it takes whole it takes with
    // exactly that much room and refuses with a byte less.
    constexpr size_t kLimit = 1 << 16;
    const auto bytes = InflateZlib(data, size, kLimit);
    if (bytes) {
        ZELVAR_FUZZ_CHECK(bytes->size() <= kLimit);
        ZELVAR_FUZZ_CHECK(InflateZlib(data, size, bytes->size()) == bytes);
        if (!bytes->empty()) ZELVAR_FUZZ_CHECK(!InflateZlib(data, size, bytes->size() - 1));
    }
    return 0;
}
