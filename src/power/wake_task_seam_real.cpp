// The wake task of zelvar.exe: always Windows' Task Scheduler.
#include "power/wake_task_win.h"

namespace zelvar {

std::unique_ptr<WakeTaskRegistrar> CurrentWakeTaskRegistrar() { return MakeTaskSchedulerRegistrar(); }

}  // namespace zelvar
