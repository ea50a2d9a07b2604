#include "scheduler/sheddays_win.h"

#include "ui/control_ids.h"

namespace zelvar {

bool Tfsheddays::Create(HWND owner) { return SecondaryWindow::Create(owner, ZELVAR_SHEDDAYS_CLASS, L"", 300, 220); }

}  // namespace zelvar
