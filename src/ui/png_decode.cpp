#include "ui/png_decode.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace zelvar {
namespace {

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// ---------------------------------------------------------------- inflate

// The stream's bits, least significant first. Past the end it gives zeros
// and remembers that it ran out; callers check Failed() before they trust a
// value that bounds anything.
class BitReader {
public:
    BitReader(const std::uint8_t* data, size_t size) : data_(data), size_(size) {}

    std::uint32_t Bits(int count) {  // count 0 to 16
        while (have_ < count) {
            if (pos_ == size_) {
                failed_ = true;
                return 0;
            }
            buffer_ |= std::uint32_t{data_[pos_++]} << have_;
            have_ += 8;
        }
        const std::uint32_t value = buffer_ & ((1u << count) - 1);
        buffer_ >>= count;
        have_ -= count;
        return value;
    }

    // The next `count` bits (0 to 16) without taking them, as far as the
    // input goes; Available() says how many of them are real.
    std::uint32_t Peek(int count) {
        while (have_ < count && pos_ < size_) {
            buffer_ |= std::uint32_t{data_[pos_++]} << have_;
            have_ += 8;
        }
        return buffer_ & ((1u << count) - 1);
    }
    int Available() const { return have_; }
    void Skip(int count) {  // no more than Available()
        buffer_ >>= count;
        have_ -= count;
    }

    // Whole bytes from the next byte boundary on (stored blocks, the check
    // value): the rest of the current byte is dropped and bytes read ahead
    // are given back first.
    const std::uint8_t* Bytes(size_t count) {
        pos_ -= static_cast<size_t>(have_ / 8);
        buffer_ = 0;
        have_ = 0;
        if (size_ - pos_ < count) {
            failed_ = true;
            return nullptr;
        }
        const std::uint8_t* bytes = data_ + pos_;
        pos_ += count;
        return bytes;
    }

    bool Failed() const { return failed_; }

private:
    const std::uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    std::uint32_t buffer_ = 0;
    int have_ = 0;
    bool failed_ = false;
};

constexpr int kMaxCodeBits = 15;
constexpr int kFastBits = 9;

// A canonical Huffman code as deflate defines it by its code lengths: how
// many codes there are of each length, and the symbols in code order. Most
// symbols have short codes; those are also found in one step by the next
// kFastBits bits of the stream.
struct Huffman {
    std::array<std::uint16_t, kMaxCodeBits + 1> count{};
    std::array<std::uint16_t, 288> symbol{};
    std::array<std::uint16_t, 1 << kFastBits> fast{};  // symbol << 4 | code length; 0 for longer codes
};

// Builds the code for `lengths` (one per symbol, 0 for a symbol without a
// code, at most 288 symbols). Returns how many codes of the greatest length
// are left over: 0 for a complete code, more for an incomplete one, and a
// negative number when the lengths ask for more codes than exist.
int BuildHuffman(Huffman& code, const std::uint8_t* lengths, int symbols) {
    code.count.fill(0);
    for (int s = 0; s < symbols; ++s) ++code.count[lengths[s]];
    int left = 1;
    for (int len = 1; len <= kMaxCodeBits; ++len) {
        left = left * 2 - code.count[len];
        if (left < 0) return left;
    }
    std::array<std::uint16_t, kMaxCodeBits + 1> next{};
    for (int len = 1; len < kMaxCodeBits; ++len) next[len + 1] = static_cast<std::uint16_t>(next[len] + code.count[len]);
    for (int s = 0; s < symbols; ++s)
        if (lengths[s]) code.symbol[next[lengths[s]]++] = static_cast<std::uint16_t>(s);

    // The stream holds each code first bit first, so the table is indexed by
    // the codes reversed, every longer index ending in a code taking it too.
    code.fast.fill(0);
    int value = 0, index = 0;
    for (int len = 1; len <= kFastBits; ++len, value <<= 1) {
        for (int k = 0; k < code.count[len]; ++k, ++value, ++index) {
            int reversed = 0;
            for (int b = 0; b < len; ++b) reversed |= ((value >> b) & 1) << (len - 1 - b);
            const auto entry = static_cast<std::uint16_t>(code.symbol[static_cast<size_t>(index)] << 4 | len);
            for (int at = reversed; at < (1 << kFastBits); at += 1 << len) code.fast[static_cast<size_t>(at)] = entry;
        }
    }
    return left;
}

// A literal/length or distance code must be complete; the one exception
// deflate allows is a single code of one bit (or none at all).
bool UsableCode(const Huffman& code, int left, int symbols) {
    return left == 0 || (left > 0 && code.count[0] + code.count[1] == symbols);
}

// The next symbol, or -1 when the bits are no code of `code`. A code too
// long for the table, or one near the end of the input, is matched one bit
// at a time against the first code of each length.
int DecodeSymbol(BitReader& in, const Huffman& code) {
    const std::uint16_t entry = code.fast[in.Peek(kFastBits)];
    if (entry != 0 && (entry & 15) <= in.Available()) {
        in.Skip(entry & 15);
        return entry >> 4;
    }
    int bits = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxCodeBits; ++len) {
        bits |= static_cast<int>(in.Bits(1));
        const int count = code.count[len];
        if (bits - first < count) return code.symbol[static_cast<size_t>(index + bits - first)];
        index += count;
        first = (first + count) << 1;
        bits <<= 1;
    }
    return -1;
}

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                             33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                             1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr std::uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

