#pragma once
// Control ids of the language page, shared with the end-to-end driver.
// Plain #defines so windres can read them too.

// ---- Language panel
#define IDC_PANEL2     1200
#define IDC_LABEL2     1201
#define IDC_COMBOBOX1  1202
#define IDC_PNGBUTTON3 1203 /* apply language */
#define IDC_IMAGE7     1204
