// A language file's bytes: the lookup of the catalogue's keys and of the key
// the file's own first line carries.
#include <cstdint>

#include "fuzz_input.h"
#include "i18n/lang_lookup.h"

using namespace zelvar;

namespace {

// Keys that are the beginning of others, and some of each kind.
const wchar_t* const kKeys[] = {L"pcoff", L"pcoffinfo", L"pcoffat", L"pcon",       L"close", L"closeapplications",
                                L"main",  L"w1",        L"ws7",     L"mserrconfig"};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void CheckText(const std::optional<std::wstring>& text) {
    if (!text) return;
    // A text never runs past its line.
    ZELVAR_FUZZ_CHECK(text->find(L'\r') == std::wstring::npos && text->find(L'\n') == std::wstring::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view file = fuzz::Bytes(data, size);
    for (const wchar_t* key : kKeys) CheckText(FindLangText(file, key));

    // Valid UTF-8 comes back byte for byte through UTF-16.
    if (IsValidUtf8(file)) ZELVAR_FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(file)) == file);

    // The key of the first line (blanks around it dropped) is found, and the
    // first line with a key wins over any later one.
    std::string_view first = file.substr(0, file.find_first_of("\r\n"));
    if (first.substr(0, 3) == "\xEF\xBB\xBF") first.remove_prefix(3);
    const size_t eq = first.find('=');
    if (eq == std::string_view::npos) return 0;
    std::string_view key = first.substr(0, eq);
    while (!key.empty() && IsBlank(key.front())) key.remove_prefix(1);
    while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
    if (key.empty() || key.front() == '[' || key.front() == ';' || !IsValidUtf8(key)) return 0;
    const std::wstring wideKey = Utf8ToUtf16(key);
    const std::optional<std::wstring> text = FindLangText(file, wideKey);
    // Found, unless its text is not valid UTF-8 (then the next file in line gives it).
    std::string_view value = first.substr(eq + 1);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    ZELVAR_FUZZ_CHECK(text.has_value() == IsValidUtf8(value));
    CheckText(text);
    const std::string longer = std::string(file) + "\r\n" + std::string(key) + "=later";
    ZELVAR_FUZZ_CHECK(FindLangText(longer, wideKey) == text);
    return 0;
}
