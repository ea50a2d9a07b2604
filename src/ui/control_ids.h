#pragma once
// Control ids of every window, shared by the program, its resource script
// and the end-to-end driver. Plain #defines so windres can read them too.

// ---- Main window TForm1: title strip and navigation
#define IDC_PANEL3            1001  /* title strip, left: logo + web icon */
#define IDC_IMAGE2            1002  /* logo */
#define IDC_IMAGE3            1003  /* web icon */
#define IDC_SYSTBUT           1004  /* title strip, right */
#define IDC_IMAGE1            1005  /* close glyph: hide into the tray */
#define IDC_TREEVIEW1         1006
#define IDC_SHAPE1            1007  /* orange frame */

// ---- Options panel
#define IDC_PANEL1            1100
#define IDC_CHECKBOX2         1101  /* start with Windows */
#define IDC_CHECKBOX4         1102  /* start hidden in the tray */
#define IDC_CHECKBOX5         1103  /* close open programs */
#define IDC_CHECKBOX6         1104  /* start sound */
#define IDC_CHECKBOX7         1105  /* update check */
#define IDC_LABEL19           1106
#define IDC_CHECKBOX10        1107  /* restart after wake */
#define IDC_LABEL24           1108
#define IDC_IMAGE6            1109
#define IDC_LABEL_POLICY_OPTIONS 1110  /* some options are set by the organisation */

// ---- Language panel
#define IDC_PANEL2            1200
#define IDC_LABEL2            1201
#define IDC_COMBOBOX1         1202
#define IDC_PNGBUTTON3        1203  /* apply language */
#define IDC_IMAGE7            1204

// ---- One-shot plan panel
#define IDC_PANEL4            1300
#define IDC_CHECKBOX3         1301  /* power off at */
#define IDC_LABEL3            1302
#define IDC_DATETIMEPICKER1   1303  /* off date */
#define IDC_LABEL4            1304
#define IDC_DATETIMEPICKER2   1305  /* off time */
#define IDC_CHECKBOX1         1306  /* wake at */
#define IDC_LABEL5            1307
#define IDC_DATETIMEPICKER3   1308  /* wake date */
#define IDC_LABEL6            1309
#define IDC_DATETIMEPICKER4   1310  /* wake time */
#define IDC_COMBOBOX2         1311  /* power off / hibernate */
#define IDC_PNGBUTTON2        1312  /* apply plan */
#define IDC_PANEL6            1313  /* armed view */
#define IDC_LABEL7            1314
#define IDC_LABEL8            1315
#define IDC_LABEL9            1316
#define IDC_LABEL10           1317
#define IDC_LABEL11           1318
#define IDC_LABEL12           1319
#define IDC_PNGBUTTON5        1320  /* cancel plan */
#define IDC_IMAGE8            1321
#define IDC_LABEL_WAKEPLAN    1322  /* what stands in the way of the plan's wake */

// ---- Scheduler panel
#define IDC_P_SHEDULER        1400
#define IDC_PWEEK             1401
#define IDC_DAYBUTTON_FIRST   1410  /* day buttons 1..7: IDC_DAYBUTTON_FIRST + day - 1 */
#define IDC_LABEL22           1420  /* name of the edited day */
#define IDC_DDAY              1421  /* hidden: number of the edited day */
#define IDC_PNGBUTTON8        1422  /* start / stop scheduler */
#define IDC_PANEL8            1423
#define IDC_STRINGGRID1       1424
#define IDC_IMAGE10           1425
#define IDC_LABEL_WAKESCHEDULE 1426  /* what stands in the way of the scheduled wake */
#define IDC_LABEL_POLICY_SCHEDULER 1427  /* the schedule is set by the organisation */
#define IDC_CHECKBOX8         1430  /* off ticked on the edited day */
#define IDC_LABEL20           1431
#define IDC_DATETIMEPICKER5   1432  /* off time of the edited day */
#define IDC_PNGBUTTON6        1433  /* copy the off time to other days */
#define IDC_CHECKBOX9         1434  /* wake ticked on the edited day */
#define IDC_LABEL21           1435
#define IDC_DATETIMEPICKER6   1436  /* wake time of the edited day */
#define IDC_PNGBUTTON7        1437  /* copy the wake time to other days */

// ---- Start-up programs panel
#define IDC_PANEL5            1500
#define IDC_LABEL1            1501
#define IDC_LISTBOX1          1502
#define IDC_PNGBUTTON1        1503  /* add */
#define IDC_PNGBUTTON4        1504  /* remove */
#define IDC_IMAGE9            1505

// ---- About panel
#define IDC_PANEL7            1600
#define IDC_IMAGE4            1601
#define IDC_LABEL15           1602  /* version */
#define IDC_LABEL13           1603  /* web link */
#define IDC_LABEL16           1604  /* mail link */
#define IDC_LABEL23           1605  /* history link */
#define IDC_LOGLINK           1606  /* night log link */

// ---- Tray menu
#define IDM_N1_OPEN           2001
#define IDM_N4_ONOFF          2002
#define IDM_N3_ABOUT          2003
#define IDM_N2_EXIT           2004

// ---- About window TFabout
#define IDC_ABOUT_IMAGE1      2501  /* logo */
#define IDC_ABOUT_LABEL3      2502  /* version line */
#define IDC_ABOUT_LABEL1      2503  /* fixed line */
#define IDC_ABOUT_LABEL2      2504  /* web site link */
#define IDC_ABOUT_LABEL16     2505  /* mail link */
#define IDC_ABOUT_PNGBUTTON1  2506  /* Ok */

// ---- Copy-to-days dialog Tfsheddays
#define IDC_SHEDDAYS_CHECKBOX_FIRST 2601  /* day boxes 1..7: IDC_SHEDDAYS_CHECKBOX_FIRST + day - 1 */
#define IDC_SHEDDAYS_LABEL4   2610  /* what is copied */
#define IDC_SHEDDAYS_LABEL1   2611  /* the time copied */
#define IDC_SHEDDAYS_PNGBUTTON3 2612  /* apply */
#define IDC_SHEDDAYS_IMAGE1   2613  /* close glyph */
#define IDC_SHEDDAYS_LABEL2   2614  /* title */
#define IDC_SHEDDAYS_PANEL1   2615
#define IDC_SHEDDAYS_SYSTBUT  2616
#define IDC_SHEDDAYS_IMAGE7   2617

// ---- History window TFhistory
#define IDC_HISTORY_LABEL2    2621  /* title */
#define IDC_HISTORY_IMAGE1    2622  /* close */
#define IDC_HISTORY_MEMO1     2623  /* the change list */

// ---- Countdown window TCountForm
#define IDC_COUNT_IMAGE1      3001
#define IDC_COUNT_LABEL1      3002
#define IDC_COUNT_IMAGE2      3003  /* cancel */

// ---- Window timers of the main window
#define TIMER_TIMER1          1
#define TIMER_SCHEDULER       2
#define TIMER_TIMERCNT        3
#define TIMER_TIMERRESET      4
#define TIMER_TIMER_UPD       5

// ---- Resources
#define IDI_ZELVAR            100

// Window classes, so the driver can tell the windows apart.
#define ZELVAR_MAIN_CLASS     L"TForm1"
#define ZELVAR_ABOUT_CLASS    L"TFabout"
#define ZELVAR_SHEDDAYS_CLASS L"Tfsheddays"
#define ZELVAR_HISTORY_CLASS  L"TFhistory"
#define ZELVAR_COUNT_CLASS    L"TCountForm"
