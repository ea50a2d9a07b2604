#include "common/ini_win.h"

#include <windows.h>

#include <vector>

namespace zelvar {

std::wstring IniFile::Read(const std::wstring& section, const std::wstring& key,
                           const std::wstring& fallback) const {
    // Grow the buffer until the value fits; the call reports size - 1 when cut.
    std::vector<wchar_t> buf(256);
    for (;;) {
        DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), buf.data(),
                                           static_cast<DWORD>(buf.size()), path_.c_str());
        if (n + 1 < buf.size() || buf.size() >= (1u << 20)) return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 4);
    }
}

namespace {

bool FitsAnsiCodePage(const std::wstring& text) {
    if (text.empty()) return true;
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                        nullptr, &lossy);
    return !lossy;
}

// The profile functions keep a file in UTF-16 when it starts with its byte
// order mark, and in the ANSI code page otherwise, where letters that code
// page lacks turn into "?". A new file therefore starts as UTF-16; an
// existing ANSI file is rewritten as UTF-16 only when a value would not fit.
bool EnsureUnicodeFileFor(const std::wstring& path, const std::wstring& text) {
    static const unsigned char kBom[2] = {0xFF, 0xFE};
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        const bool ok = WriteFile(file, kBom, 2, &written, nullptr) && written == 2;
        CloseHandle(file);
        return ok;
    }
    if (FitsAnsiCodePage(text)) return true;
    file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    if (file == INVALID_HANDLE_VALUE) return true;  // the write itself reports the failure
    LARGE_INTEGER size{};
    std::vector<char> bytes;
    if (GetFileSizeEx(file, &size) && size.QuadPart < (16 << 20)) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!bytes.empty() && (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                               read != bytes.size()))
            bytes.clear();
    }
    CloseHandle(file);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
        return true;  // already UTF-16
    std::wstring wide;
    if (!bytes.empty()) {
        const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        wide.resize(static_cast<size_t>(n));
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
    }
    // Write the converted copy beside the file, then put it in its place.
    const std::wstring temp = path + L".new";
    file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const DWORD wideBytes = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
    bool ok = WriteFile(file, kBom, 2, &written, nullptr) && written == 2;
    ok = ok && (wideBytes == 0 || (WriteFile(file, wide.data(), wideBytes, &written, nullptr) && written == wideBytes));
    CloseHandle(file);
    if (!ok || !MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool IniFile::Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    if (!EnsureUnicodeFileFor(path_, section + key + value)) return false;
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str()) != FALSE;
}

}  // namespace zelvar
