#pragma once
// Shared by the fuzz targets: how their bytes become the program's texts and
// values, and a check that fails loudly (asserts are off in the fuzz tree).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"

namespace zelvar::fuzz {

// Fails the run with the broken property; libFuzzer keeps the input.
#define ZELVAR_FUZZ_CHECK(condition)                                                              \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

inline std::string_view Bytes(const std::uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input cut at every "\n", at most maxLines pieces; the last piece keeps the rest.
inline std::vector<std::string_view> Lines(std::string_view bytes, size_t maxLines) {
    std::vector<std::string_view> lines;
    while (!bytes.empty() && lines.size() + 1 < maxLines) {
        const size_t end = bytes.find('\n');
        if (end == std::string_view::npos) break;
        lines.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 1);
    }
    if (!bytes.empty() || lines.size() < maxLines) lines.push_back(bytes);
    return lines;
}

// A text as the program meets it: UTF-8, as its files hold it; or, behind a
// leading 0xFF byte, raw UTF-16LE code units, so that any unit (unpaired
// surrogates, NUL) can come in as a window or the INI functions would hand it over.
inline std::wstring Text(std::string_view bytes) {
    if (bytes.empty() || static_cast<unsigned char>(bytes[0]) != 0xFF) return Utf8ToUtf16(bytes);
    std::wstring text;
    for (size_t i = 1; i + 1 < bytes.size(); i += 2)
        text.push_back(
            static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
}

// Every eight bytes as one double, bit for bit (NaN, infinities and denormals included).
inline std::vector<double> Doubles(std::string_view bytes) {
    std::vector<double> values;
    for (size_t i = 0; i + sizeof(double) <= bytes.size(); i += sizeof(double)) {
        double v;
        std::memcpy(&v, bytes.data() + i, sizeof v);
        values.push_back(v);
    }
    return values;
}

}  // namespace zelvar::fuzz
