#include "app/startup_programs_win.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "app/processes_win.h"
#include "app/settings.h"
#include "app/startup_list.h"
#include "app/startup_list_win.h"
#include "common/ini_win.h"
#include "common/paths_win.h"

namespace zelvar {

void RunStartupPrograms(HWND owner) {
    // The list is read from the file, not from the window, every time.
    const auto entries = ParseAutoexe(IniFile(FileBesideExe(L"config.ini")).Read(kOptionsSection, L"autoexe", L""));
    // Only existing files within the shell's path limit, each once, and none
    // that runs already or was just started by an earlier entry.
    for (const auto& path : StartupProgramsToOpen(entries))
        ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
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
