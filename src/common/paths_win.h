#pragma once
// Where the program's files are: always beside the executable, never
// relative to the current folder.
#include <string>

namespace zelvar {

std::wstring ExePath();
// The executable's folder with a trailing backslash.
std::wstring ExeFolder();
std::wstring FileBesideExe(const std::wstring& name);

}  // namespace zelvar
