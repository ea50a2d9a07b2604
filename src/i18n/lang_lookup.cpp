#include "i18n/lang_lookup.h"

#include "common/text.h"

namespace zelvar {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The text of one line when its key is `key`.
std::optional<std::string_view> TextOfLine(std::string_view line, std::string_view key) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view name = TrimBlanks(line.substr(0, eq));
    if (name.empty() || name.front() == '[' || name.front() == ';') return std::nullopt;
    if (name != key) return std::nullopt;
    std::string_view text = line.substr(eq + 1);
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

}  // namespace

const std::array<LanguageInfo, kLanguageCount>& LanguageList() {
    static const std::array<LanguageInfo, kLanguageCount> list = {{
        {L"Russian", L"Russian.ini"},
        {L"English", L"English.ini"},
        {L"Deutsch", L"Deutsch.ini"},
    }};
    return list;
}

bool IsLanguageIndex(int index) { return index >= 0 && index < kLanguageCount; }

std::wstring LanguageFileName(int index) {
    if (!IsLanguageIndex(index)) return {};
    return std::wstring(LanguageList()[static_cast<size_t>(index)].fileName);
}

std::wstring LanguageFilePath(std::wstring_view programFolder, int index) {
    std::wstring path(programFolder);
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    path += L"languages\\";
    path += LanguageFileName(index);
    return path;
}

int DefaultLanguageIndex(unsigned long languageId) {
    // By the primary language alone: every Russian locale reads Russian,
    // every German one (Germany, Austria, Switzerland, ...) German.
    switch (languageId & 0x3FFu) {
        case 0x19u: return kRussianLanguageIndex;
        case 0x07u: return kGermanLanguageIndex;
        default: return kEnglishLanguageIndex;
    }
}

int LanguageIndexOrRussian(int index) { return IsLanguageIndex(index) ? index : kRussianLanguageIndex; }

std::optional<std::wstring> FindLangText(std::string_view bytes, std::wstring_view key) {
    if (key.empty()) return std::nullopt;
    const std::string wanted = Utf16ToUtf8(key);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    while (!bytes.empty()) {
        const size_t end = bytes.find_first_of("\r\n");
        const std::string_view line = bytes.substr(0, end);
        if (end == std::string_view::npos) {
            bytes = {};
        } else {
            const size_t next =
                (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? end + 2 : end + 1;
            bytes.remove_prefix(next);
        }
        if (const auto text = TextOfLine(line, wanted)) {
            // Garbage would show as garbage; a text that is not UTF-8 is no text.
            if (!IsValidUtf8(*text)) return std::nullopt;
            return Utf8ToUtf16(*text);
        }
    }
    return std::nullopt;
}

std::string LanguageFileAsUtf8(std::string bytes) {
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xFE)
        return bytes;
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return Utf16ToUtf8(text);
}

std::wstring FormatLanguageFileErrorMessage(std::wstring_view path, std::wstring_view systemText) {
    std::wstring text(systemText);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    std::wstring message = L"Cannot open the language file \"" + std::wstring(path) + L"\".";
    if (!text.empty()) message += L"\r\n" + text;
    return message;
}

}  // namespace zelvar
