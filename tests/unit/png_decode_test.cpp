// The program's PNG decoder: the pictures as they ship, small files made
// here that take each kind of deflate block and each row filter, and
// damaged files, which must all be refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "ui/art_rules.h"
#include "ui/png_decode.h"

using namespace zelvar;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

void Append32(Bytes& to, std::uint32_t v) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                                   static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
    to.insert(to.end(), bytes, bytes + 4);
}

std::optional<Bytes> Inflate(const Bytes& z, size_t limit = 1 << 20) { return InflateZlib(z.data(), z.size(), limit); }

std::optional<PngPixels> Decode(const Bytes& png) { return DecodePng(png.data(), png.size()); }

// ---- zlib streams, written here

// Deflate's bits: values least significant bit first, Huffman codes first
// bit first.
class BitWriter {
public:
    void Put(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
    }
    void Code(std::uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
    }
    // The block's bytes behind a zlib header, closed with the check value of `content`.
    Bytes Zlib(const Bytes& content) {
        Bytes z(2 + bytes_.size());
        z[0] = 0x78;
        z[1] = 0x01;
        std::copy(bytes_.begin(), bytes_.end(), z.begin() + 2);
        Append32(z, Adler32(content.data(), content.size()));
        return z;
    }

private:
    void Bit(std::uint32_t b) {
        if (used_ % 8 == 0) bytes_.push_back(0);
        bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | b << (used_ % 8));
        ++used_;
    }
    Bytes bytes_;
    int used_ = 0;
};

