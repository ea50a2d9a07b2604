// The start-up panel: the list of programs to start, its editing, the runner
// and the start sound.
#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

#include "app/processes_win.h"
#include "app/settings.h"
#include "app/startup_list.h"
#include "app/startup_list_win.h"
#include "app/zelvar.h"
#include "common/ini_win.h"
#include "common/os_error_win.h"
#include "common/paths_win.h"

namespace zelvar {

std::vector<std::wstring> TForm1::ListBoxEntries() const {
    std::vector<std::wstring> entries;
    const int count = static_cast<int>(SendMessageW(ListBox1, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int len = static_cast<int>(SendMessageW(ListBox1, LB_GETTEXTLEN, i, 0));
        std::wstring entry(static_cast<size_t>(len) + 1, L'\0');
        SendMessageW(ListBox1, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
        entry.resize(static_cast<size_t>(len));
        entries.push_back(std::move(entry));
    }
    return entries;
}

void TForm1::SetListBoxEntries(const std::vector<std::wstring>& entries, int selected) {
    SendMessageW(ListBox1, LB_RESETCONTENT, 0, 0);
    for (const auto& e : entries) SendMessageW(ListBox1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
    if (selected >= 0) SendMessageW(ListBox1, LB_SETCURSEL, selected, 0);
    ui::SetVisible(PNGButton4, !entries.empty());
    // The paths are longer than the panel is wide: the hint shows them whole.
    hints_.Set(ListBox1, ListTooltip(entries));
}

void TForm1::PNGButton1Click() {
    wchar_t file[32768] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = L"*.*\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    auto entries = ListBoxEntries();
    if (GetOpenFileNameW(&ofn)) AddPrograms(entries, {file});
    SetListBoxEntries(entries, static_cast<int>(SendMessageW(ListBox1, LB_GETCURSEL, 0, 0)));
    SaveSettings();  // also after a cancelled dialog
    InvalidateRect(PNGButton1, nullptr, TRUE);
}

void TForm1::PNGButton4Click() {
    InvalidateRect(PNGButton4, nullptr, TRUE);
    const int index = static_cast<int>(SendMessageW(ListBox1, LB_GETCURSEL, 0, 0));
    if (index == LB_ERR) {
        MessageBoxW(hwnd_, MsgSelString.c_str(), ApplicationTitle(), MB_OK);
        return;
    }
    auto entries = ListBoxEntries();
    const std::wstring question = entries[static_cast<size_t>(index)] + L"\r" + MsgRemoveExe;
    if (MessageBoxW(hwnd_, question.c_str(), ApplicationTitle(), MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
    const int next = RemoveProgram(entries, index);
    SetListBoxEntries(entries, next);
    SaveSettings();
}

void TForm1::RunStartupPrograms() {
    // The list is read from the file, not from the window, every time.
    const auto entries = ParseAutoexe(IniFile(FileBesideExe(L"config.ini")).Read(kOptionsSection, L"autoexe", L""));
    // Only existing files within the shell's path limit, each once, and none
    // that runs already or was just started by an earlier entry.
    for (const auto& path : StartupProgramsToOpen(entries))
        ShellExecuteW(hwnd_, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::PlayStartSound() {
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
