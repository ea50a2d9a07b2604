#include "common/ini_win.h"

#include <windows.h>

namespace zelvar {

std::wstring DecodeAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

std::optional<std::string> EncodeAnsi(std::wstring_view text) {
    if (text.empty()) return std::string();
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                                      0, nullptr, &lossy);
    if (n <= 0 || lossy) return std::nullopt;
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), bytes.data(), n,
                        nullptr, &lossy);
    if (lossy) return std::nullopt;
    // Only what decodes back to the same text counts as fitting.
    if (DecodeAnsi(bytes) != text) return std::nullopt;
    return bytes;
}

namespace {

IniLoad FromRead(FileRead r) {
    IniLoad load;
    load.state = r.state;
    load.error = r.error;
    if (r.state == IniFileState::Read) {
        DecodedText decoded = DecodeTextFile(r.bytes, DecodeAnsi);
        load.encoding = decoded.encoding;
        load.values = IniText(std::move(decoded.text));
    }
    return load;
}

}  // namespace

IniLoad IniFile::Load(const std::wstring& path, const RetryPolicy& retry) {
    return FromRead(ReadWholeFileRetrying(path, retry));
}

std::wstring IniFile::Read(const std::wstring& section, const std::wstring& key, const std::wstring& fallback) const {
    const IniLoad load = FromRead(ReadWholeFile(path_));
    lastReadState_ = load.state;
    return load.values.Read(section, key, fallback);
}

bool IniFile::Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    return WriteAll({{section, key, value}});
}

bool IniFile::WriteAll(const std::vector<IniEntry>& entries) {
    IniLoad load = FromRead(ReadWholeFile(path_));
    if (load.state == IniFileState::Unreadable) {
        SetLastError(load.error);
        return false;
    }
    const std::wstring before = load.values.Text();
    if (!load.values.WriteAll(entries)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const std::wstring& after = load.values.Text();
    // Nothing changes: the file already says it, in whatever encoding it has.
    if (load.state == IniFileState::Read && after == before) return true;

    std::optional<std::string> ansi;
    if (load.state == IniFileState::Read && load.encoding == TextEncoding::Ansi) ansi = EncodeAnsi(after);
    const TextEncoding encoding =
        load.state == IniFileState::Read ? EncodingForRewrite(load.encoding, ansi.has_value()) : TextEncoding::Utf16Le;
    const std::string bytes = encoding == TextEncoding::Ansi ? *ansi : Utf16LeFileBytes(after);
    return ReplaceWholeFile(path_, bytes, fault_);
}

}  // namespace zelvar
