#pragma once
// The maker's web site and the program's page on it.
#include <string>

namespace zelvar {

inline constexpr wchar_t kSiteAddress[] = L"https://zelvar.app";
inline constexpr wchar_t kSiteName[] = L"zelvar.app";
inline constexpr wchar_t kMailAddress[] = L"support@zelvar.app";
inline std::wstring ProductPageAddress() { return std::wstring(kSiteAddress) + L"/soft/zelvar.html"; }

}  // namespace zelvar
