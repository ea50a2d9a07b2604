#include "power/ucountform.h"

#include "app/control_ids.h"
#include "app/ui_win.h"

namespace zelvar {

bool TCountForm::Create(HINSTANCE instance, HWND owner) {
    if (!SecondaryWindow::Create(instance, owner, ZELVAR_COUNT_CLASS, L"Zelvar", 254, 97, WS_POPUP,
                                 WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TOOLWINDOW))
        return false;
    SetLayeredWindowAttributes(hwnd_, 0, 150, LWA_ALPHA);
    return true;
}

LRESULT TCountForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return SecondaryWindow::HandleMessage(msg, wp, lp); }

}  // namespace zelvar
