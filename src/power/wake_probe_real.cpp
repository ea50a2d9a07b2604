// The wake probe of zelvar.exe: always the machine's own answers.
#include "power/wake_probe_win.h"
#include "power/wake_task_win.h"

namespace zelvar {

WakeProbeValues CurrentWakeProbe() {
    WakeProbeValues v = ProbeSystemWakeReadiness();
    v.wakeTaskHeld = WakeTaskHeldNow();
    return v;
}

}  // namespace zelvar
