#pragma once
// The settings file config.ini, section OPTIONS: how each value reads and
// the order in which a save writes them. The window holds the live copy in
// its controls; these functions work on plain values.
#include <string>
#include <vector>

#include "common/ini.h"

namespace zelvar {

inline constexpr wchar_t kOptionsSection[] = L"OPTIONS";

struct Settings {
    bool autoload = true;               // CheckBox2: start with Windows
    bool tray = false;                  // CheckBox4: start hidden in the tray
    bool allclose = true;               // CheckBox5: close open programs first
    std::vector<std::wstring> autoexe;  // ListBox1: programs to start
    bool logosound = true;              // CheckBox6
    bool autoupd = true;                // CheckBox7
    bool resetafteron = false;          // CheckBox10
    bool schedulerRunning = false;      // tag of PNGButton8
    bool firstStart = true;             // fs
    int lng = 1;                        // ComboBox1 index, 0..2 after reading
};

// "1" with blanks around it removed means ticked; anything else unticked.
bool ReadTickValue(const std::wstring& value);
// Stopped only for exactly "0": an empty or odd value means running.
bool ReadSchedulerRunning(const std::wstring& value);
// First start only for exactly "1".
bool ReadFirstStart(const std::wstring& value);
// The language index: a whole number 0..2; another whole number selects
// Russian (0); a value that is no number at all counts as missing and gives
// the default of this system.
int ReadLanguageIndex(const std::wstring& value, int defaultIndex);

// autoexe: entries joined by "|"; empty and all-blank pieces are skipped,
// the others kept unchanged (not trimmed).
std::vector<std::wstring> ParseAutoexe(const std::wstring& value);
std::wstring JoinAutoexe(const std::vector<std::wstring>& entries);

// Reads every key with its default; never fails.
Settings ReadSettings(const IniStore& ini, int lngDefault);
// Writes the ten keys in their order, in one go: on a store that writes all
// or nothing (the settings file) a failed save leaves what was there.
bool WriteSettings(IniStore& ini, const Settings& s);

// What the start makes of the settings file.
struct SettingsLoad {
    Settings settings;
    // False when the file is there but could not be read: this run then
    // works on the defaults and writes nothing over the user's file.
    bool writable = true;
    // Say once that the settings could not be read and will not be saved.
    bool reportUnreadable = false;
    unsigned long readError = 0;  // the system's error code then
};
// Only a missing file, or a readable one whose fs is missing or "1", is a
// first start. An unreadable file is neither read nor a first start.
SettingsLoad DecideSettingsLoad(IniFileState state, const IniStore& values, int lngDefault,
                                unsigned long readError = 0);

}  // namespace zelvar
