#pragma once
// The text of an INI file as it stands on disk, read and edited line by line.
// Reading follows the platform's profile reader (first section of a name,
// first key in it, names without regard to case, blanks around names and
// values dropped, one pair of quotes around a value removed). Editing touches
// only the one line of a key, or adds one; every other line stays exactly as
// it was, blanks, comments, empty lines and line ends included.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ini.h"

namespace zelvar {

// How a text file is stored. Utf8 is a file without a byte order mark whose
// bytes are valid UTF-8 and not all ASCII; Ansi is any other file without one.
enum class TextEncoding { Utf16Le, Utf16Be, Utf8Bom, Utf8, Ansi };

struct DecodedText {
    std::wstring text;  // without the byte order mark
    TextEncoding encoding = TextEncoding::Utf16Le;
};

// Decodes a file's bytes by its byte order mark, else as UTF-8 when they are
// valid UTF-8, else through `ansi` (the system's ANSI code page on Windows).
DecodedText DecodeTextFile(std::string_view bytes, const std::function<std::wstring(std::string_view)>& ansi);

// The file's bytes in UTF-16 little endian with its byte order mark.
std::string Utf16LeFileBytes(std::wstring_view text);

// The encoding a rewritten file gets: UTF-16 with its mark, which the
// platform's profile functions read right on every system, except that an
// ANSI file stays ANSI while everything in it fits the code page.
TextEncoding EncodingForRewrite(TextEncoding old, bool fitsAnsiCodePage);

class IniText : public IniStore {
public:
    IniText() = default;
    explicit IniText(std::wstring text) : text_(std::move(text)) {}

    const std::wstring& Text() const { return text_; }

    // The value of key in the first section named section; nullopt when
    // either is missing.
    std::optional<std::wstring> Find(std::wstring_view section, std::wstring_view key) const;

    std::wstring Read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& fallback) const override;
    // Sets the value in place, adds the key at the end of its section, or
    // adds the section at the end of the text. False, with the text
    // unchanged, for names or values a line cannot hold (line breaks, "="
    // or "]" in a name, blanks around a name).
    bool Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
    // All entries or, when one of them cannot be written, none.
    bool WriteAll(const std::vector<IniEntry>& entries) override;

private:
    std::wstring text_;
};

}  // namespace zelvar
