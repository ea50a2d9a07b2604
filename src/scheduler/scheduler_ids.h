#pragma once
// Control ids of the scheduler page and of the copy-to-days dialog, and the
// main window's timer of the scheduler's tick (see app/main_ids.h for the
// numbering). Shared with the end-to-end driver; plain #defines so windres
// can read them too.

// ---- Scheduler panel
#define IDC_P_SHEDULER              1400
#define IDC_PWEEK                   1401
#define IDC_DAYBUTTON_FIRST         1410 /* day buttons 1..7: IDC_DAYBUTTON_FIRST + day - 1 */
#define IDC_LABEL22                 1420 /* name of the edited day */
#define IDC_DDAY                    1421 /* hidden: number of the edited day */
#define IDC_PNGBUTTON8              1422 /* start / stop scheduler */
#define IDC_PANEL8                  1423
#define IDC_STRINGGRID1             1424
#define IDC_IMAGE10                 1425
#define IDC_LABEL_WAKESCHEDULE      1426 /* what stands in the way of the scheduled wake */
#define IDC_LABEL_POLICY_SCHEDULER  1427 /* the schedule is set by the organisation */
#define IDC_BUTTON_WAKEFIXSCHEDULE  1428 /* removes what stands in the way of the wake, where the program can */
#define IDC_CHECKBOX8               1430 /* off ticked on the edited day */
#define IDC_LABEL20                 1431
#define IDC_DATETIMEPICKER5         1432 /* off time of the edited day */
#define IDC_PNGBUTTON6              1433 /* copy the off time to other days */
#define IDC_CHECKBOX9               1434 /* wake ticked on the edited day */
#define IDC_LABEL21                 1435
#define IDC_DATETIMEPICKER6         1436 /* wake time of the edited day */
#define IDC_PNGBUTTON7              1437 /* copy the wake time to other days */

// ---- Copy-to-days dialog Tfsheddays
#define IDC_SHEDDAYS_CHECKBOX_FIRST 2601 /* day boxes 1..7: IDC_SHEDDAYS_CHECKBOX_FIRST + day - 1 */
#define IDC_SHEDDAYS_LABEL4         2610 /* what is copied */
#define IDC_SHEDDAYS_LABEL1         2611 /* the time copied */
#define IDC_SHEDDAYS_PNGBUTTON3     2612 /* apply */
#define IDC_SHEDDAYS_IMAGE1         2613 /* close glyph */
#define IDC_SHEDDAYS_LABEL2         2614 /* title */
#define IDC_SHEDDAYS_PANEL1         2615
#define IDC_SHEDDAYS_SYSTBUT        2616
#define IDC_SHEDDAYS_IMAGE7         2617

// ---- Timer of the main window the scheduler ticks on
#define TIMER_SCHEDULER             2

// The copy dialog's class, so the driver can tell the windows apart.
#define ZELVAR_SHEDDAYS_CLASS       L"Tfsheddays"