Bytes StoredZlib(const Bytes& raw, size_t blockSize = 65535) {
    Bytes z{0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min(blockSize, raw.size() - at);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.insert(z.end(), {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                           static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    Append32(z, Adler32(raw.data(), raw.size()));
    return z;
}

constexpr int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                   33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                   1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Symbols of the fixed code.
void FixedSymbol(BitWriter& w, int symbol) {
    if (symbol < 144) w.Code(0x30 + symbol, 8);
    else if (symbol < 256) w.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280) w.Code(symbol - 256, 7);
    else w.Code(0xC0 + symbol - 280, 8);
}
void FixedMatch(BitWriter& w, int length, int distance) {
    int l = 28;
    while (kLengthBase[l] > length) --l;
    FixedSymbol(w, 257 + l);
    w.Put(length - kLengthBase[l], kLengthExtra[l]);
    int d = 29;
    while (kDistanceBase[d] > distance) --d;
    w.Code(d, 5);
    w.Put(distance - kDistanceBase[d], kDistanceExtra[d]);
}

// One fixed-code block: the longest match among the last 400 bytes
// (overlapping ones too), else a literal.
Bytes FixedZlib(const Bytes& raw) {
    BitWriter w;
    w.Put(1, 1);
    w.Put(1, 2);
    for (size_t i = 0; i < raw.size();) {
        size_t best = 0, bestDistance = 0;
        for (size_t d = 1; d <= std::min<size_t>(i, 400); ++d) {
            size_t n = 0;
            while (n < 258 && i + n < raw.size() && raw[i + n] == raw[i + n - d]) ++n;
            if (n > best) best = n, bestDistance = d;
        }
        if (best >= 3) {
            FixedMatch(w, static_cast<int>(best), static_cast<int>(bestDistance));
            i += best;
        } else {
            FixedSymbol(w, raw[i++]);
        }
    }
    FixedSymbol(w, 256);
    return w.Zlib(raw);
}

// A dynamic block whose code lengths are 0, 1, 2 or 8, sent with a small
// code-length code of our own: 8 "0", 0 "10", 1 "110", 2 "1110", and the
// repeat symbol 16 "1111"; or, as an incomplete code, only the first two.
// `body` writes the block's symbols.
enum class Start { Plain, WithRepeat, IncompleteCodeLengths };
template <typename Body>
Bytes DynamicZlib(const std::vector<int>& literalLengths, const std::vector<int>& distanceLengths, Body body,
                  const Bytes& content, Start start = Start::Plain) {
    BitWriter w;
    w.Put(1, 1);
    w.Put(2, 2);
    w.Put(static_cast<std::uint32_t>(literalLengths.size() - 257), 5);
    w.Put(static_cast<std::uint32_t>(distanceLengths.size() - 1), 5);
    w.Put(18 - 4, 4);
    // In deflate's order 16 17 18 0 8 7 9 6 10 5 11 4 12 3 13 2 14 1.
    const bool incomplete = start == Start::IncompleteCodeLengths;
    const int repeat = incomplete ? 0 : 4, two = incomplete ? 0 : 4, one = incomplete ? 0 : 3;
    for (int bits : {repeat, 0, 0, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, two, 0, one})
        w.Put(static_cast<std::uint32_t>(bits), 3);
    if (start == Start::WithRepeat) {
        w.Code(0b1111, 4);
        w.Put(0, 2);
    }
    std::vector<int> all = literalLengths;
    all.insert(all.end(), distanceLengths.begin(), distanceLengths.end());
    for (int bits : all) {
        if (bits == 8) w.Code(0b0, 1);
        else if (bits == 0) w.Code(0b10, 2);
        else if (bits == 1) w.Code(0b110, 3);
        else w.Code(0b1110, 4);
    }
    body(w);
    return w.Zlib(content);
}

// ---- PNG files, written here

Bytes Chunk(const char* type, const Bytes& body) {
    Bytes c;
    Append32(c, static_cast<std::uint32_t>(body.size()));
    c.insert(c.end(), type, type + 4);
    c.insert(c.end(), body.begin(), body.end());
    Append32(c, Crc32(c.data() + 4, body.size() + 4));
    return c;
}

Bytes Header(std::uint32_t width, std::uint32_t height, int colourType, int depth = 8, int interlace = 0) {
    Bytes h;
    Append32(h, width);
    Append32(h, height);
    h.insert(h.end(), {static_cast<std::uint8_t>(depth), static_cast<std::uint8_t>(colourType), 0, 0,
                       static_cast<std::uint8_t>(interlace)});
    return h;
}

Bytes File(std::initializer_list<Bytes> chunks) {
    Bytes f{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Bytes& c : chunks) f.insert(f.end(), c.begin(), c.end());
    return f;
}

// A plain file: header, the rows (each with its filter byte) in stored
// blocks, end; `extra` chunks go between header and image data.
Bytes Png(std::uint32_t width, std::uint32_t height, int colourType, const Bytes& rows,
          const std::vector<Bytes>& extra = {}) {
    Bytes f = File({Chunk("IHDR", Header(width, height, colourType))});
    for (const Bytes& c : extra) f.insert(f.end(), c.begin(), c.end());
    const Bytes tail = File({Chunk("IDAT", StoredZlib(rows)), Chunk("IEND", {})});
    f.insert(f.end(), tail.begin() + 8, tail.end());
    return f;
}

// A valid 2 x 2 RGBA file to damage.
Bytes SmallRgba() {
    return Png(2, 2, 6, {0, 255, 0, 0, 255, 0, 255, 0, 128, 2, 1, 2, 3, 4, 5, 6, 7, 8});
}

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(PngCheckValues, CrcAndAdlerMatchTheirKnownValues) {
    const Bytes digits = Text("123456789");
    EXPECT_EQ(Crc32(digits.data(), digits.size()), 0xCBF43926u);
    EXPECT_EQ(Crc32(nullptr, 0), 0u);
    const Bytes word = Text("Wikipedia");
    EXPECT_EQ(Adler32(word.data(), word.size()), 0x11E60398u);
    EXPECT_EQ(Adler32(nullptr, 0), 1u);
    // Long runs of the largest byte: the sums are reduced before they overflow.
    const Bytes ff(100000, 0xFF);
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : ff) a = (a + v) % 65521, b = (b + a) % 65521;
    EXPECT_EQ(Adler32(ff.data(), ff.size()), b << 16 | a);
}

TEST(PngInflate, StoredFixedAndDynamicBlocksGiveTheirBytes) {
    Bytes raw;
    for (int i = 0; i < 70000; ++i) raw.push_back(static_cast<std::uint8_t>(i * 7 % 251));
    // Stored: one empty block, blocks of every size up to the largest.
    EXPECT_EQ(Inflate(StoredZlib({})), Bytes{});
    EXPECT_EQ(Inflate(StoredZlib(raw)), raw);
    EXPECT_EQ(Inflate(StoredZlib(Bytes(raw.begin(), raw.begin() + 1000), 333)), Bytes(raw.begin(), raw.begin() + 1000));

    // Fixed: literals of both code lengths, then a match at the least and
    // the greatest length of every length code, each at the least or the
    // greatest distance of a distance code in turn.
    BitWriter w;
    w.Put(1, 1);
    w.Put(1, 2);
    Bytes expected;
    std::uint32_t seed = 1;
    while (expected.size() < 33000) {
        seed = seed * 1103515245u + 12345u;
        expected.push_back(static_cast<std::uint8_t>(seed >> 16));
        FixedSymbol(w, expected.back());
    }
    std::vector<int> distances;
    for (int d = 0; d < 30; ++d)
        distances.insert(distances.end(), {kDistanceBase[d], kDistanceBase[d] + (1 << kDistanceExtra[d]) - 1});
    size_t next = 0;
    for (int l = 0; l < 29; ++l) {
        for (int length : {kLengthBase[l], std::min(kLengthBase[l] + (1 << kLengthExtra[l]) - 1, l == 27 ? 257 : 258)}) {
            const int distance = distances[next++ % distances.size()];
            FixedMatch(w, length, distance);
            for (int i = 0; i < length; ++i)
                expected.push_back(expected[expected.size() - static_cast<size_t>(distance)]);
        }
    }
    FixedSymbol(w, 256);
    EXPECT_EQ(Inflate(w.Zlib(expected)), expected);
    // Overlapping copies: "aaaa..." from one byte back, "abcabc..." from three.
    const Bytes runs = Text("a" + std::string(300, 'a') + "abc" + std::string("abcabcabcabcabcabcabcabcabcabcab"));
    EXPECT_EQ(Inflate(FixedZlib(runs)), runs);

    // Dynamic, as zlib wrote it at level 9 for this text.
    std::string text;
    for (int i = 0; i < 60; ++i) {
        char line[40];
        std::snprintf(line, sizeof line, "%03d off at 22:00, on at 07:30; ", i);
        text += line;
    }
    static const char kByZlib[] =
        "\x78\xda\x7d\xd0\xb9\x6d\x02\x50\x14\x00\xc1\x56\x7e\x01\x04\xef\xe4\x72\x35\x4e\x08\x4d\xe2\xfe\x85\x68\x60\xc2"
        "\xd5\x66\x13\x11\xe7\xfd\x7a\x9d\xdf\xff\x53\xf5\x8c\xb8\x9c\xf7\xdf\x37\xe2\xf6\xec\xf8\x39\x11\xe9\x5d\xde\xed"
        "\x3d\xde\xeb\x7d\xf5\xbe\x79\xdf\xbd\x1f\xdc\x69\xb5\xb4\x5a\x5a\x2d\xad\x96\x56\x4b\xab\xa5\xd5\xd2\x6a\x69\xb5"
        "\xb4\x5a\x59\xad\xac\x56\x56\x2b\xab\x95\xd5\xca\x6a\x65\xb5\xb2\x5a\x59\xad\xac\xd6\x56\x6b\xab\xb5\xd5\xda\x6a"
        "\x6d\xb5\xb6\x5a\x5b\xad\xad\xd6\x56\x6b\xab\x8d\xd5\xc6\x6a\x63\xb5\xb1\xda\x58\x6d\xac\x36\x56\x1b\xab\x8d\xd5"
        "\xc6\x6a\x6b\xb5\xb5\xda\x5a\x6d\xad\xb6\x56\x5b\xab\xad\xd5\xd6\x6a\x6b\xb5\xa5\xda\x07\xf7\xb3\xca\x08";
    const Bytes byZlib(kByZlib, kByZlib + sizeof kByZlib - 1);
    ASSERT_EQ((byZlib[2] >> 1) & 3, 2) << "a dynamic block";
    EXPECT_EQ(Inflate(byZlib), Text(text));

    // Dynamic with a distance code of a single one-bit code, the one
    // incomplete code deflate allows: "A", then 3 more from 1 back.
    std::vector<int> literals(258, 8);
    literals[254] = literals[255] = 0;  // 0..253, 256 and 257 take the 256 eight-bit codes
    const auto aaaa = [](BitWriter& w) {
        w.Code('A', 8);
        w.Code(255, 8);  // 257: length 3
        w.Code(0, 1);    // distance 1
        w.Code(254, 8);  // end of block
    };
    EXPECT_EQ(Inflate(DynamicZlib(literals, {1}, aaaa, Text("AAAA"))), Text("AAAA"));

    // Blocks of different kinds in one stream (a match reaching back into
    // the block before), and bytes after the stream's end.
    BitWriter two;
    two.Put(0, 1);
    two.Put(1, 2);
    FixedSymbol(two, 'x');
    FixedSymbol(two, 256);
    two.Put(1, 1);
    two.Put(1, 2);
    FixedSymbol(two, 'y');
    FixedMatch(two, 4, 2);
    FixedSymbol(two, 256);
    Bytes z = two.Zlib(Text("xyxyxy"));
    z.push_back(0x55);
    EXPECT_EQ(Inflate(z), Text("xyxyxy"));
}

TEST(PngInflate, CodesThatAreNoCodeAreRefused) {
    std::vector<int> literals(258, 8);
    literals[254] = literals[255] = 0;
    const Bytes a = Text("A");
    const auto justA = [](BitWriter& w) {
        w.Code('A', 8);
        w.Code(254, 8);
    };
    ASSERT_EQ(Inflate(DynamicZlib(literals, {1}, justA, a)), a) << "the block as a sound one";

    // A distance code of one two-bit code is incomplete the wrong way.
    EXPECT_FALSE(Inflate(DynamicZlib(literals, {2}, justA, a)));
    // Literal codes: one code too many, one too few.
    EXPECT_FALSE(Inflate(DynamicZlib(std::vector<int>(258, 8), {1}, justA, a)));
    std::vector<int> short1 = literals;
    short1[253] = 0;
    EXPECT_FALSE(Inflate(DynamicZlib(short1, {1}, justA, a)));
    // Complete, but the end-of-block symbol has no code.
    std::vector<int> noEnd(258, 8);
    noEnd[256] = noEnd[257] = 0;
    EXPECT_FALSE(Inflate(DynamicZlib(noEnd, {1}, justA, a)));
    // A repeat of the previous length before there is one.
    EXPECT_FALSE(Inflate(DynamicZlib(literals, {1}, justA, a, Start::WithRepeat)));
    // More literal/length or distance codes than deflate has.
    std::vector<int> tooMany = literals, noDistance(31, 0);
    tooMany.resize(287, 0);
    noDistance[0] = 1;
    EXPECT_FALSE(Inflate(DynamicZlib(tooMany, {1}, justA, a)));
    EXPECT_FALSE(Inflate(DynamicZlib(literals, noDistance, justA, a)));

    // Code-length codes: incomplete (lengths 8 and 0 alone, enough for
    // this block), over-subscribed (four one-bit codes).
    std::vector<int> eightsAndZeros = literals;
    eightsAndZeros[254] = 8;
    eightsAndZeros[257] = 0;
    const auto eightBitA = [](BitWriter& w) {
        w.Code('A', 8);
        w.Code(255, 8);
    };
    ASSERT_EQ(Inflate(DynamicZlib(eightsAndZeros, {0}, eightBitA, a)), a);
    EXPECT_FALSE(Inflate(DynamicZlib(eightsAndZeros, {0}, eightBitA, a, Start::IncompleteCodeLengths)));
    BitWriter w;
    w.Put(1, 1);
    w.Put(2, 2);
    w.Put(0, 5);
    w.Put(0, 5);
    w.Put(0, 4);
    for (int i = 0; i < 4; ++i) w.Put(1, 3);
    EXPECT_FALSE(Inflate(w.Zlib({})));
}

TEST(PngInflate, DamagedStreamsAreRefused) {
    const Bytes text = Text("off at 22:00, on at 07:30, off at 22:00, on at 07:30");
    const Bytes good = FixedZlib(text);
    ASSERT_EQ(Inflate(good), text);

    // Every shorter piece of the stream.
    for (size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(Inflate(Bytes(good.begin(), good.begin() + n))) << n;
    // The header: not deflate, a window over 32 KiB, a preset dictionary, a bad check.
    for (auto [b0, b1] : {std::pair{0x79, 0x00}, std::pair{0x88, 0x1C}, std::pair{0x78, 0xBB}, std::pair{0x78, 0x02}}) {
        Bytes z = good;
        z[0] = static_cast<std::uint8_t>(b0);
        z[1] = static_cast<std::uint8_t>(b1);
        EXPECT_FALSE(Inflate(z)) << b0 << " " << b1;
    }
    // The check value.
    Bytes z = good;
    z.back() ^= 1;
    EXPECT_FALSE(Inflate(z));
    // More bytes than the caller takes; exactly as many is fine.
    EXPECT_FALSE(Inflate(good, text.size() - 1));
    EXPECT_EQ(Inflate(good, text.size()), text);
    EXPECT_FALSE(Inflate(StoredZlib(text), text.size() - 1));
    // A stored block whose length and its complement disagree.
    z = StoredZlib(text);
    z[5] ^= 1;
    EXPECT_FALSE(Inflate(z));
    // Block type 3.
    BitWriter reserved;
    reserved.Put(1, 1);
    reserved.Put(3, 2);
    EXPECT_FALSE(Inflate(reserved.Zlib({})));

    // Fixed-code symbols deflate leaves unused (lengths 286, 287, distances
    // 30, 31), and a distance further back than the output.
    for (int bad : {286, 287}) {
        BitWriter w;
        w.Put(1, 1);
        w.Put(1, 2);
        FixedSymbol(w, 'A');
        FixedSymbol(w, bad);
        w.Code(0, 5);
        FixedSymbol(w, 256);
        EXPECT_FALSE(Inflate(w.Zlib(Text("AAAA")))) << bad;
    }
    for (int bad : {30, 31}) {
        BitWriter w;
        w.Put(1, 1);
        w.Put(1, 2);
        FixedSymbol(w, 'A');
        FixedSymbol(w, 257);
        w.Code(static_cast<std::uint32_t>(bad), 5);
        FixedSymbol(w, 256);
        EXPECT_FALSE(Inflate(w.Zlib(Text("AAAA")))) << bad;
    }
    BitWriter far;
    far.Put(1, 1);
    far.Put(1, 2);
    FixedSymbol(far, 'A');
    FixedMatch(far, 3, 2);
    FixedSymbol(far, 256);
    EXPECT_FALSE(Inflate(far.Zlib(Text("AAAA"))));
}

TEST(PngDecode, EveryShippedPictureDecodesAtItsHeaderSize) {
    int pictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZELVAR_SOURCE_DIR "/res/art")) {
        if (entry.path().extension() != ".png") continue;
        ++pictures;
        const Bytes file = ReadFile(entry.path());
        const std::string name = entry.path().filename().string();
        const auto size = PngImageSize(file.data(), file.size());
        ASSERT_TRUE(size) << name;
        const auto image = Decode(file);
        ASSERT_TRUE(image) << name;
        EXPECT_EQ(image->width, size->width) << name;
        EXPECT_EQ(image->height, size->height) << name;
        ASSERT_EQ(image->bgra.size(), static_cast<size_t>(size->width) * size->height * 4) << name;
        size_t inked = 0, overflows = 0;
        for (size_t i = 0; i < image->bgra.size(); i += 4) {
            const std::uint8_t a = image->bgra[i + 3];
            if (a) ++inked;
            if (image->bgra[i] > a || image->bgra[i + 1] > a || image->bgra[i + 2] > a) ++overflows;
        }
        EXPECT_EQ(overflows, 0u) << name;
        EXPECT_GT(inked, image->bgra.size() / 4 / 20) << name;
    }
    EXPECT_EQ(pictures, 60);
}

