#include "power/power_actions.h"
// placeholder, replaced by the power subsystem
namespace zelvar {
bool EnablePrivilege(const wchar_t*) { return false; }
void PowerOffComputer() {}
void HibernateComputer() {}
void RestartComputer() {}
}  // namespace zelvar
