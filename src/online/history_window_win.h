#pragma once
// TFhistory: the window that shows the list of changes between versions.
#include "ui/secondary_window_win.h"

namespace zelvar {

class TFhistory : public ui::SecondaryWindow {
public:
    bool Create(HWND owner);
};

}  // namespace zelvar
