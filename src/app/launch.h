#pragma once
// How this run of the program was started. A plain start takes no
// arguments (any it is given are ignored); Windows and the wake task start
// it with one of their own.
#include <string_view>

namespace zelvar {

enum class LaunchKind {
    Plain,           // the user, the start with Windows
    Woken,           // the wake task, at a wake moment (kWokenArgument)
    WokenStart,      // the copy that Woken starts when none runs: a start at a wake moment
    Restarted,       // Windows, after a crash, a hang or an update restart
    RemoveWakeTask,  // the uninstaller: the user's wake task goes, nothing else runs
};

inline constexpr wchar_t kWokenStartArgument[] = L"--woken-start";
inline constexpr wchar_t kRestartedArgument[] = L"--restarted";
inline constexpr wchar_t kRemoveWakeTaskArgument[] = L"--remove-wake-task";

// From the arguments after the program's path (wWinMain's command line).
LaunchKind ParseLaunch(std::wstring_view arguments);

}  // namespace zelvar
