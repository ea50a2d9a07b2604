#pragma once
#include "common/locale_format.h"

namespace zelvar {

// The user's short date pattern, long time pattern and AM/PM designators.
LocaleFormats ReadUserLocaleFormats();
// The current local time as a day count.
TDateTime NowLocal();

}  // namespace zelvar
