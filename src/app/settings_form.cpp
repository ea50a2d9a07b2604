// config.ini and the pages: loading sets their controls in the documented
// order, saving gathers them back.
#include <windows.h>
#include <shellapi.h>

#include "app/autostart_win.h"
#include "app/settings.h"
#include "app/zelvar.h"
#include "common/ini_win.h"
#include "common/os_error_win.h"
#include "common/paths_win.h"
#include "i18n/lang_files_win.h"
#include "online/web_addresses.h"

namespace zelvar {

void TForm1::LoadSettings() {
    const int lngDefault = SystemDefaultLanguageIndex();
    FirstStart = false;
    about_.SetVersionLine(MainWindowCaption());

    const Settings s = ReadSettings(IniFile(FileBesideExe(L"config.ini")), lngDefault);
    if (s.firstStart) {
        FirstStart = true;
        ShellExecuteW(hwnd_, L"open", ProductPageAddress().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    scheduler_.SetTag(s.schedulerRunning ? 1 : 0);
    startup_.SetListBoxEntries(s.autoexe, -1);
    // Setting the boxes saves nothing; only the start-with-Windows value is
    // written again, so a moved program registers its new path.
    options_.LoadOptions(s);
    language_.SelectLanguage(s.lng);
    if (s.firstStart) options_.TickFirstStartOptions();
}

void TForm1::SaveSettings() {
    Settings s;
    options_.StoreOptions(s);
    s.autoexe = startup_.ListBoxEntries();
    s.schedulerRunning = scheduler_.Running();
    s.lng = language_.SelectedLanguage() < 0 ? 0 : language_.SelectedLanguage();

    IniFile ini(FileBesideExe(L"config.ini"));
    if (WriteSettings(ini, s)) return;
    // The first-start save runs before any language was applied: then the
    // message is looked up on the spot, in English when even that fails.
    std::wstring message = Messages.MsgErrConfig;
    if (message.empty()) {
        try {
            message = GetLangText(L"mserrconfig");
        } catch (const std::exception&) {
        }
    }
    if (message.empty()) message = L"The settings could not be saved.";
    MessageBoxW(hwnd_, message.c_str(), ApplicationTitle(), MB_OK);
}

}  // namespace zelvar
