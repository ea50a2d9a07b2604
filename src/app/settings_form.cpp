// config.ini and the option boxes: loading sets the controls, saving writes
// them back; the start-with-Windows value follows CheckBox2.
#include <windows.h>
#include <shellapi.h>

#include "app/autostart_win.h"
#include "app/settings.h"
#include "app/settings_file_win.h"
#include "app/zelvar.h"
#include "common/ini_win.h"
#include "common/locale_win.h"
#include "common/os_error_win.h"
#include "common/paths_win.h"
#include "online/web_addresses.h"

namespace zelvar {

void TForm1::LoadSettings() {
    const int lngDefault = DefaultLanguageForSystem(SystemDefaultLanguageId());
    FirstStart = false;
    ui::SetText(Label15, MainWindowCaption());

    // A file another program holds open gets a few seconds; one that stays
    // unreadable is left alone for the whole run, and is no first start.
    const std::wstring path = FileBesideExe(kConfigFileName);
    const SettingsLoad load = LoadSettingsFile(path, lngDefault);
    SettingsReadOnly = !load.writable;
    const Settings& s = load.settings;
    if (s.firstStart) {
        FirstStart = true;
        ShellExecuteW(hwnd_, L"open", ProductPageAddress().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    SchedulerTag = s.schedulerRunning ? 1 : 0;

    SetListBoxEntries(s.autoexe, -1);

    // Setting the boxes saves nothing; only the start-with-Windows value is
    // written again, so a moved program registers its new path.
    loadingSettings_ = true;
    ui::SetChecked(CheckBox2, s.autoload);
    ui::SetChecked(CheckBox4, s.tray);
    ui::SetChecked(CheckBox5, s.allclose);
    ui::SetChecked(CheckBox6, s.logosound);
    ui::SetChecked(CheckBox7, s.autoupd);
    ui::SetChecked(CheckBox10, s.resetafteron);
    loadingSettings_ = false;
    // Defaults the user never chose do not register the program either.
    if (s.autoload && !SettingsReadOnly) SetAutoStart(false);

    SendMessageW(ComboBox1, CB_SETCURSEL, s.lng, 0);
    if (SendMessageW(ComboBox1, CB_GETCURSEL, 0, 0) == CB_ERR) SendMessageW(ComboBox1, CB_SETCURSEL, 0, 0);

    if (load.reportUnreadable) {
        const std::wstring message = SettingsUnreadableMessage(GetLangText(L"msreadconfig"), path, load.readError);
        MessageBoxW(hwnd_, message.c_str(), ApplicationTitle(), MB_OK | MB_ICONWARNING);
    }

    if (s.firstStart) {
        ui::SetChecked(CheckBox2, true);
        CheckBox2Click();
        ui::SetChecked(CheckBox4, true);
        CheckBox4Click();
    }
}

void TForm1::SaveSettings() {
    if (SettingsReadOnly) return;  // the user was told at start that nothing is saved
    Settings s;
    s.autoload = ui::IsChecked(CheckBox2);
    s.tray = ui::IsChecked(CheckBox4);
    s.allclose = ui::IsChecked(CheckBox5);
    s.autoexe = ListBoxEntries();
    s.logosound = ui::IsChecked(CheckBox6);
    s.autoupd = ui::IsChecked(CheckBox7);
    s.resetafteron = ui::IsChecked(CheckBox10);
    s.schedulerRunning = SchedulerTag != 0;
    s.lng = SelectedLanguage() < 0 ? 0 : SelectedLanguage();

    // All ten keys land together or not at all; the controls keep their state.
    IniFile ini(FileBesideExe(kConfigFileName));
    if (WriteSettings(ini, s)) return;
    // The first-start save runs before any language was applied: then the
    // message is looked up on the spot.
    std::wstring message = MsgErrConfig;
    if (message.empty()) message = GetLangText(L"mserrconfig");
    if (message.empty()) message = L"The settings could not be saved.";
    MessageBoxW(hwnd_, message.c_str(), ApplicationTitle(), MB_OK);
}

void TForm1::CheckBox2Click() { SetAutoStart(!ui::IsChecked(CheckBox2)); }
void TForm1::CheckBox4Click() { SaveSettings(); }
void TForm1::CheckBox5Click() { SaveSettings(); }
void TForm1::CheckBox6Click() { SaveSettings(); }
void TForm1::CheckBox7Click() { SaveSettings(); }

int TForm1::SelectedLanguage() const { return static_cast<int>(SendMessageW(ComboBox1, CB_GETCURSEL, 0, 0)); }

}  // namespace zelvar
