#pragma once
// Control ids of the about page, the about window and the history window,
// and the main window's timer of the update check (see app/main_ids.h for
// the numbering). Shared with the end-to-end driver; plain #defines so
// windres can read them too.

// ---- About panel
#define IDC_PANEL7           1600
#define IDC_IMAGE4           1601
#define IDC_LABEL15          1602 /* version */
#define IDC_LABEL13          1603 /* web link */
#define IDC_LABEL16          1604 /* mail link */
#define IDC_LABEL23          1605 /* history link */
#define IDC_LOGLINK          1606 /* night log link */

// ---- About window TFabout
#define IDC_ABOUT_IMAGE1     2501 /* logo */
#define IDC_ABOUT_LABEL3     2502 /* version line */
#define IDC_ABOUT_LABEL1     2503 /* fixed line */
#define IDC_ABOUT_LABEL2     2504 /* web site link */
#define IDC_ABOUT_LABEL16    2505 /* mail link */
#define IDC_ABOUT_PNGBUTTON1 2506 /* Ok */

// ---- History window TFhistory
#define IDC_HISTORY_LABEL2   2621 /* title */
#define IDC_HISTORY_IMAGE1   2622 /* close */
#define IDC_HISTORY_MEMO1    2623 /* the change list */

// ---- Timer of the main window the update check runs on
#define TIMER_TIMER_UPD      5

// The windows' classes, so the driver can tell the windows apart.
#define ZELVAR_ABOUT_CLASS   L"TFabout"
#define ZELVAR_HISTORY_CLASS L"TFhistory"