TEST(PngDecode, EachFilterUndoesItsRow) {
    // Grey, one byte a pixel; values worked out by hand. Sub and Average
    // wrap at 256; Average sums before it halves.
    const Bytes rows = {0, 10, 20, 30,     // None:    10  20  30
                        1, 5, 5, 250,      // Sub:      5  10   4
                        2, 1, 2, 200,      // Up:       6  12 204
                        3, 100, 100, 100,  // Average: 103 157  24
                        4, 1, 1, 1};       // Paeth:  104 158  25 (each time the byte above)
    const auto image = Decode(Png(3, 5, 0, rows));
    ASSERT_TRUE(image);
    const int grey[] = {10, 20, 30, 5, 10, 4, 6, 12, 204, 103, 157, 24, 104, 158, 25};
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(image->bgra[i * 4], grey[i]) << i;
        EXPECT_EQ(image->bgra[i * 4 + 2], grey[i]) << i;
        EXPECT_EQ(image->bgra[i * 4 + 3], 255) << i;
    }

    // Paeth's choices in its third row: above; left (the same as above);
    // the upper left; above on a tie with the upper left; above; left on a
    // tie with the upper left. In the first row it takes the pixel on the left.
    const auto paeth = Decode(Png(6, 3, 0, {4, 50, 10, 10, 10, 10, 10,  // 50 60 70 80 90 100
                                            0, 50, 60, 10, 20, 40, 43,  // 50 60 10 20 40  43
                                            4, 10, 40, 201, 0, 250, 1}));
    ASSERT_TRUE(paeth);
    const int paethGrey[] = {50, 60, 70, 80, 90, 100, 50, 60, 10, 20, 40, 43, 60, 100, 5, 20, 34, 35};
    for (int i = 0; i < 18; ++i) EXPECT_EQ(paeth->bgra[i * 4], paethGrey[i]) << i;

    // Four bytes a pixel: Sub and Average reach one pixel back, not one byte.
    const auto rgba = Decode(Png(2, 2, 6, {1, 10, 20, 30, 255, 1, 2, 3, 0,  //
                                           3, 0, 0, 0, 0, 9, 8, 7, 0}));
    ASSERT_TRUE(rgba);
    // Row 0: (10 20 30 255) (11 22 33 255); row 1: (5 10 15 127) (17 24 31 191).
    const Bytes expected = {30, 20, 10, 255, 33, 22, 11, 255, 7, 5, 2, 127, 23, 18, 13, 191};
    EXPECT_EQ(rgba->bgra, expected);

    // A filter type beyond the five.
    EXPECT_FALSE(Decode(Png(3, 1, 0, {5, 1, 2, 3})));
}

