#pragma once
// End-to-end driver: runs the test build zelvar_test.exe in a fresh folder
// and works its windows from the outside, through control ids, the way the
// user and the tray menu do. It has no window of its own.
//
// Every wait is a bounded poll (WaitFor); a scenario never sleeps for a fixed
// time hoping the program is ready. A wait watches for something that stays
// once true (a log line, a count, a state the program keeps until the
// driver changes it), never for a state that can come and go between two
// looks of a slow driver: where the program passes through such a state
// (its window shown before it hides into the tray, the countdown's first
// second), the test build publishes it on the window as something that
// stays (app/test_seams.h).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "common/version.h"
#include "app/main_ids.h"
#include "i18n/language_ids.h"
#include "online/online_ids.h"
#include "power/power_ids.h"
#include "scheduler/scheduler_ids.h"

namespace zelvar::e2e {

inline constexpr DWORD kPollMs = 50;
inline constexpr DWORD kStartTimeoutMs = 15000;  // Wine can be slow to start a process
// A state the program reaches in its own time; generous for a loaded machine
// (a wait ends as soon as its condition holds).
inline constexpr DWORD kStateTimeoutMs = 15000;
// Closing and hiding windows: without a window manager on the X server, Wine
// waits up to 2 s for each window it unmaps.
inline constexpr DWORD kCloseTimeoutMs = 15000;

// "Zelvar 1.7", from the same generated header as the program.
inline constexpr const wchar_t* kMainCaption = zelvar::kMainWindowCaption;
inline constexpr const wchar_t* kApplicationTitle =
    zelvar::kApplicationTitle;  // caption of the program's message boxes
inline constexpr wchar_t kDialogClass[] = L"#32770";
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr wchar_t kRunKeyPath[] = L"software\\microsoft\\windows\\currentversion\\run";
inline constexpr wchar_t kRunValueName[] = L"Zelvar";

// ---- Waiting

// Checks condition every kPollMs until it holds or timeoutMs has passed;
// returns whether it held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kStateTimeoutMs);
// True when condition stayed false for the whole span: for the few checks
// that something must NOT happen within a given time.
bool StaysFalse(const std::function<bool()>& condition, DWORD spanMs);

// Seconds from tick (a GetTickCount64() value, also the program's) to now.
double SecondsSince(ULONGLONG tick);

// With ZELVAR_E2E_TRACE=1 in the environment: prints what with the
// milliseconds since the driver started, to see where a scenario's time goes.
void Trace(const std::wstring& what);

// ---- Files

// The folder of e2e_tests.exe (zelvar_test.exe and languages\ lie there),
// with a trailing backslash.
std::wstring DriverFolder();
// A key of an INI file, read as Windows' profile reader reads it but without
// keeping the file open; fallback when the file, the section or the key is
// missing.
inline const std::wstring kMissing = L"<missing>";
std::wstring ReadIni(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                     const std::wstring& fallback = kMissing);
// Whole files as bytes (INI files are written as given, UTF-8 or ANSI).
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::optional<std::string> ReadFileBytes(const std::wstring& path);

// One entry of a folder listing, with the path relative to the folder.
struct FileEntry {
    std::wstring name;
    bool directory = false;
    ULONGLONG size = 0;
    ULONGLONG lastWrite = 0;  // FILETIME as a number
    bool operator==(const FileEntry&) const = default;
};
// For failure messages.
inline void PrintTo(const FileEntry& e, std::ostream* os) {
    *os << std::string(e.name.begin(), e.name.end()) << (e.directory ? " (folder)" : "") << " size " << e.size
        << " written " << e.lastWrite;
}
// Everything under folder, recursively, sorted by name.
std::vector<FileEntry> ListFolder(const std::wstring& folder);

// The value of key in a UTF-8 INI file such as a language file (the first
// line "key=..." of the file). A missing file or key fails the test, and the
// answer is then a text no control shows.
std::wstring ReadUtf8IniValue(const std::wstring& path, const std::string& key);

// ---- Registry

std::optional<std::wstring> ReadRegistryString(HKEY root, const std::wstring& path, const std::wstring& name);
// The start-with-Windows value "Zelvar" under the run key of root.
std::optional<std::wstring> RunValue(HKEY root);
// Deletes the value from HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
void RemoveRunValues();

// ---- Windows of another process

std::wstring ClassOf(HWND window);
// The window's text through WM_GETTEXT (also for another process's controls).
std::wstring TextOf(HWND window);
// Top-level windows of process pid; className / title filter when not null.
std::vector<HWND> TopWindowsOf(DWORD pid, const wchar_t* className = nullptr, const wchar_t* title = nullptr);
// Top-level windows of any process with exactly this title.
std::vector<HWND> WindowsTitled(const wchar_t* title);
// Ends every process that shows a top-level window with this title (helper
// programs a scenario started, or the program started for it).
void EndProcessesTitled(const wchar_t* title);
// The descendant of top with the control id (controls live inside panels).
HWND FindControl(HWND top, int id);
// Selects the tree's node at position index (0 options ... 5 about), as a click does.
void SelectNode(HWND tree, int index);
// The texts of a dialog's static controls, joined by "\n" (a message box's message).
std::wstring DialogText(HWND dialog);

bool IsChecked(HWND box);
// The control's own WS_VISIBLE (a page's panel shown, whatever its parent is).
bool OwnVisible(HWND control);
// BM_CLICK sent, waiting until the handler has run (up to timeoutMs); false
// when it did not return in time (a modal box may have opened).
bool Click(HWND button, DWORD timeoutMs = kStateTimeoutMs);
// BM_CLICK posted: for clicks whose handler opens a modal box.
void PostClick(HWND button);
// A left mouse click posted to a control (pictures and labels that react
// to the button's release).
void PostMouseClick(HWND control);
// WM_COMMAND with a menu command id, posted as a menu item does it.
void PostMenuCommand(HWND window, int commandId);
// The tray icon's callback as the shell sends it for the behaviour the
// program asked for: mouseMessage WM_LBUTTONUP or WM_RBUTTONUP (with the
// current behaviour followed by NIN_SELECT or WM_CONTEXTMENU at the
// pointer), or, as the keyboard gives them, NIN_KEYSELECT or WM_CONTEXTMENU
// at the icon.
void PostTrayNotify(HWND mainWindow, UINT mouseMessage);
// The id of a control of window that the program's own walk finds at fault
// (check 0: a text cut; kTestFindUnnamed: no name for a screen reader;
// kTestFindOutOfOrder: Tab out of the reading order), 0 for none; -2 (and
// a failure) when the program gives no answer.
int ProgramFault(HWND mainWindow, HWND window, LPARAM check);
// The behaviour the shell took for the program's icon: 4 current, 1 oldest, 0 not told yet.
int TrayVersion(HWND mainWindow);
// The menu loops the main window entered and left so far, and the id of the
// menu item selected last (it stays after the menu closed); the test build's
// record.
int MenuLoops(HWND mainWindow);
int MenuEnds(HWND mainWindow);
UINT MenuItem(HWND mainWindow);
// Sets a text (an edit) through WM_SETTEXT.
void SetText(HWND control, const std::wstring& text);
// Selects a combo box item as the user does: CB_SETCURSEL, then
// CBN_SELCHANGE to the parent.
void SelectComboItem(HWND combo, int index);
int ComboSelection(HWND combo);
std::vector<std::wstring> ListBoxItems(HWND list);
// Waits until window has handled all messages sent before this call.
bool Sync(HWND window, DWORD timeoutMs = kStateTimeoutMs);

// ---- Keyboard, as the user types it

// Brings window to the front, so the keys typed next reach its thread.
bool BringToFront(HWND window);
// One key pressed and released through SendInput (with shift held for
// Shift+Tab). The keys reach the foreground window's thread in their own
// time: wait for their effect.
void PressKey(WORD vk, bool shift = false);
// The control that has the keyboard focus in window's thread (null: none).
HWND FocusedControl(HWND window);

// The colour on screen at a point of window's client area (what shows there,
// whichever window is in front).
COLORREF ScreenPixel(HWND window, int x, int y);

// Saves the window's screen rectangle as <scenario>.bmp (24 bits) in the
// folder named by ZELVAR_SHOTS (a Unix path under Wine is turned into a Z:
// path). Does nothing and returns false when ZELVAR_SHOTS is not set.
bool SaveScreenshot(HWND window, const std::wstring& scenario);

// ---- Processes

// A process the driver started. Ended (terminated) on destruction if it is
// still running, so a failed scenario leaves nothing behind.
class Process {
public:
    Process() = default;
    Process(HANDLE process, DWORD pid) : handle_(process), pid_(pid) {}
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    explicit operator bool() const { return handle_ != nullptr; }
    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return handle_; }
    bool Running() const;
    // Waits until the process has ended; false on timeout.
    bool WaitForExit(DWORD timeoutMs);
    std::optional<DWORD> ExitCode() const;  // empty while running
    void Kill();
    std::vector<HWND> Windows(const wchar_t* className = nullptr, const wchar_t* title = nullptr) const;
    // A shown top-level window of this class (the last in z-order if several); null if none is shown.
    HWND VisibleWindow(const wchar_t* className) const;
    // Polls for a top-level window of this process; null on timeout.
    HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs = kStateTimeoutMs) const;

