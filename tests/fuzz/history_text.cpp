// The change history's bytes as the history window shows them: no NUL to cut
// the text short, every line end CR LF, as many line ends as the file had,
// and the shown text, saved as UTF-8, shows the same again.
#include <cstdint>

#include "fuzz_input.h"
#include "online/history_text.h"

using namespace zelvar;

namespace {

// Line ends of a text: CR LF, a lone LF and a lone CR each count one.
template <class Text>
size_t LineEnds(const Text& text) {
    size_t n = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ++n;
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            ++n;
        }
    }
    return n;
}

size_t CrLfPairs(std::string_view bytes) {
    size_t n = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) n += bytes[i] == '\r' && bytes[i + 1] == '\n';
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    const std::wstring shown = DecodeHistoryText(bytes);
    for (size_t i = 0; i < shown.size(); ++i) {
        ZELVAR_FUZZ_CHECK(shown[i] != L'\0');
        if (shown[i] == L'\r') ZELVAR_FUZZ_CHECK(i + 1 < shown.size() && shown[i + 1] == L'\n');
        if (shown[i] == L'\n') ZELVAR_FUZZ_CHECK(i > 0 && shown[i - 1] == L'\r');
    }
    // Every byte is one character in Windows-1251, and UTF-8 keeps its line ends.
    ZELVAR_FUZZ_CHECK(LineEnds(shown) == LineEnds(bytes));
    if (!IsValidUtf8(bytes)) ZELVAR_FUZZ_CHECK(shown.size() == bytes.size() + LineEnds(bytes) - CrLfPairs(bytes));
    // A mark at the start of the shown text would be taken off the saved copy.
    if (shown.empty() || shown[0] != L'\xFEFF') ZELVAR_FUZZ_CHECK(DecodeHistoryText(Utf16ToUtf8(shown)) == shown);
    return 0;
}
