// The wake probe of zelvar.exe: always the machine's own answers.
#include "power/wake_probe_win.h"

namespace zelvar {

WakeProbeValues CurrentWakeProbe() { return ProbeSystemWakeReadiness(); }

}  // namespace zelvar
