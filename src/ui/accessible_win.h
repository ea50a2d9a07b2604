#pragma once
// What a screen reader reads for a control that Windows' own rules cannot
// name: a picture button, a tick box whose text a label beside it draws,
// the navigation tree (no label stands before it), and the countdown,
// which reads as an alert. The control answers the reader's request for
// its accessible object (WM_GETOBJECT) with Windows' standard object for
// it, with this name and role in place of its own; everything else (state,
// children, actions) stays the standard object's.
#include <windows.h>

#include <string>

namespace zelvar::ui {

// Gives control the name a screen reader reads, and, when role is not 0,
// that role (ROLE_SYSTEM_ALERT, ...). A later call replaces both; a reader
// that listens hears of a new name unless quiet (a name that changes every
// second is read when asked, not announced). An empty name gives the
// control back its own.
void SetAccessibleName(HWND control, const std::wstring& name, long role = 0, bool quiet = false);

// Whether control answers screen readers with a name given here.
bool HasAccessibleName(HWND control);

// Tells screen readers that window opened as an alert (EVENT_SYSTEM_ALERT):
// they read its accessible name at once.
void AnnounceAlert(HWND window);

}  // namespace zelvar::ui
