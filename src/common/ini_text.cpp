#include "common/ini_text.h"

#include "common/text.h"

namespace zelvar {

namespace {

// The blanks the profile reader drops around names and values.
bool IsIniBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A; }

std::wstring_view TrimIni(std::wstring_view s) {
    while (!s.empty() && IsIniBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsIniBlank(s.back())) s.remove_suffix(1);
    return s;
}

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

std::wstring_view Unquote(std::wstring_view v) {
    if (v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// A value that the reader would change (blanks at its ends, or quotes it
// would take off) goes into quotes, so it reads back exactly.
std::wstring QuoteForWriting(const std::wstring& v) {
    if (v.empty()) return v;
    const bool blankEnds = IsIniBlank(v.front()) || IsIniBlank(v.back());
    if (blankEnds || Unquote(v).size() != v.size()) return L"\"" + v + L"\"";
    return v;
}

// One line: [begin, contentEnd) is its text without the line end,
// [contentEnd, next) the line end itself ("\r\n", "\n" or nothing at the end).
struct Line {
    size_t begin, contentEnd, next;
};

// The line that starts at pos (pos < text.size()).
Line LineAt(const std::wstring& text, size_t pos) {
    const size_t lf = text.find(L'\n', pos);
    if (lf == std::wstring::npos) return {pos, text.size(), text.size()};
    const size_t end = (lf > pos && text[lf - 1] == L'\r') ? lf - 1 : lf;
    return {pos, end, lf + 1};
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::wstring_view name;  // section or key name, trimmed
    size_t valueBegin = 0;   // for keys: where the text after "=" and its blanks begins
};

ParsedLine Parse(const std::wstring& text, const Line& line) {
    ParsedLine p;
    const std::wstring_view content(text.data() + line.begin, line.contentEnd - line.begin);
    const std::wstring_view t = TrimIni(content);
    if (t.empty() || t.front() == L';') return p;
    if (t.front() == L'[') {
        const size_t close = t.rfind(L']');
        if (close == std::wstring_view::npos) return p;  // not a header, and no key either
        p.kind = LineKind::Section;
        p.name = TrimIni(t.substr(1, close - 1));
        return p;
    }
    const size_t eq = content.find(L'=');
    if (eq == std::wstring_view::npos) return p;
    p.kind = LineKind::Key;
    p.name = TrimIni(content.substr(0, eq));
    size_t v = eq + 1;
    while (v < content.size() && IsIniBlank(content[v])) ++v;
    p.valueBegin = line.begin + v;
    return p;
}

struct Location {
    bool sectionFound = false;
    std::optional<Line> keyLine;
    Line lastSectionLine{};  // last line of the section that holds anything (its header at least)
};

// One pass over the text, without keeping its lines: files of many
// megabytes are read and edited as quickly as small ones.
Location Locate(const std::wstring& text, std::wstring_view section, std::wstring_view key) {
    Location where;
    bool inside = false;
    for (size_t pos = 0; pos < text.size();) {
        const Line line = LineAt(text, pos);
        pos = line.next;
        const ParsedLine p = Parse(text, line);
        if (p.kind == LineKind::Section) {
            if (inside) break;  // only the first section of that name counts
            inside = SameName(p.name, section);
            if (inside) {
                where.sectionFound = true;
                where.lastSectionLine = line;
            }
            continue;
        }
        if (!inside) continue;
        if (!TrimIni(std::wstring_view(text.data() + line.begin, line.contentEnd - line.begin)).empty())
            where.lastSectionLine = line;
        if (p.kind == LineKind::Key && SameName(p.name, key)) {
            where.keyLine = line;
            break;
        }
    }
    return where;
}

bool ValidName(std::wstring_view name, std::wstring_view forbidden) {
    if (name.empty() || TrimIni(name).size() != name.size()) return false;
    return name.find_first_of(forbidden) == std::wstring_view::npos;
}

bool ValidEntry(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    static constexpr wchar_t kLineBreaks[] = L"\r\n";
    static constexpr wchar_t kNotInSection[] = L"]\r\n";
    static constexpr wchar_t kNotInKey[] = L"=\r\n";
    if (!ValidName(section, kNotInSection) || !ValidName(key, kNotInKey)) return false;
    if (key.front() == L'[' || key.front() == L';') return false;
    return value.find_first_of(std::wstring_view(kLineBreaks, 2)) == std::wstring::npos &&
           value.find(L'\0') == std::wstring::npos;
}

// The line end the file already uses, CR LF for a new or one-line file.
std::wstring LineEndOf(const std::wstring& text) {
    const size_t lf = text.find(L'\n');
    if (lf == std::wstring::npos || (lf > 0 && text[lf - 1] == L'\r')) return L"\r\n";
    return L"\n";
}

}  // namespace

DecodedText DecodeTextFile(std::string_view bytes, const std::function<std::wstring(std::string_view)>& ansi) {
    auto b = [&bytes](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    DecodedText out;
    if (bytes.size() >= 2 && ((b(0) == 0xFF && b(1) == 0xFE) || (b(0) == 0xFE && b(1) == 0xFF))) {
        const bool little = b(0) == 0xFF;
        out.encoding = little ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
        out.text.reserve(bytes.size() / 2);
        size_t i = 2;
        for (; i + 1 < bytes.size(); i += 2)
            out.text.push_back(static_cast<wchar_t>(little ? (b(i) | (b(i + 1) << 8)) : ((b(i) << 8) | b(i + 1))));
        if (i < bytes.size()) out.text.push_back(0xFFFD);  // half a code unit at the end
        return out;
    }
    if (bytes.size() >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF) {
        out.encoding = TextEncoding::Utf8Bom;
        out.text = Utf8ToUtf16(bytes.substr(3));
        return out;
    }
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (!ascii && IsValidUtf8(bytes)) {
        out.encoding = TextEncoding::Utf8;
        out.text = Utf8ToUtf16(bytes);
        return out;
    }
    out.encoding = TextEncoding::Ansi;
    out.text = ansi ? ansi(bytes) : Utf8ToUtf16(bytes);
    return out;
}

std::string Utf16LeFileBytes(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(2 + text.size() * 2);
    bytes += "\xFF\xFE";
    for (wchar_t c : text) {
        const auto u = static_cast<unsigned>(c) & 0xFFFF;
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    }
    return bytes;
}

TextEncoding EncodingForRewrite(TextEncoding old, bool fitsAnsiCodePage) {
    return (old == TextEncoding::Ansi && fitsAnsiCodePage) ? TextEncoding::Ansi : TextEncoding::Utf16Le;
}

std::optional<std::wstring> IniText::Find(std::wstring_view section, std::wstring_view key) const {
    const Location where = Locate(text_, section, key);
    if (!where.keyLine) return std::nullopt;
    const Line& line = *where.keyLine;
    const size_t begin = Parse(text_, line).valueBegin;
    return std::wstring(Unquote(TrimIni(std::wstring_view(text_.data() + begin, line.contentEnd - begin))));
}

std::wstring IniText::Read(const std::wstring& section, const std::wstring& key, const std::wstring& fallback) const {
    auto value = Find(section, key);
    if (value) return std::move(*value);
    return fallback;
}

bool IniText::Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    if (!ValidEntry(section, key, value)) return false;
    const std::wstring written = QuoteForWriting(value);
    const Location where = Locate(text_, section, key);
    if (where.keyLine) {
        // Only the value changes; the key as written and the blanks after "=" stay.
        const Line& line = *where.keyLine;
        const size_t begin = Parse(text_, line).valueBegin;
        text_.replace(begin, line.contentEnd - begin, written);
        return true;
    }
    const std::wstring eol = LineEndOf(text_);
    if (where.sectionFound) {
        // After the section's last line that holds anything, so the blank
        // lines before the next section stay where they are.
        const Line& last = where.lastSectionLine;
        std::wstring insert;
        if (last.next == last.contentEnd) insert = eol;  // the last line of the file had no line end
        insert += key + L"=" + written + eol;
        text_.insert(last.next, insert);
        return true;
    }
    if (!text_.empty() && text_.back() != L'\n') text_ += eol;
    text_ += L"[" + section + L"]" + eol + key + L"=" + written + eol;
    return true;
}

bool IniText::WriteAll(const std::vector<IniEntry>& entries) {
    for (const auto& e : entries)
        if (!ValidEntry(e.section, e.key, e.value)) return false;
    for (const auto& e : entries) Write(e.section, e.key, e.value);
    return true;
}

}  // namespace zelvar
