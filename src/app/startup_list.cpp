#include "app/startup_list.h"

#include <algorithm>

namespace zelvar {

bool IsProgramInList(const std::vector<std::wstring>& list, const std::wstring& path) {
    return std::find(list.begin(), list.end(), path) != list.end();
}

void AddPrograms(std::vector<std::wstring>& list, const std::vector<std::wstring>& paths) {
    for (const auto& p : paths)
        if (!IsProgramInList(list, p)) list.push_back(p);
}

int RemoveProgram(std::vector<std::wstring>& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size())) return -1;
    list.erase(list.begin() + index);
    return list.empty() ? -1 : 0;
}

std::wstring ProgramFileName(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\:");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

bool SameProgramFileName(const std::wstring& a, const std::wstring& b) {
    const std::wstring x = ProgramFileName(a), y = ProgramFileName(b);
    if (x.size() != y.size()) return false;
    auto fold = [](wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; };
    for (size_t i = 0; i < x.size(); ++i)
        if (fold(x[i]) != fold(y[i])) return false;
    return true;
}

bool IsProcessInList(const std::vector<std::wstring>& processes, const std::wstring& path) {
    return std::any_of(processes.begin(), processes.end(),
                       [&path](const std::wstring& p) { return SameProgramFileName(p, path); });
}

std::wstring ListTooltip(const std::vector<std::wstring>& list) {
    std::wstring text;
    for (size_t i = 0; i < list.size(); ++i) text += (i ? L"\r\n" : L"") + list[i];
    return text;
}

}  // namespace zelvar