private:
    HANDLE handle_ = nullptr;
    DWORD pid_ = 0;
};

// Variables set for a started process on top of the driver's own environment.
using Environment = std::vector<std::pair<std::wstring, std::wstring>>;

// Starts exe with the current folder workDir (command line: the quoted exe
// path, then the arguments), with the driver's environment and env on top of it.
Process StartProcess(const std::wstring& exe, const std::wstring& workDir, const Environment& env = {},
                     const std::wstring& arguments = L"");

// Records the web addresses the programs open. Wine's ShellExecute of an
// http address runs winebrowser, which runs the programs named in
// HKCU\Software\Wine\WineBrowser, value "Browsers", with the address as
// their last argument; while this object lives that is
// tests/e2e/browser-recorder, which appends the address to a log of its own.
// (winebrowser gives its programs the environment Wine was started with, not
// the opener's, so the log is named on the recorder's command line.)
class BrowserRecorder {
public:
    BrowserRecorder();
    ~BrowserRecorder();  // the previous browsers again, the log removed
    BrowserRecorder(const BrowserRecorder&) = delete;
    BrowserRecorder& operator=(const BrowserRecorder&) = delete;

    // The addresses opened so far, oldest first.
    std::vector<std::string> Opened() const;

private:
    std::wstring unixLog_;
    std::optional<std::wstring> previous_;
};

