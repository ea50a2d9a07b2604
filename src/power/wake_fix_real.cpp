// The wake fixes of zelvar.exe: the machine's power plan and hibernation.
#include "power/wake_fix_win.h"

namespace zelvar {

WakeFixResult ApplyWakeFix(const WakeFix& fix, HWND owner) {
    switch (fix.kind) {
        case WakeFixKind::AllowWakeTimers: return {AllowWakeTimersOnSystem(fix.onMains, fix.onBattery), 0};
        case WakeFixKind::SwitchHibernationOn: return SwitchHibernationOnElevated(owner);
        case WakeFixKind::None: break;
    }
    return {};
}

}  // namespace zelvar
