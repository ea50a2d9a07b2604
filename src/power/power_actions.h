#pragma once
// The program's only effects on the machine's power state. Two builds link
// two implementations: zelvar.exe the real one, zelvar_test.exe (and the
// tests) a recording one that logs the action beside the exe and returns at
// once, as a resume would.

namespace zelvar {

// Enables a privilege in the process token; true only if every call
// succeeded. One implementation, shared by both builds (power_privilege_win.cpp).
bool EnablePrivilege(const wchar_t* name);
// Each requests SeShutdownPrivilege anew and raises OsError when the system
// refuses the action.
void PowerOffComputer();
// Returns when the machine has resumed.
void HibernateComputer();
void RestartComputer();

// The recording implementation's log, for what else the test build records
// instead of doing (the wake fixes): appends "<action> <local time>" to
// power_actions.log beside the exe, raising OsError when the line did not
// reach it. Defined in power_actions_recording.cpp alone.
void RecordPowerAction(const char* action);

}  // namespace zelvar