TEST(PngDecode, EveryColourKindComesOutAsPremultipliedBgra) {
    // RGBA: colours scaled by alpha, rounded to the nearest.
    auto image = Decode(Png(4, 1, 6, {0, 255, 128, 0, 128, 10, 20, 30, 0, 200, 100, 50, 255, 255, 255, 255, 1}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bgra, (Bytes{0, 64, 128, 128, 0, 0, 0, 0, 50, 100, 200, 255, 1, 1, 1, 1}));

    // RGB: opaque; with tRNS, the one colour it names is transparent.
    const Bytes rgbRows = {0, 1, 2, 3, 4, 5, 6};
    image = Decode(Png(2, 1, 2, rgbRows));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bgra, (Bytes{3, 2, 1, 255, 6, 5, 4, 255}));
    image = Decode(Png(2, 1, 2, rgbRows, {Chunk("tRNS", {0, 4, 0, 5, 0, 6})}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bgra, (Bytes{3, 2, 1, 255, 0, 0, 0, 0}));
    // A key with a high byte never matches 8-bit samples.
    image = Decode(Png(2, 1, 2, rgbRows, {Chunk("tRNS", {1, 4, 0, 5, 0, 6})}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bgra[7], 255);

    // Palette, with alpha for its first entries only.
    const Bytes palette = Chunk("PLTE", {255, 0, 0, 0, 255, 0, 0, 0, 255});
    image = Decode(Png(3, 1, 3, {0, 2, 0, 1}, {palette, Chunk("tRNS", {51, 0})}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bgra, (Bytes{255, 0, 0, 255, 0, 0, 51, 51, 0, 0, 0, 0}));
    image = Decode(Png(3, 1, 3, {0, 2, 0, 1}, {palette}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bgra, (Bytes{255, 0, 0, 255, 0, 0, 255, 255, 0, 255, 0, 255}));

    // Grey with alpha; grey with a transparent level.
    image = Decode(Png(2, 1, 4, {0, 200, 51, 7, 255}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bgra, (Bytes{40, 40, 40, 51, 7, 7, 7, 255}));
    image = Decode(Png(2, 1, 0, {0, 9, 10}, {Chunk("tRNS", {0, 9})}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bgra, (Bytes{0, 0, 0, 0, 10, 10, 10, 255}));
}

TEST(PngDecode, ImageDataOverSeveralChunksAndChunksThatMaySkip) {
    Bytes rows;
    for (int y = 0; y < 3; ++y) rows.insert(rows.end(), {0, 1, 2, 3, 4, 5, 6, 7, 8});
    const Bytes z = StoredZlib(rows);
    const Bytes ancillary = Chunk("tEXt", Text(std::string("Comment\0made here", 17)));
    const auto image = Decode(File({Chunk("IHDR", Header(2, 3, 6)), ancillary, Chunk("PLTE", {1, 2, 3}),
                                    Chunk("IDAT", Bytes(z.begin(), z.begin() + 3)), Chunk("IDAT", {}),
                                    Chunk("IDAT", Bytes(z.begin() + 3, z.end())), Chunk("zlVR", {9}),
                                    Chunk("IEND", {}), Text("anything after the end")}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 3);
    EXPECT_EQ(image->bgra[6 * 4 - 1], 8);

    // Image data split by another chunk is no longer one run.
    EXPECT_FALSE(Decode(File({Chunk("IHDR", Header(2, 3, 6)), Chunk("IDAT", Bytes(z.begin(), z.begin() + 3)),
                              ancillary, Chunk("IDAT", Bytes(z.begin() + 3, z.end())), Chunk("IEND", {})})));
}

TEST(PngDecode, SidesUpTo4096Pixels) {
    Bytes wide(1 + 4096 * 4, 0x80);
    wide[0] = 0;
    auto image = Decode(Png(4096, 1, 6, wide));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bgra.size(), 4096u * 4);
    Bytes tall;
    for (int y = 0; y < 4096; ++y) tall.insert(tall.end(), {0, 9});
    image = Decode(Png(1, 4096, 0, tall));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->height, 4096);

    for (auto [w, h] : {std::pair{4097u, 1u}, std::pair{1u, 4097u}, std::pair{0u, 1u}, std::pair{1u, 0u},
                        std::pair{0xFFFFFFFFu, 0xFFFFFFFFu}})
        EXPECT_FALSE(Decode(Png(w, h, 0, {0, 9}))) << w << " x " << h;
    // The largest picture with far too little data behind it: refused, and
    // the short stream is all that is read.
    EXPECT_FALSE(Decode(Png(4096, 4096, 6, {0, 1, 2, 3, 4})));
}

TEST(PngDecode, DamagedFilesAreRefused) {
    const Bytes good = SmallRgba();
    ASSERT_TRUE(Decode(good));
    EXPECT_FALSE(DecodePng(nullptr, 0));
    // Each byte of the file is covered by the signature, a length or a CRC:
    // a single changed bit anywhere, and every shorter piece, is refused.
    for (size_t i = 0; i < good.size(); ++i) {
        for (int bit : {0, 7}) {
            Bytes bad = good;
            bad[i] ^= static_cast<std::uint8_t>(1 << bit);
            EXPECT_FALSE(Decode(bad)) << "byte " << i << " bit " << bit;
        }
        EXPECT_FALSE(Decode(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(i)))) << "cut at " << i;
    }

    const Bytes rows = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    const Bytes header = Chunk("IHDR", Header(2, 1, 6));
    const Bytes idat = Chunk("IDAT", StoredZlib(rows));
    const Bytes end = Chunk("IEND", {});
    ASSERT_TRUE(Decode(File({header, idat, end})));
    // A chunk length beyond the file, as large as it gets.
    Bytes idatHuge = idat;
    idatHuge[0] = idatHuge[1] = idatHuge[2] = idatHuge[3] = 0xFF;
    EXPECT_FALSE(Decode(File({header, idatHuge, end})));

    // Chunks out of place, missing, or unknown and critical.
    EXPECT_FALSE(Decode(File({idat, header, end})));
    EXPECT_FALSE(Decode(File({header, header, idat, end})));
    EXPECT_FALSE(Decode(File({header, end})));
    EXPECT_FALSE(Decode(File({header, idat})));
    EXPECT_FALSE(Decode(File({header, Chunk("ZLVR", {}), idat, end})));
    EXPECT_FALSE(Decode(File({header, Chunk("zl1r", {}), idat, end})));
    EXPECT_FALSE(Decode(File({Chunk("IHDR", {0, 0, 0, 2, 0, 0, 0, 1, 8, 6, 0, 0}), idat, end})));

    // Headers this decoder does not take: 16 bits, sub-byte palettes,
    // interlaced, unknown colour types, other compression or filter methods.
    EXPECT_FALSE(Decode(File({Chunk("IHDR", Header(2, 1, 6, 16)), idat, end})));
    EXPECT_FALSE(Decode(File({Chunk("IHDR", Header(2, 1, 3, 4)), Chunk("PLTE", {1, 2, 3}), idat, end})));
    EXPECT_FALSE(Decode(File({Chunk("IHDR", Header(2, 1, 6, 8, 1)), idat, end})));
    for (int colourType : {1, 5, 7}) EXPECT_FALSE(Decode(File({Chunk("IHDR", Header(2, 1, colourType)), idat, end})));
    for (int at : {10, 11}) {
        Bytes h = Header(2, 1, 6);
        h[static_cast<size_t>(at)] = 1;
        EXPECT_FALSE(Decode(File({Chunk("IHDR", h), idat, end}))) << at;
    }

    // Less or more image data than the header implies.
    EXPECT_FALSE(Decode(Png(2, 1, 6, Bytes(rows.begin(), rows.end() - 1))));
    Bytes longer = rows;
    longer.push_back(0);
    EXPECT_FALSE(Decode(Png(2, 1, 6, longer)));
    EXPECT_FALSE(Decode(Png(2, 2, 6, rows)));

    // Palettes: none, an index beyond it, a tRNS longer than it, palettes
    // of the wrong size, a palette for grey, a palette after the image data.
    const Bytes palette = Chunk("PLTE", {1, 2, 3, 4, 5, 6});
    EXPECT_FALSE(Decode(Png(2, 1, 3, {0, 0, 1})));
    EXPECT_FALSE(Decode(Png(2, 1, 3, {0, 0, 2}, {palette})));
    EXPECT_FALSE(Decode(Png(2, 1, 3, {0, 0, 1}, {palette, Chunk("tRNS", {1, 2, 3})})));
    EXPECT_FALSE(Decode(Png(2, 1, 3, {0, 0, 1}, {Chunk("PLTE", {1, 2, 3, 4})})));
    EXPECT_FALSE(Decode(Png(2, 1, 3, {0, 0, 1}, {Chunk("PLTE", {})})));
    EXPECT_FALSE(Decode(Png(2, 1, 3, {0, 0, 1}, {Chunk("PLTE", Bytes(257 * 3, 1))})));
    EXPECT_FALSE(Decode(Png(2, 1, 0, {0, 0, 1}, {palette})));
    const Bytes paletteIdat = Chunk("IDAT", StoredZlib({0, 0, 1}));
    EXPECT_FALSE(Decode(File({Chunk("IHDR", Header(2, 1, 3)), paletteIdat, palette, end})));
    ASSERT_TRUE(Decode(File({Chunk("IHDR", Header(2, 1, 3)), palette, paletteIdat, end})));
    // Transparency where it has no meaning or the wrong size.
    EXPECT_FALSE(Decode(Png(2, 1, 6, rows, {Chunk("tRNS", {0, 1})})));
    EXPECT_FALSE(Decode(Png(1, 1, 2, {0, 1, 2, 3}, {Chunk("tRNS", {0, 1})})));
    EXPECT_FALSE(Decode(Png(1, 1, 0, {0, 1}, {Chunk("tRNS", {0, 1, 0, 1, 0, 1})})));
}
