#pragma once
// The running processes of the machine, each as its executable's full path.
#include <string>
#include <vector>

namespace zelvar {

std::vector<std::wstring> ListRunningProcesses();
bool IsProcessRunning(const std::wstring& path);

}  // namespace zelvar
