#include "app/startup_programs_win.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "app/processes_win.h"
#include "app/settings.h"
#include "app/startup_list.h"
#include "common/ini_win.h"
#include "common/paths_win.h"

namespace zelvar {

void RunStartupPrograms(HWND owner) {
    // The list is read from the file, not from the window, every time.
    const auto entries = ParseAutoexe(IniFile(FileBesideExe(L"config.ini")).Read(kOptionsSection, L"autoexe", L""));
    if (entries.empty()) return;
    const auto running = ListRunningProcesses();
    for (const auto& entry : entries) {
        if (IsProcessInList(running, entry)) continue;
        // An entry that cannot be opened is passed over silently.
        ShellExecuteW(owner, L"open", entry.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

void PlayStartSound() {
    HRSRC res = FindResourceW(nullptr, L"LOGOSND", L"WAVE");
    if (!res) return;
    HGLOBAL data = LoadResource(nullptr, res);
    if (!data) return;
    const void* bytes = LockResource(data);
    if (!bytes) return;
    // Resources stay mapped for the life of the program, so the asynchronous
    // play may go on reading them after this returns.
    sndPlaySoundW(static_cast<LPCWSTR>(bytes), SND_ASYNC | SND_MEMORY);
}

}  // namespace zelvar
