/* Identifiers that the framework gives a meaning to. Plain macros: the resource compiler
   reads this file too. */
#pragma once

/* Strings: the application title (message box captions) and the idle text of the status bar. */
#define QV_IDS_APP_TITLE 57344
#define QV_IDS_IDLE_MESSAGE 57345

/* The frame's main pane: the child that the frame's layout puts between its bars. */
#define QV_IDW_PANE_FIRST 59648

/* Status bar indicators; their strings carry the texts shown while the key is on. */
#define QV_ID_INDICATOR_CAPS 59137
#define QV_ID_INDICATOR_NUM 59138
#define QV_ID_INDICATOR_SCRL 59139
#define QV_ID_INDICATOR_KANA 59142

/* Application commands. */
#define QV_ID_APP_ABOUT 57664
#define QV_ID_APP_EXIT 57665
#define QV_ID_HELP 57670

/* Edit commands. */
#define QV_ID_EDIT_COPY 57634
#define QV_ID_EDIT_CUT 57635
#define QV_ID_EDIT_PASTE 57637
#define QV_ID_EDIT_UNDO 57643
#define QV_ID_EDIT_REDO 57644

/* The toolbar resource type: version, bitmap width and height, count, then the commands. */
#define QV_RT_TOOLBAR 241
/* Initial data of dialog controls: pairs of a control identifier and a list box text. */
#define QV_RT_DLGINIT 240

/* Posted to wake the window thread: it only makes the idle processing run. */
#define QV_WM_KICKIDLE 0x036A
