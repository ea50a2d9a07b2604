// zelvar_test.exe and the tests: ZELVAR_TEST_SITE (e.g. http://127.0.0.1:8080)
// points the program at a local server; unset or empty, the real site.
#include <windows.h>

#include <iterator>

#include "common/site_address.h"

namespace zelvar {

std::wstring WebSiteAddress() {
    wchar_t buf[512];
    const DWORD n = GetEnvironmentVariableW(L"ZELVAR_TEST_SITE", buf, static_cast<DWORD>(std::size(buf)));
    // Unset, empty, or too long to be a sane address: the real site.
    if (n == 0 || n >= std::size(buf)) return kReleaseSiteAddress;
    std::wstring site(buf, n);
    while (!site.empty() && site.back() == L'/') site.pop_back();
    return site.empty() ? std::wstring(kReleaseSiteAddress) : site;
}

}  // namespace zelvar
