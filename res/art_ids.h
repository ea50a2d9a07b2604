// Resource ids of the program's pictures and icons. Plain #defines so windres
// can read them; art.rc gives each id its file.
//
// Every picture is a PNG resource of type "PNG" at three scales. Its id at
// 100 % is the IDB_* below; at a scale it is that id + scale index *
// ART_ID_STEP (index 0 100 %, 1 150 %, 2 200 %), and the _150 / _200 names
// spell the same ids out. Load one with LoadArtBitmap (ui/art_win.h), which
// picks the scale for a DPI and gives a premultiplied 32-bit DIB section
// for AlphaBlend. Sizes below are at 100 %, as the SVG sources (art/svg)
// give them.
#ifndef ZELVAR_RES_ART_IDS_H
#define ZELVAR_RES_ART_IDS_H

#define ART_ID_STEP             100
#define ART_SCALE_COUNT         3

// The program's icon (IDI_ZELVAR, in ui/control_ids.h) with a clock badge,
// shown in the tray while something is planned. Same sizes: 16, 20, 24, 28,
// 32, 48 and 256.
#define IDI_ZELVAR_PLANNED      101

// Title strip of the main window
#define IDB_IMAGE1_CLOSE        300  /* 16x16 close glyph */
#define IDB_IMAGE1_CLOSE_HOT    301  /* 16x16 close glyph under the mouse */
#define IDB_IMAGE2_LOGO         302  /* 20x18 logo */
#define IDB_IMAGE3_WEB          303  /* 16x16 web site globe */
#define IDB_IMAGE5_WORDMARK     304  /* 120x18 name, ink left-aligned */
#define IDB_IMAGE1_CLOSE_150    400
#define IDB_IMAGE1_CLOSE_200    500
#define IDB_IMAGE1_CLOSE_HOT_150 401
#define IDB_IMAGE1_CLOSE_HOT_200 501
#define IDB_IMAGE2_LOGO_150     402
#define IDB_IMAGE2_LOGO_200     502
#define IDB_IMAGE3_WEB_150      403
#define IDB_IMAGE3_WEB_200      503
#define IDB_IMAGE5_WORDMARK_150 404
#define IDB_IMAGE5_WORDMARK_200 504

// Pictures of the content panels, drawn in the lower right corner
#define IDB_IMAGE6              305  /* 64x64 options: gears */
#define IDB_IMAGE7              306  /* 64x64 language: speech bubbles */
#define IDB_IMAGE8              307  /* 64x64 one-shot plan: power sign and clock */
#define IDB_IMAGE9              308  /* 64x64 start-up programs: rocket */
#define IDB_IMAGE10             309  /* 64x64 scheduler: calendar */
#define IDB_IMAGE6_150          405
#define IDB_IMAGE6_200          505
#define IDB_IMAGE7_150          406
#define IDB_IMAGE7_200          506
#define IDB_IMAGE8_150          407
#define IDB_IMAGE8_200          507
#define IDB_IMAGE9_150          408
#define IDB_IMAGE9_200          508
#define IDB_IMAGE10_150         409
#define IDB_IMAGE10_200         509

// About panel
#define IDB_IMAGE4_ABOUT        310  /* 128x96 night-to-morning picture */
#define IDB_IMAGE4_ABOUT_150    410
#define IDB_IMAGE4_ABOUT_200    510

// Countdown window
#define IDB_COUNT_IMAGE1        311  /* 64x64 power sign in a running-out ring */
#define IDB_COUNT_IMAGE2        312  /* 32x32 cancel button */
#define IDB_COUNT_IMAGE2_HOT    313  /* 32x32 cancel button under the mouse */
#define IDB_COUNT_IMAGE1_150    411
#define IDB_COUNT_IMAGE1_200    511
#define IDB_COUNT_IMAGE2_150    412
#define IDB_COUNT_IMAGE2_200    512
#define IDB_COUNT_IMAGE2_HOT_150 413
#define IDB_COUNT_IMAGE2_HOT_200 513

// Navigation tree, one per node in tree order:
// IDB_TREE_FIRST + node index (0 "main" ... 5 "menuabout")
#define IDB_TREE_FIRST          320
#define IDB_TREE_MAIN           320  /* 16x16 options: gear */
#define IDB_TREE_LANGUAGE       321  /* 16x16 speech bubble */
#define IDB_TREE_ONOFF          322  /* 16x16 power sign */
#define IDB_TREE_SHEDULER       323  /* 16x16 calendar */
#define IDB_TREE_STARTEXE       324  /* 16x16 rocket */
#define IDB_TREE_ABOUT          325  /* 16x16 "i" */
#define IDB_TREE_MAIN_150       420
#define IDB_TREE_MAIN_200       520
#define IDB_TREE_LANGUAGE_150   421
#define IDB_TREE_LANGUAGE_200   521
#define IDB_TREE_ONOFF_150      422
#define IDB_TREE_ONOFF_200      522
#define IDB_TREE_SHEDULER_150   423
#define IDB_TREE_SHEDULER_200   523
#define IDB_TREE_STARTEXE_150   424
#define IDB_TREE_STARTEXE_200   524
#define IDB_TREE_ABOUT_150      425
#define IDB_TREE_ABOUT_200      525
#define IDB_TREE_COUNT          6

#endif
