// Resource ids of the program's pictures. Plain #defines so windres can
// read them too. The icon IDI_ZELVAR lives in app/control_ids.h.
//
// Every bitmap is 32 bits per pixel BI_RGB with premultiplied alpha (rows
// stored bottom-up): load it with LoadImageW(..., IMAGE_BITMAP, 0, 0,
// LR_CREATEDIBSECTION) and draw it with AlphaBlend and AC_SRC_ALPHA.
#ifndef ZELVAR_RES_ART_IDS_H
#define ZELVAR_RES_ART_IDS_H

// Title strip of the main window
#define IDB_IMAGE1_CLOSE        300  /* 16x16 close glyph */
#define IDB_IMAGE1_CLOSE_HOT    301  /* 16x16 close glyph under the mouse */
#define IDB_IMAGE2_LOGO         302  /* 20x18 logo */
#define IDB_IMAGE3_WEB          303  /* 16x16 web site globe */
#define IDB_IMAGE5_WORDMARK     304  /* 120x18 name, ink left-aligned */

// Pictures of the content panels, each 64x64, drawn in the lower right corner
#define IDB_IMAGE6              305  /* options: gears */
#define IDB_IMAGE7              306  /* language: speech bubbles */
#define IDB_IMAGE8              307  /* one-shot plan: power sign and clock */
#define IDB_IMAGE9              308  /* start-up programs: rocket */
#define IDB_IMAGE10             309  /* scheduler: calendar */

// About panel
#define IDB_IMAGE4_ABOUT        310  /* 128x96 night-to-morning picture */

// Countdown window
#define IDB_COUNT_IMAGE1        311  /* 64x64 power sign in a running-out ring */
#define IDB_COUNT_IMAGE2        312  /* 32x32 cancel button */
#define IDB_COUNT_IMAGE2_HOT    313  /* 32x32 cancel button under the mouse */

// Navigation tree, 16x16, one per node in tree order:
// IDB_TREE_FIRST + node index (0 "main" ... 5 "menuabout")
#define IDB_TREE_FIRST          320
#define IDB_TREE_MAIN           320  /* options: gear */
#define IDB_TREE_LANGUAGE       321  /* speech bubble */
#define IDB_TREE_ONOFF          322  /* power sign */
#define IDB_TREE_SHEDULER       323  /* calendar */
#define IDB_TREE_STARTEXE       324  /* rocket */
#define IDB_TREE_ABOUT          325  /* "i" */
#define IDB_TREE_COUNT          6

#endif
