#pragma once
#include "common/locale_format.h"

namespace zelvar {

// The user's short date pattern, long time pattern and AM/PM designators.
LocaleFormats ReadUserLocaleFormats();
// Low 16 bits of GetSystemDefaultLCID.
unsigned SystemDefaultLanguageId();
// The current local time as a day count.
TDateTime NowLocal();

}  // namespace zelvar
