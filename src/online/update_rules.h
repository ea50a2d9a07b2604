#pragma once
// The update check's decisions: which published version counts as newer,
// what the version file says, when Timer_upd runs next, and what the history
// window shows after a fetch. Plain values in, plain values out.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvar {

// The update question when the language file has no text for it ("msupdate").
// Reads: "Доступна новая версия программы Zelvar. Хотите обновить?"
inline constexpr wchar_t kUpdateQuestionFallback[] =
    L"\u0414\u043e\u0441\u0442\u0443\u043f\u043d\u0430 \u043d\u043e\u0432\u0430\u044f "
    L"\u0432\u0435\u0440\u0441\u0438\u044f \u043f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u044b Zelvar. "
    L"\u0425\u043e\u0442\u0438\u0442\u0435 \u043e\u0431\u043d\u043e\u0432\u0438\u0442\u044c?";

// A version text "major.minor" with optionally more parts, each part a
// decimal whole number of digits only (at most 999999999); blanks around the
// whole are allowed. nullopt for anything else ("", "1", "1.", ".7", "-1.8").
std::optional<std::vector<std::uint32_t>> ParseVersion(std::wstring_view text);

// True when published is a valid version and later than own, part by part,
// missing parts counting as 0 (1.10 and 2.0 are later than 1.7; 1.7.0 is not).
bool IsNewerVersion(std::wstring_view published, std::wstring_view own);

// The value of current_version in section VER_INFO of the version file's raw
// bytes, read as an INI file: names without regard to case, blanks around
// names and values dropped, one pair of quotes around the value dropped, the
// first occurrence wins. nullopt when the section or the key is missing.
std::optional<std::wstring> ReadCurrentVersion(std::string_view versionFile);

// The whole check once the version file's download has ended: false unless
// it succeeded and the file names a version newer than own.
bool CheckForUpdate(bool downloaded, std::string_view versionFile, std::wstring_view own);

// Timer_upd: one minute after the first activation, then hourly while
// nothing newer is found; once something newer is found, one question and no
// further check in this run of the program.
inline constexpr std::uint32_t kFirstUpdateCheckMs = 60000;
inline constexpr std::uint32_t kUpdateCheckIntervalMs = 3600000;

enum class UpdateCheckState {
    Off,           // option unticked at the first activation, or not yet started
    WaitingFirst,  // Timer_upd armed for the first minute
    WaitingHour,   // Timer_upd armed for the next hour
    Checking,      // the version file is being fetched; Timer_upd is off
    Finished,      // a newer version was found and asked about: nothing more this run
};

struct UpdateTimerStep {
    UpdateCheckState state = UpdateCheckState::Off;
    std::uint32_t armMs = 0;   // arm Timer_upd with this interval; 0 leaves it off
    bool startCheck = false;   // start the version file's download now
    bool askQuestion = false;  // show the update question now
};

// The first activation of the main window (StartUpdateTimer).
UpdateTimerStep UpdateTimerOnStart(bool optionTicked);
// Timer_upd fired; its handler has switched it off.
UpdateTimerStep UpdateTimerOnTick(UpdateCheckState state);
// The check ended (newerFound is CheckForUpdate's result). Also the answer
// when the download could not be started: newerFound false, next try in an hour.
UpdateTimerStep UpdateTimerOnCheckDone(UpdateCheckState state, bool newerFound);

// The history window after a fetch. A failed download leaves the copy fetched
// last time in place, so the window shows whatever copy can be read.
enum class HistorySource {
    Fresh,     // downloaded now: show it
    LastCopy,  // the download failed: show the copy fetched last time
    None,      // nothing to show: the window does not open
};
HistorySource ChooseHistorySource(bool downloaded, bool copyReadable);

}  // namespace zelvar
