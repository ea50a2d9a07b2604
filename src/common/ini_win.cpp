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

bool IniFile::Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str()) != FALSE;
}

}  // namespace zelvar
