#pragma once
// Text helpers: UTF-8 <-> UTF-16 without any code page, trimming, numbers.
#include <optional>
#include <string>
#include <string_view>

namespace zelvar {

// Invalid UTF-8 sequences become U+FFFD; never throws.
std::wstring Utf8ToUtf16(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::wstring_view utf16);
// Strict UTF-8: no overlong forms, surrogates, values above U+10FFFF or cut-off sequences.
bool IsValidUtf8(std::string_view bytes);

// Removes blanks and control characters (code <= 32) at both ends, like the
// trimming the settings rules talk about.
std::wstring Trim(std::wstring_view s);
bool IsBlank(std::wstring_view s);

// A whole decimal number with an optional sign and nothing else (blanks
// around it allowed); nullopt for anything else or out of the int range.
std::optional<int> ParseWholeNumber(std::wstring_view s);

}  // namespace zelvar
