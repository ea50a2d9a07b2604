#pragma once
// The program's web site and every address on it, built here from the one
// site address. WebSiteAddress has one definition per executable:
// site_address_release.cpp (zelvar.exe) always gives the real site;
// site_address_test.cpp (zelvar_test.exe and the tests) gives the address in
// ZELVAR_TEST_SITE when that is set, so tests can serve the files themselves.
#include <string>

namespace zelvar {

inline constexpr wchar_t kReleaseSiteAddress[] = L"https://zelvar.app";

// The site, without a trailing slash.
std::wstring WebSiteAddress();

inline std::wstring VersionFileAddress() { return WebSiteAddress() + L"/soft/ver.txt"; }
inline std::wstring HistoryFileAddress() { return WebSiteAddress() + L"/soft/zelvar_history.txt"; }
inline std::wstring ProductPageAddress() {
    return WebSiteAddress() + L"/index.php?option=com_content&view=article&id=185:zelvar&catid=51:utiliti&Itemid=79";
}

}  // namespace zelvar
