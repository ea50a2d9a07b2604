#include "common/os_error.h"

namespace zelvar {

std::wstring FormatOsErrorMessage(unsigned long code, const std::wstring& systemText) {
    if (code == 0) return L"A call to an OS function failed";
    std::wstring text = systemText;
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return L"System Error.  Code: " + std::to_wstring(code) + L".\r\n" + text;
}

}  // namespace zelvar
