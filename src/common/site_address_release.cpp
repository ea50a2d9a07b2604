// zelvar.exe: the real site, whatever the environment says.
#include "common/site_address.h"

namespace zelvar {

std::wstring WebSiteAddress() { return kReleaseSiteAddress; }

}  // namespace zelvar
