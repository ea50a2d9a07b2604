#pragma once
// Tfsheddays: the dialog that copies one time of the day editor to several weekdays.
#include "ui/secondary_window_win.h"

namespace zelvar {

class Tfsheddays : public ui::SecondaryWindow {
public:
    bool Create(HWND owner);
};

}  // namespace zelvar
