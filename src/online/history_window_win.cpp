#include "online/history_window_win.h"

#include "ui/control_ids.h"

namespace zelvar {

bool TFhistory::Create(HWND owner) { return SecondaryWindow::Create(owner, ZELVAR_HISTORY_CLASS, L"", 480, 360); }

}  // namespace zelvar
