// The text of a settings file as the INI reader and editor meet it. The file
// decodes by its mark, as UTF-8 or through the code page, and its text
// survives being stored as UTF-16; a value written reads back, also from the
// stored file; a write that is refused changes nothing; every other line and
// every other value stays as it was, to the character.
#include <algorithm>
#include <cstdint>

#include "common/ini_text.h"
#include "fuzz_input.h"

using namespace zelvar;

namespace {

// A stand-in for the ANSI code page: every byte its Latin-1 character.
std::wstring Latin1(std::string_view bytes) {
    std::wstring text;
    for (char c : bytes) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return text;
}

// How a text was edited: the parts of `before` that stand unchanged at the
// start and at the end of `after`, and what lies between them on each side.
struct Edit {
    std::wstring_view removed, inserted;
};
Edit EditBetween(std::wstring_view before, std::wstring_view after) {
    size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return {before.substr(head, before.size() - head - tail), after.substr(head, after.size() - head - tail)};
}

// The names as the reader compares them: ASCII letters without case.
bool SameName(std::wstring_view a, std::wstring_view b) {
    auto fold = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    // Lines 1 to 3 what is written (section, key, value), 4 and 5 another
    // key that is looked at, 6 a second value; the rest is the file.
    const std::vector<std::string_view> lines = fuzz::Lines(fuzz::Bytes(data, size), 7);
    auto part = [&](size_t i) { return i < lines.size() ? fuzz::Text(lines[i]) : std::wstring(); };
    const std::wstring section = part(0), key = part(1), value = part(2), section2 = part(3), key2 = part(4),
                       value2 = part(5);
    const std::string_view fileBytes = lines.size() == 7 ? lines[6] : std::string_view();

    const DecodedText decoded = DecodeTextFile(fileBytes, Latin1);
    const bool markLe = fileBytes.size() >= 2 && fileBytes.substr(0, 2) == "\xFF\xFE";
    ZELVAR_FUZZ_CHECK((decoded.encoding == TextEncoding::Utf16Le) == markLe);
    if (decoded.encoding == TextEncoding::Ansi) ZELVAR_FUZZ_CHECK(decoded.text.size() == fileBytes.size());
    const DecodedText again = DecodeTextFile(Utf16LeFileBytes(decoded.text), Latin1);
    ZELVAR_FUZZ_CHECK(again.encoding == TextEncoding::Utf16Le && again.text == decoded.text);

    IniText ini(decoded.text);
    const std::optional<std::wstring> otherBefore = ini.Find(section2, key2);
    const bool existed = ini.Find(section, key).has_value();
    if (!ini.Write(section, key, value)) {
        ZELVAR_FUZZ_CHECK(ini.Text() == decoded.text);
    } else {
        ZELVAR_FUZZ_CHECK(ini.Read(section, key, L"<none>") == value);
        const bool same = SameName(section, section2) && SameName(key, key2);
        ZELVAR_FUZZ_CHECK(same ? ini.Find(section2, key2) == value : ini.Find(section2, key2) == otherBefore);
        // The value changed within its line, or new lines put in; nothing else moved.
        const Edit edit = EditBetween(decoded.text, ini.Text());
        if (existed) {
            ZELVAR_FUZZ_CHECK(edit.removed.find(L'\n') == std::wstring_view::npos);
            ZELVAR_FUZZ_CHECK(edit.inserted.find(L'\n') == std::wstring_view::npos);
        } else {
            ZELVAR_FUZZ_CHECK(edit.removed.empty());
            const auto lineEnds = std::count(edit.inserted.begin(), edit.inserted.end(), L'\n');
            ZELVAR_FUZZ_CHECK(lineEnds >= 1 && lineEnds <= 3);
        }
        // Stored as the program stores it and read again from the bytes.
        const IniText stored(DecodeTextFile(Utf16LeFileBytes(ini.Text()), Latin1).text);
        ZELVAR_FUZZ_CHECK(stored.Read(section, key, L"<none>") == value);
    }

    // Two entries at once: both or neither.
    IniText batch(decoded.text);
    if (batch.WriteAll({{section, key, value}, {section2, key2, value2}})) {
        const bool same = SameName(section, section2) && SameName(key, key2);
        ZELVAR_FUZZ_CHECK(batch.Read(section2, key2, L"<none>") == value2);
        ZELVAR_FUZZ_CHECK(batch.Read(section, key, L"<none>") == (same ? value2 : value));
    } else {
        ZELVAR_FUZZ_CHECK(batch.Text() == decoded.text);
    }
    return 0;
}