// One run of the program: a fresh folder under %TEMP% holding a copy of
// zelvar_test.exe and languages\ (in app\), and an empty current folder for
// the program (cwd\), so files addressed relative to the current folder
// would land in the wrong place and be noticed. Removed on destruction
// (kept when ZELVAR_E2E_KEEP=1).
class AppRun {
public:
    explicit AppRun(const std::wstring& scenario);
    ~AppRun();
    AppRun(const AppRun&) = delete;
    AppRun& operator=(const AppRun&) = delete;

    const std::wstring& Scenario() const { return scenario_; }
    const std::wstring& Folder() const { return appFolder_; }  // trailing backslash
    std::wstring PathOf(const std::wstring& name) const { return appFolder_ + name; }
    std::wstring ExePath() const { return PathOf(L"zelvar_test.exe"); }
    std::wstring ConfigPath() const { return PathOf(L"config.ini"); }

    // Writes config.ini with exactly these bytes.
    void WriteConfig(const std::string& text) const;
    // An environment variable for the program started next (the driver's
    // own environment is inherited otherwise).
    void SetEnvironment(const std::wstring& name, const std::wstring& value);
    // A key of section OPTIONS of config.ini (kMissing when missing).
    std::wstring Config(const std::wstring& key) const;

    // Starts the program; false when CreateProcessW failed or when a copy of
    // the program (a window titled "Zelvar 1.7") is still around after a
    // bounded wait, since the new one would then end at once.
    bool Start();
    // Starts one more copy from the same folder (the single-instance case),
    // with these arguments (as the wake task or Windows start it).
    Process StartCopy(const std::wstring& arguments = L"") const;
    Process& Proc() { return process_; }
    // Polls for the main window (class TForm1, caption "Zelvar 1.7"); null on timeout.
    HWND WaitForMainWindow(DWORD timeoutMs = kStartTimeoutMs);
    HWND Main() const { return main_; }
    // Start() and WaitUntilUp().
    ::testing::AssertionResult StartUp();
    // Waits until the program has come up: its main window is there and has
    // been activated for the first time. The test build publishes that
    // activation on the window, and it stays published when a start into
    // the tray hides the window again 888 ms later, so a driver that looks
    // late does not miss it (the window's visibility could come and go
    // between two looks). A failure names the step that failed and what the
    // driver saw.
    ::testing::AssertionResult WaitUntilUp();
    // For the scenarios' start helpers that answer with the main window: the
    // window when up holds, else null, with up's message added as a failure.
    HWND MainIfUp(const ::testing::AssertionResult& up);
    // GetTickCount64() at the main window's first activation; 0 before it.
    ULONGLONG ActivatedAt() const;

    // The countdown window's openings (from hidden to shown), as the test
    // build publishes them on it: how many so far, and the count the last
    // one showed ("00:30") and when (GetTickCount64()). Unlike the window
    // and its text, these stay once it counts on or closes.
    struct CountdownOpenings {
        int count = 0;
        std::wstring shown;
        ULONGLONG at = 0;
    };
    CountdownOpenings Countdown() const;
    // The control with the id. A page makes its controls on its first visit:
    // a control of a page not visited yet is reached by going to its page
    // in the tree, as the user would.
    HWND Control(int id) const;
    // Polls for a message box (class #32770) of the program; null on timeout.
    HWND WaitForMessageBox(DWORD timeoutMs = kStateTimeoutMs) const;
    // Exit as the tray menu's exit item does it, then waits for the end.
    bool ExitFromTray(DWORD timeoutMs = kCloseTimeoutMs);

private:
    std::wstring scenario_;
    std::wstring root_;
    std::wstring appFolder_;
    std::wstring workFolder_;
    Environment env_;
    Process process_;
    HWND main_ = nullptr;
};

}  // namespace zelvar::e2e
