#pragma once
// Control ids of the one-shot plan page and of the countdown window, and the
// main window's timers the countdowns run on (see app/main_ids.h for the
// numbering). Shared with the end-to-end driver; plain #defines so windres
// can read them too.

// ---- One-shot plan panel
#define IDC_PANEL4             1300
#define IDC_CHECKBOX3          1301 /* power off at */
#define IDC_LABEL3             1302
#define IDC_DATETIMEPICKER1    1303 /* off date */
#define IDC_LABEL4             1304
#define IDC_DATETIMEPICKER2    1305 /* off time */
#define IDC_CHECKBOX1          1306 /* wake at */
#define IDC_LABEL5             1307
#define IDC_DATETIMEPICKER3    1308 /* wake date */
#define IDC_LABEL6             1309
#define IDC_DATETIMEPICKER4    1310 /* wake time */
#define IDC_COMBOBOX2          1311 /* power off / hibernate */
#define IDC_PNGBUTTON2         1312 /* apply plan */
#define IDC_PANEL6             1313 /* armed view */
#define IDC_LABEL7             1314
#define IDC_LABEL8             1315
#define IDC_LABEL9             1316
#define IDC_LABEL10            1317
#define IDC_LABEL11            1318
#define IDC_LABEL12            1319
#define IDC_PNGBUTTON5         1320 /* cancel plan */
#define IDC_IMAGE8             1321
#define IDC_LABEL_WAKEPLAN     1322 /* what stands in the way of the plan's wake */
#define IDC_BUTTON_WAKEFIXPLAN 1323 /* removes it, where the program can */

// ---- Countdown window TCountForm
#define IDC_COUNT_IMAGE1       3001
#define IDC_COUNT_LABEL1       3002
#define IDC_COUNT_IMAGE2       3003 /* cancel */

// ---- Timers of the main window the countdowns run on
#define TIMER_TIMERCNT         3
#define TIMER_TIMERRESET       4

// The countdown window's class, so the driver can tell the windows apart.
#define ZELVAR_COUNT_CLASS     L"TCountForm"
