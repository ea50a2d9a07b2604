#pragma once
// The maker's site name and mail address; the site's address and the pages
// on it come from site_address.h.
#include <string>

#include "common/site_address.h"

namespace zelvar {

inline constexpr wchar_t kSiteName[] = L"zelvar.app";
inline constexpr wchar_t kMailAddress[] = L"support@zelvar.app";

}  // namespace zelvar
