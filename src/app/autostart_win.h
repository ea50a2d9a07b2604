#pragma once
// The start-with-Windows value "Zelvar" under the run key.
#include <windows.h>

#include <string>

namespace zelvar {

inline constexpr wchar_t kRunKeyPath[] = L"software\\microsoft\\windows\\currentversion\\run";
inline constexpr wchar_t kRunValueName[] = L"Zelvar";

enum class AutoStartResult { WrittenForMachine, WrittenForUser, Removed, Failed };

// remove = false writes the exe's path under HKEY_LOCAL_MACHINE where that
// is allowed (the machine key is opened, never created), else under
// HKEY_CURRENT_USER; remove = true deletes the value from both. Failures are
// not reported to the user; the result is for the caller's bookkeeping.
AutoStartResult SetAutoStart(bool remove);

// The same with the two run keys given, so tests can point it elsewhere.
AutoStartResult SetAutoStartIn(HKEY machineRoot, const std::wstring& machinePath, HKEY userRoot,
                               const std::wstring& userPath, bool remove, const std::wstring& exePath);

}  // namespace zelvar
