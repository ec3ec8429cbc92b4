/* Identifiers of the window program's resources. Plain macros: the resource compiler reads
   this file too. */
#pragma once

#include "framework/FrameworkIds.h"

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Menu, icon, toolbar, frame title. */
#define IDR_MAINFRAME 128
/* The toolbar's images drawn for 150 % and 200 % (bitmap 128 is the one for 100 %). */
#define IDB_TOOLBAR_24 140
#define IDB_TOOLBAR_32 141

/* Dialogs. */
#define IDD_ABOUTBOX 100
#define IDD_CONDITION 131
#define IDD_OPTION 133

/* Controls of the condition dialog (131). */
#define IDC_CONDITION_MODE 1002
#define IDC_CONDITION_DAY 1003
#define IDC_CONDITION_HOUR 1004
#define IDC_CONDITION_MINUTE 1005
#define IDC_CONDITION_OPERATION 1006
#define IDC_CONDITION_MEMORY_LOAD 1007
#define IDC_CONDITION_CPU_LOAD 1013

/* Controls of the options dialog (133). */
#define IDC_OPTION_LOG_SIZE 1011
#define IDC_OPTION_DELAY 1012
#define IDC_OPTION_INTERVAL 1013

/* Commands. */
#define ID_CLEAN_WHOLE_MEMORY 32772
#define ID_SHOW_INFO 32773
#define ID_CLEAN_WORKING_SET 32775
#define ID_SERVICE_REGISTER 32777
#define IDS_SERVICE_UNREGISTER 32778
#define ID_SERVICE_START 32779
#define ID_TIMER_START 32780
#define ID_SHOW_SERVICE_LOG 32781
#define ID_RELEASE_LEVEL_10 32782
#define ID_RELEASE_LEVEL_20 32783
#define ID_RELEASE_LEVEL_30 32784
#define ID_RELEASE_LEVEL_40 32785
#define ID_RELEASE_LEVEL_50 32786
#define ID_RELEASE_LEVEL_60 32787
#define ID_RELEASE_LEVEL_70 32788
#define ID_RELEASE_LEVEL_80 32789
#define ID_RELEASE_LEVEL_90 32790
#define ID_RELEASE_LEVEL_100 32791
#define ID_CONDITION_ADD 32792
#define ID_CONDITION_DELETE 32793
#define ID_WINDOW_SHOW 32794
#define ID_OPTION 32797
#define ID_SERVICE_LOG_CHANGED 32798
#define ID_CONDITION_MODIFY 32799
#define ID_STARTUP_REGISTER 32800
#define ID_MINIMIZE_ON_CLOSE 32801
