// The published version text and the version file it comes in. A version
// that reads has at least two parts in range and reads back from its parts;
// "newer" is a strict order; the file reads the same in each of its
// encodings; the check asks only for a version that reads and is newer.
#include <cstdint>

#include "fuzz_input.h"
#include "online/update_rules.h"

using namespace zelvar;

namespace {

std::wstring Joined(const std::vector<std::uint32_t>& parts) {
    std::wstring text;
    for (size_t i = 0; i < parts.size(); ++i) text += (i ? L"." : L"") + std::to_wstring(parts[i]);
    return text;
}

std::string Utf16LeWithMark(std::wstring_view text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);

    // The whole input as the downloaded ver.txt.
    const std::optional<std::wstring> published = ReadCurrentVersion(bytes);
    for (const wchar_t* own : {L"1.7", L"0.0", L"999999999.999999999"}) {
        ZELVAR_FUZZ_CHECK(!CheckForUpdate(false, bytes, own));
        ZELVAR_FUZZ_CHECK(CheckForUpdate(true, bytes, own) == (published && IsNewerVersion(*published, own)));
    }
    if (published) ZELVAR_FUZZ_CHECK(published->find(L'\n') == std::wstring::npos);

    // Its first three lines as version texts.
    const std::vector<std::string_view> lines = fuzz::Lines(bytes, 4);
    std::vector<std::wstring> texts;
    for (size_t i = 0; i < lines.size() && i < 3; ++i) texts.push_back(fuzz::Text(lines[i]));
    for (const std::wstring& text : texts) {
        const auto parts = ParseVersion(text);
        ZELVAR_FUZZ_CHECK(!IsNewerVersion(text, text));
        if (!parts) {
            ZELVAR_FUZZ_CHECK(!IsNewerVersion(text, L"0.0") && !IsNewerVersion(L"1.7", text));
            continue;
        }
        ZELVAR_FUZZ_CHECK(parts->size() >= 2);
        for (std::uint32_t p : *parts) ZELVAR_FUZZ_CHECK(p <= 999999999u);
        ZELVAR_FUZZ_CHECK(ParseVersion(Joined(*parts)) == parts);
        // The same text stored as ver.txt reads as it, in UTF-8 with or
        // without its mark and in UTF-16 (a text holding a line break or
        // quotes is no line of its own).
        if (text.find_first_of(L"\r\n\"'") != std::wstring::npos) continue;
        const std::wstring file = L"[VER_INFO]\r\ncurrent_version=" + text + L"\r\n";
        const std::string utf8 = Utf16ToUtf8(file);
        for (const std::string& stored : {utf8, "\xEF\xBB\xBF" + utf8, Utf16LeWithMark(file)}) {
            const auto read = ReadCurrentVersion(stored);
            ZELVAR_FUZZ_CHECK(read && ParseVersion(*read) == parts);
            ZELVAR_FUZZ_CHECK(CheckForUpdate(true, stored, L"1.7") == IsNewerVersion(text, L"1.7"));
        }
    }
    // Newer is a strict order: never both ways, and it carries over.
    for (const std::wstring& a : texts)
        for (const std::wstring& b : texts) {
            ZELVAR_FUZZ_CHECK(!(IsNewerVersion(a, b) && IsNewerVersion(b, a)));
            for (const std::wstring& c : texts)
                if (IsNewerVersion(a, b) && IsNewerVersion(b, c)) ZELVAR_FUZZ_CHECK(IsNewerVersion(a, c));
        }
    return 0;
}
