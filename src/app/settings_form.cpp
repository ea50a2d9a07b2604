// config.ini and the pages: loading sets their controls in the documented
// order, saving gathers them back. Group Policy shows over the file's values
// and is read again when Windows announces a change of it.
#include <windows.h>
#include <shellapi.h>

#include "app/autostart_win.h"
#include "app/policy_win.h"
#include "app/settings.h"
#include "app/settings_file_win.h"
#include "app/zelvar.h"
#include "common/ini_win.h"
#include "common/os_error_win.h"
#include "common/paths_win.h"
#include "i18n/lang_files_win.h"
#include "common/web_addresses.h"

namespace zelvar {

void TForm1::LoadSettings() {
    const int lngDefault = SystemDefaultLanguageIndex();
    FirstStart = false;
    about_.SetVersionLine(MainWindowCaption());

    // A file another program holds open gets a few seconds; one that stays
    // unreadable is left alone for the whole run, and is no first start.
    const std::wstring path = FileBesideExe(kConfigFileName);
    const SettingsLoad load = LoadSettingsFile(path, lngDefault);
    SettingsReadOnly = !load.writable;
    // What Group Policy sets shows over the file's values; the file keeps
    // the user's own.
    Policy = ReadPolicy();
    LogPolicyProblemsOnce(Policy);
    const OptionLocks locks = PolicyOptionLocks(Policy);
    OwnOptions = load.settings;
    const Settings s = ShownSettings(load.settings, locks);
    // Windows' restart of the program, or its start at a wake moment, comes
    // after a run: never the first-start page.
    if (s.firstStart && launch_ == LaunchKind::Plain) {
        FirstStart = true;
        ShellExecuteW(hwnd_, L"open", ProductPageAddress().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    schedulerEngine_.SetTag(s.schedulerRunning ? 1 : 0);
    startup_.SetListBoxEntries(s.autoexe, -1);
    // Setting the boxes saves nothing; only the start-with-Windows value is
    // written again, so a moved program registers its new path (defaults
    // the user never chose do not register it).
    options_.LoadOptions(s, !SettingsReadOnly);
    options_.ApplyPolicy(s, locks, false);
    if (locks.autoload == false && !SettingsReadOnly) SetAutoStart(true);  // the organisation does not want it
    schedulerEngine_.ApplyPolicy(WeekPolicyOf(Policy), locks.actsheduler, s.schedulerRunning);
    language_.SelectLanguage(s.lng);

    if (load.reportUnreadable) {
        const std::wstring message = SettingsUnreadableMessage(GetLangText(L"msreadconfig"), path, load.readError);
        MessageBoxW(hwnd_, message.c_str(), ApplicationTitle(), MB_OK | MB_ICONWARNING);
    }
    if (s.firstStart) options_.TickFirstStartOptions();
}

void TForm1::SaveSettings() {
    if (SettingsReadOnly) return;  // the user was told at start that nothing is saved
    Settings s;
    options_.StoreOptions(s);
    s.autoexe = startup_.ListBoxEntries();
    s.schedulerRunning = schedulerEngine_.Running();
    s.lng = language_.SelectedLanguage() < 0 ? 0 : language_.SelectedLanguage();
    // What a policy sets is saved as the user's own value.
    s = OwnSettings(s, OwnOptions, PolicyOptionLocks(Policy));
    OwnOptions = s;

    // All ten keys land together or not at all; the controls keep their state.
    IniFile ini(FileBesideExe(kConfigFileName));
    if (WriteSettings(ini, s)) return;
    // The first-start save runs before any language was applied: then the
    // message is looked up on the spot.
    std::wstring message = Messages.MsgErrConfig;
    if (message.empty()) message = GetLangText(L"mserrconfig");
    if (message.empty()) message = L"The settings could not be saved.";
    MessageBoxW(hwnd_, message.c_str(), ApplicationTitle(), MB_OK);
}

void TForm1::SaveSchedulerRunning(bool running) {
    // A run that could not read config.ini writes nothing over it.
    if (SettingsReadOnly) return;
    IniFile config(FileBesideExe(kConfigFileName));
    if (!config.Write(kOptionsSection, L"actsheduler", running ? L"1" : L"0"))
        MessageBoxW(hwnd_, Messages.MsgErrConfig.c_str(), ApplicationTitle(), MB_OK);
}

void TForm1::ReloadPolicy() {
    // The user's own values as they are now: what the window shows where no
    // policy set it, what was kept aside where one did.
    Settings shownNow;
    options_.StoreOptions(shownNow);
    shownNow.schedulerRunning = schedulerEngine_.Running();
    const Settings own = OwnSettings(shownNow, OwnOptions, PolicyOptionLocks(Policy));
    OwnOptions.autoload = own.autoload;
    OwnOptions.allclose = own.allclose;
    OwnOptions.resetafteron = own.resetafteron;
    OwnOptions.autoupd = own.autoupd;
    OwnOptions.schedulerRunning = own.schedulerRunning;

    Policy = ReadPolicy();
    LogPolicyProblemsOnce(Policy);
    const OptionLocks locks = PolicyOptionLocks(Policy);
    const Settings shown = ShownSettings(OwnOptions, locks);
    const bool updatesBefore = options_.CheckForUpdates();
    options_.ApplyPolicy(shown, locks, !SettingsReadOnly);
    if (ActivatedOnce && updatesBefore != options_.CheckForUpdates())
        updates_.StartUpdateTimer(options_.CheckForUpdates());
    schedulerEngine_.ApplyPolicy(WeekPolicyOf(Policy), locks.actsheduler, shown.schedulerRunning);
    UpdateTrayStatus();
}

}  // namespace zelvar
