#pragma once
// The user's start-up list: how entries are added and removed, and when a
// running process counts as the same program.
#include <string>
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

}  // namespace zelvar
