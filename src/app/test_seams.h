#pragma once
// What the test build zelvar_test.exe does besides the program: one small
// source per build defines this (test_seams_release.cpp, test_seams_test.cpp),
// so zelvar.exe carries none of it.
#include <windows.h>

#include <optional>
#include <string>

#include "common/datetime.h"

namespace zelvar {

// Posted to the main window by the end-to-end tests: hold the window thread
// for wParam milliseconds, as a slow handler or a modal loop elsewhere would.
inline constexpr UINT kTestHoldThreadMessage = WM_APP + 50;
// Sent to the main window: which control of the top-level window wParam (one
// of the program's) shows a text that does not fit it (lParam 0), has no
// name a screen reader can read though it takes the focus (lParam
// kTestFindUnnamed), or is reached by Tab out of the reading order (lParam
// kTestFindOutOfOrder). The answer is the control's id (-1 for a control
// without one), or 0 when there is none.
inline constexpr UINT kTestFindCutTextMessage = WM_APP + 51;
inline constexpr LPARAM kTestFindUnnamed = 1;
inline constexpr LPARAM kTestFindOutOfOrder = 2;
// Posted to the main window: the test build's stand-in for Windows' high
// contrast (Wine reports none) is switched on (wParam 1) or off (0), and
// the program's windows hear of it as Windows tells them,
// WM_SETTINGCHANGE with SPI_SETHIGHCONTRAST. Wine keeps a copy of the
// system colours in each process, so a theme's colours come along: lParam,
// when not 0, is a global atom of "index=colour" pairs (GetSysColor's
// index, a COLORREF, in decimal, separated by spaces) that the program sets
// with SetSysColors first.
inline constexpr UINT kTestSetHighContrastMessage = WM_APP + 52;

// Whether a high-contrast theme is on: Windows' word in zelvar.exe; in the
// test build the stand-in, on from the start with ZELVAR_TEST_HIGH_CONTRAST=1
// and switched by kTestSetHighContrastMessage.
bool HighContrastInEffect();

// The tray's tooltip and whether it shows the "planned" icon, published on
// the main window for the end-to-end tests (properties "ZelvarTrayTip", a
// global atom of the text, and "ZelvarTrayPlanned"); nothing in zelvar.exe.
void PublishTrayStatus(HWND mainWindow, const std::wstring& tip, bool planned);

// Whether the shell took the tray icon's current behaviour (version 4),
// published on the main window for the end-to-end tests (property
// "ZelvarTrayVersion": 4, or 1 for the oldest). With it the main window's
// menus are watched, so a test presses a menu's keys only once the menu
// takes them: "ZelvarMenuLoops" counts the menu loops entered,
// "ZelvarMenuEnds" those left, and
// "ZelvarMenuItem" keeps the id of the item selected last, also after the
// menu closed. Nothing in zelvar.exe.
void PublishTrayBehaviour(HWND mainWindow, bool current);

// The moment the standing wake timer is armed for, published on the main
// window for the end-to-end tests (property "ZelvarWakeDue", a global atom
// of "yyyy-mm-dd hh:mm:ss" local time, or "none"); nothing in zelvar.exe.
void PublishStandingWake(HWND mainWindow, const std::optional<TDateTime>& moment);

// What the Task Scheduler said of the wake task last, published on the main
// window for the end-to-end tests (property "ZelvarWakeTask": 1 held,
// 2 refused, 3 no wake task); nothing in zelvar.exe.
void PublishWakeTask(HWND mainWindow, const std::optional<bool>& held);

// Handles a message only the test build knows; true when it was one, with
// the answer in result.
bool HandleTestSeamMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// The main window's first activation, published on it for the end-to-end
// tests once its work is done (start-up programs started, the timers of the
// hide into the tray and of the update check armed): property
// "ZelvarActivatedAt", GetTickCount64() then. It stays when a start into the
// tray hides the window, so a test need not catch the window on screen;
// nothing in zelvar.exe.
void PublishFirstActivation(HWND mainWindow);

// Publishes every opening of the countdown window on it, for the end-to-end
// tests: "ZelvarCountOpenings" (how many times it was shown from hidden),
// "ZelvarCountOpenedAt" (GetTickCount64() at the last opening) and
// "ZelvarCountOpenedWith" (a global atom of the count it showed then). These
// stay after the window has counted on or closed; nothing in zelvar.exe.
void PublishCountdownOpenings(HWND countWindow);

}  // namespace zelvar