struct FixedCodes {
    Huffman lengths, distances;
    FixedCodes() {
        std::array<std::uint8_t, 288> bits{};
        std::fill(bits.begin(), bits.begin() + 144, 8);
        std::fill(bits.begin() + 144, bits.begin() + 256, 9);
        std::fill(bits.begin() + 256, bits.begin() + 280, 7);
        std::fill(bits.begin() + 280, bits.end(), 8);
        BuildHuffman(lengths, bits.data(), 288);
        bits.fill(5);
        BuildHuffman(distances, bits.data(), 30);
    }
};

struct Inflation {
    BitReader in;
    std::vector<std::uint8_t> out;
    size_t limit;
};

// The symbols of one compressed block, up to its end-of-block code.
bool InflateCodes(Inflation& z, const Huffman& lengths, const Huffman& distances) {
    for (;;) {
        const int symbol = DecodeSymbol(z.in, lengths);
        if (symbol < 0 || z.in.Failed()) return false;
        if (symbol < 256) {
            if (z.out.size() == z.limit) return false;
            z.out.push_back(static_cast<std::uint8_t>(symbol));
            continue;
        }
        if (symbol == 256) return true;
        const int l = symbol - 257;
        if (l >= 29) return false;
        const size_t length = kLengthBase[l] + z.in.Bits(kLengthExtra[l]);
        const int d = DecodeSymbol(z.in, distances);
        if (d < 0 || d >= 30) return false;
        const size_t distance = kDistanceBase[d] + z.in.Bits(kDistanceExtra[d]);
        if (z.in.Failed() || distance > z.out.size() || length > z.limit - z.out.size()) return false;
        // Byte by byte: a copy may overlap what it writes.
        const size_t at = z.out.size();
        z.out.resize(at + length);
        for (size_t i = 0; i < length; ++i) z.out[at + i] = z.out[at - distance + i];
    }
}

bool InflateStored(Inflation& z) {
    const std::uint8_t* header = z.in.Bytes(4);
    if (!header) return false;
    const unsigned length = header[0] | header[1] << 8, inverse = header[2] | header[3] << 8;
    if ((length ^ 0xFFFFu) != inverse || length > z.limit - z.out.size()) return false;
    const std::uint8_t* bytes = z.in.Bytes(length);
    if (!bytes) return false;
    z.out.insert(z.out.end(), bytes, bytes + length);
    return true;
}

