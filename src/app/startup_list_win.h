#pragma once
// The start-up entries as the system sees them: which of them to hand to
// the shell now.
#include <string>
#include <vector>

#include "app/startup_list.h"

namespace zelvar {

// The checks of PlanStartupPrograms against this system: environment
// variables expanded with ExpandEnvironmentStringsW, files by their attributes.
StartupFileChecks SystemStartupFileChecks();

// The paths to open, in list order: existing files, within the shell's path
// limit, each file once, none whose program runs already.
std::vector<std::wstring> StartupProgramsToOpen(const std::vector<std::wstring>& entries);

}  // namespace zelvar
