#pragma once
// The user's start-up list: how entries are added and removed, and when a
// running process counts as the same program.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvar {

// Exact, case-sensitive comparison with every entry.
bool IsProgramInList(const std::vector<std::wstring>& list, const std::wstring& path);
// Appends the paths that are not in the list yet, in order.
void AddPrograms(std::vector<std::wstring>& list, const std::vector<std::wstring>& paths);
// Removes one entry; returns the entry to select afterwards (the first one),
// or -1 when the list is empty or the index was out of range.
int RemoveProgram(std::vector<std::wstring>& list, int index);

// The file name of a path: the part after its last backslash or colon.
std::wstring ProgramFileName(const std::wstring& path);
// Same file name, ignoring the case of the letters A to Z only.
bool SameProgramFileName(const std::wstring& a, const std::wstring& b);
// Whether any running process (by its executable path) has the file name of path.
bool IsProcessInList(const std::vector<std::wstring>& processes, const std::wstring& path);

// The tooltip of the list: every entry on its own line.
std::wstring ListTooltip(const std::vector<std::wstring>& list);

// The longest path the shell takes: the system's MAX_PATH less its final null.
inline constexpr size_t kMaxStartupPathLength = 259;

// A path in the form in which two spellings of one file compare equal: "/"
// as "\", repeated separators, "." segments and the dots and blanks Windows
// ignores at the end of a name dropped, ".." taking the segment before it
// away, no separator at the end, and letters in one case (Latin, Latin-1,
// Greek and Cyrillic letters; the rest as they are).
std::wstring NormalizedPathForCompare(std::wstring_view path);

enum class StartupSkip {
    None,       // handed to the shell
    TooLong,    // longer than the shell takes, or its variables cannot be expanded
    Duplicate,  // the same file as an earlier entry
    NotAFile,   // no existing file
    Running,    // a process with its file name runs, or was started by an earlier entry
};

struct StartupDecision {
    std::wstring entry;  // as the user wrote it
    std::wstring path;   // environment variables expanded: what the shell gets
    StartupSkip skip = StartupSkip::None;
};

// What the system answers about paths.
struct StartupFileChecks {
    // The path with its environment variables expanded; nullopt when that fails.
    std::function<std::optional<std::wstring>(const std::wstring&)> expand;
    // An existing file (not a folder).
    std::function<bool(const std::wstring&)> isFile;
};

// Decides, in list order, which entries the runner hands to the shell. An
// entry handed over counts as running for the entries after it (same file
// name rule as IsProcessInList), since the check against `running` is made
// before any of them has started. The list itself is not changed.
std::vector<StartupDecision> PlanStartupPrograms(const std::vector<std::wstring>& entries,
                                                 std::vector<std::wstring> running, const StartupFileChecks& checks);

}  // namespace zelvar
