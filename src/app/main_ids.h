#pragma once
// Control ids of the main window TForm1 and of the pages the shell owns
// (options, start-up programs), the tray menu and the main window's own
// timer. Shared with the end-to-end driver. Plain #defines so windres can
// read them too. The main window's timers are numbered across the folders
// that set them: TIMER_TIMER1 1 (here), TIMER_SCHEDULER 2 (scheduler),
// TIMER_TIMERCNT 3 and TIMER_TIMERRESET 4 (power), TIMER_TIMER_UPD 5 (online).

// ---- Main window TForm1: title strip and navigation
#define IDC_PANEL3               1001 /* title strip, left: logo + web icon */
#define IDC_IMAGE2               1002 /* logo */
#define IDC_IMAGE3               1003 /* web icon */
#define IDC_SYSTBUT              1004 /* title strip, right */
#define IDC_IMAGE1               1005 /* close glyph: hide into the tray */
#define IDC_TREEVIEW1            1006
#define IDC_SHAPE1               1007 /* orange frame */

// ---- Options panel
#define IDC_PANEL1               1100
#define IDC_CHECKBOX2            1101 /* start with Windows */
#define IDC_CHECKBOX4            1102 /* start hidden in the tray */
#define IDC_CHECKBOX5            1103 /* close open programs */
#define IDC_CHECKBOX6            1104 /* start sound */
#define IDC_CHECKBOX7            1105 /* update check */
#define IDC_LABEL19              1106
#define IDC_CHECKBOX10           1107 /* restart after wake */
#define IDC_LABEL24              1108
#define IDC_IMAGE6               1109
#define IDC_LABEL_POLICY_OPTIONS 1110 /* some options are set by the organisation */

// ---- Start-up programs panel
#define IDC_PANEL5               1500
#define IDC_LABEL1               1501
#define IDC_LISTBOX1             1502
#define IDC_PNGBUTTON1           1503 /* add */
#define IDC_PNGBUTTON4           1504 /* remove */
#define IDC_IMAGE9               1505

// ---- Tray menu
#define IDM_N1_OPEN              2001
#define IDM_N4_ONOFF             2002
#define IDM_N3_ABOUT             2003
#define IDM_N2_EXIT              2004

// ---- Timer of the main window
#define TIMER_TIMER1             1

// The main window's class, so the driver can tell the windows apart.
#define ZELVAR_MAIN_CLASS        L"TForm1"