bool InflateDynamic(Inflation& z) {
    const int lengthCount = static_cast<int>(z.in.Bits(5)) + 257;
    const int distanceCount = static_cast<int>(z.in.Bits(5)) + 1;
    const int codeLengthCount = static_cast<int>(z.in.Bits(4)) + 4;
    if (lengthCount > 286 || distanceCount > 30) return false;

    std::array<std::uint8_t, 19> codeLengthBits{};
    for (int i = 0; i < codeLengthCount; ++i)
        codeLengthBits[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(z.in.Bits(3));
    Huffman codeLengths;
    if (z.in.Failed() || BuildHuffman(codeLengths, codeLengthBits.data(), 19) != 0) return false;

    // The lengths of both codes, one run: repeats may cross from one to the other.
    const int total = lengthCount + distanceCount;
    std::array<std::uint8_t, 286 + 30> bits{};
    for (int i = 0; i < total;) {
        const int symbol = DecodeSymbol(z.in, codeLengths);
        if (symbol < 0 || z.in.Failed()) return false;
        if (symbol < 16) {
            bits[static_cast<size_t>(i++)] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint8_t value = 0;
        int repeat;
        if (symbol == 16) {
            if (i == 0) return false;
            value = bits[static_cast<size_t>(i - 1)];
            repeat = 3 + static_cast<int>(z.in.Bits(2));
        } else if (symbol == 17) {
            repeat = 3 + static_cast<int>(z.in.Bits(3));
        } else {
            repeat = 11 + static_cast<int>(z.in.Bits(7));
        }
        if (z.in.Failed() || repeat > total - i) return false;
        while (repeat-- > 0) bits[static_cast<size_t>(i++)] = value;
    }
    if (bits[256] == 0) return false;  // a block must be able to end

    Huffman lengths, distances;
    const int lengthsLeft = BuildHuffman(lengths, bits.data(), lengthCount);
    const int distancesLeft = BuildHuffman(distances, bits.data() + lengthCount, distanceCount);
    if (!UsableCode(lengths, lengthsLeft, lengthCount) || !UsableCode(distances, distancesLeft, distanceCount))
        return false;
    return InflateCodes(z, lengths, distances);
}

// ---------------------------------------------------------------- PNG

constexpr auto kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

int ChannelsOf(int colourType) {
    switch (colourType) {
        case 0: return 1;  // grey
        case 2: return 3;  // RGB
        case 3: return 1;  // palette index
        case 4: return 2;  // grey, alpha
        case 6: return 4;  // RGBA
        default: return 0;
    }
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Undoes the row filters in place. Each row is its filter byte and then
// rowBytes bytes; the row above the first counts as zeros, and so do the
// bytes left of a row's first pixel.
bool Unfilter(std::vector<std::uint8_t>& rows, size_t rowBytes, size_t height, size_t pixelBytes) {
    const std::vector<std::uint8_t> zeros(rowBytes);
    const size_t n = pixelBytes;
    for (size_t y = 0; y < height; ++y) {
        std::uint8_t* row = &rows[y * (rowBytes + 1)];
        std::uint8_t* cur = row + 1;
        const std::uint8_t* up = y > 0 ? cur - (rowBytes + 1) : zeros.data();
        switch (row[0]) {
            case 0: break;
            case 1:  // Sub
                for (size_t i = n; i < rowBytes; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + cur[i - n]);
                break;
            case 2:  // Up
                for (size_t i = 0; i < rowBytes; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + up[i]);
                break;
            case 3:  // Average
                for (size_t i = 0; i < n; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + up[i] / 2);
                for (size_t i = n; i < rowBytes; ++i)
                    cur[i] = static_cast<std::uint8_t>(cur[i] + (cur[i - n] + up[i]) / 2);
                break;
            case 4:  // Paeth; with nothing on the left it predicts the byte above
                for (size_t i = 0; i < n; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + up[i]);
                for (size_t i = n; i < rowBytes; ++i)
                    cur[i] = static_cast<std::uint8_t>(cur[i] + Paeth(cur[i - n], up[i], up[i - n]));
                break;
            default: return false;
        }
    }
    return true;
}

// Rounded to the nearest; WIC, which decoded the pictures before, gives the
// same values (checked under Wine by the Win32 tests).
std::uint8_t Premultiply(unsigned colour, unsigned alpha) {
    return static_cast<std::uint8_t>((colour * alpha + 127) / 255);
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, size_t size) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) c = kCrcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::uint8_t* data, size_t size) {
    constexpr std::uint32_t kBase = 65521;
    constexpr size_t kRun = 5552;  // the most bytes before the sums can overflow 32 bits
    std::uint32_t a = 1, b = 0;
    while (size > 0) {
        const size_t n = std::min(size, kRun);
        for (size_t i = 0; i < n; ++i) {
            a += data[i];
            b += a;
        }
        a %= kBase;
        b %= kBase;
        data += n;
        size -= n;
    }
    return b << 16 | a;
}

std::optional<std::vector<std::uint8_t>> InflateZlib(const std::uint8_t* data, size_t size, size_t limit) {
    // Header: deflate, a window of at most 32 KiB, no preset dictionary, and
    // the two bytes a multiple of 31.
    if (!data || size < 2) return std::nullopt;
    const unsigned method = data[0], flags = data[1];
    if ((method & 0x0F) != 8 || (method >> 4) > 7 || (flags & 0x20) || ((method << 8) | flags) % 31 != 0)
        return std::nullopt;

    static const FixedCodes fixed;
    Inflation z{BitReader(data + 2, size - 2), {}, limit};
    // Deflate expands at most about 1032 times; reserve no more than the
    // input could ever give.
    z.out.reserve(size > limit / 1032 ? limit : size * 1032);
    for (bool last = false; !last;) {
        last = z.in.Bits(1) != 0;
        const std::uint32_t type = z.in.Bits(2);
        const bool ok = type == 0   ? InflateStored(z)
                        : type == 1 ? InflateCodes(z, fixed.lengths, fixed.distances)
                        : type == 2 ? InflateDynamic(z)
                                    : false;
        if (!ok || z.in.Failed()) return std::nullopt;
    }
    const std::uint8_t* check = z.in.Bytes(4);
    if (!check || BigEndian32(check) != Adler32(z.out.data(), z.out.size())) return std::nullopt;
    return std::move(z.out);
}

std::optional<PngPixels> DecodePng(const std::uint8_t* data, size_t size) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!data || size < 8 || !std::equal(kSignature, kSignature + 8, data)) return std::nullopt;

    std::uint32_t width = 0, height = 0;
    int colourType = -1;
    std::vector<std::uint8_t> palette, transparency, compressed;
    bool sawIdat = false, idatEnded = false;
    for (size_t pos = 8;;) {
        // Length, type, data, CRC over type and data; the file must end with IEND.
        if (size - pos < 12) return std::nullopt;
        const std::uint32_t length = BigEndian32(data + pos);
        if (length > size - pos - 12) return std::nullopt;
        const std::uint8_t* type = data + pos + 4;
        const std::uint8_t* body = type + 4;
        if (BigEndian32(body + length) != Crc32(type, length + 4)) return std::nullopt;
        pos += 12 + size_t{length};
        for (int i = 0; i < 4; ++i)
            if (!((type[i] >= 'A' && type[i] <= 'Z') || (type[i] >= 'a' && type[i] <= 'z'))) return std::nullopt;
        const std::string_view name(reinterpret_cast<const char*>(type), 4);

        if ((colourType < 0) != (name == "IHDR")) return std::nullopt;  // IHDR first, and only once
        if (sawIdat && name != "IDAT") idatEnded = true;
        if (name == "IHDR") {
            if (length != 13) return std::nullopt;
            width = BigEndian32(body);
            height = BigEndian32(body + 4);
            colourType = body[9];
            const int depth = body[8], compression = body[10], filter = body[11], interlace = body[12];
            if (width == 0 || height == 0 || width > kPngLargestSide || height > kPngLargestSide) return std::nullopt;
            if (depth != 8 || ChannelsOf(colourType) == 0 || compression != 0 || filter != 0 || interlace != 0)
                return std::nullopt;
        } else if (name == "PLTE") {
            if (sawIdat || length == 0 || length % 3 != 0 || length > 256 * 3) return std::nullopt;
            if (colourType == 0 || colourType == 4) return std::nullopt;  // grey has no palette
            palette.assign(body, body + length);
        } else if (name == "tRNS") {
            if (sawIdat) return std::nullopt;
            transparency.assign(body, body + length);
        } else if (name == "IDAT") {
            if (idatEnded) return std::nullopt;  // the image data is one run of chunks
            sawIdat = true;
            compressed.insert(compressed.end(), body, body + length);
        } else if (name == "IEND") {
            break;
        } else if (!(type[0] & 0x20)) {
            return std::nullopt;  // a critical chunk we do not know
        }
    }
    if (!sawIdat) return std::nullopt;
    const size_t paletteSize = palette.size() / 3;
    if (colourType == 3 && (paletteSize == 0 || transparency.size() > paletteSize)) return std::nullopt;
    if (!transparency.empty() && ((colourType == 0 && transparency.size() != 2) ||
                                  (colourType == 2 && transparency.size() != 6) || colourType == 4 || colourType == 6))
        return std::nullopt;

    const size_t channels = static_cast<size_t>(ChannelsOf(colourType));
    const size_t rowBytes = width * channels;
    const size_t expected = height * (rowBytes + 1);
    auto rows = InflateZlib(compressed.data(), compressed.size(), expected);
    if (!rows || rows->size() != expected || !Unfilter(*rows, rowBytes, height, channels)) return std::nullopt;

    // A grey or RGB colour named in tRNS (16-bit samples) is transparent.
    const auto keyed = [&transparency](const std::uint8_t* sample, size_t count) {
        if (transparency.empty()) return false;
        for (size_t i = 0; i < count; ++i)
            if (transparency[2 * i] != 0 || transparency[2 * i + 1] != sample[i]) return false;
        return true;
    };
    PngPixels image{static_cast<int>(width), static_cast<int>(height),
                    std::vector<std::uint8_t>(size_t{width} * height * 4)};
    std::uint8_t* out = image.bgra.data();
    for (size_t y = 0; y < height; ++y) {
        const std::uint8_t* p = &(*rows)[y * (rowBytes + 1) + 1];
        for (size_t x = 0; x < width; ++x, p += channels, out += 4) {
            int r, g, b, a;
            switch (colourType) {
                case 0: r = g = b = p[0]; a = keyed(p, 1) ? 0 : 255; break;
                case 2: r = p[0]; g = p[1]; b = p[2]; a = keyed(p, 3) ? 0 : 255; break;
                case 3:
                    if (p[0] >= paletteSize) return std::nullopt;
                    r = palette[size_t{p[0]} * 3];
                    g = palette[size_t{p[0]} * 3 + 1];
                    b = palette[size_t{p[0]} * 3 + 2];
                    a = p[0] < transparency.size() ? transparency[p[0]] : 255;
                    break;
                case 4: r = g = b = p[0]; a = p[1]; break;
                default: r = p[0]; g = p[1]; b = p[2]; a = p[3]; break;
            }
            out[0] = Premultiply(b, a);
            out[1] = Premultiply(g, a);
            out[2] = Premultiply(r, a);
            out[3] = static_cast<std::uint8_t>(a);
        }
    }
    return image;
}

}  // namespace zelvar
