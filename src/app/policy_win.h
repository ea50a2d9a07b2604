#pragma once
// Reads the policy values from the registry: HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER, SOFTWARE\Policies\Zelvar and its subkey Week.
#include <windows.h>

#include "app/policy.h"

namespace zelvar {

// The values of the table under root\path that are there, as they are.
RawPolicyValues ReadPolicyValues(HKEY root, const std::wstring& path);
// Both hives, decided.
PolicySet ReadPolicy();
// Each value that had to be ignored gets one line in the night log, the
// first time this run finds it so.
void LogPolicyProblemsOnce(const PolicySet& policy);

}  // namespace zelvar
