// Resource, command and control identifiers.
#pragma once

// Icons
#define IDI_APP            102
#define IDI_BUTTON_UP      105
#define IDI_KEY_UP         106
#define IDI_BUTTON_DOWN    107
#define IDI_KEY_DOWN       108
#define IDI_NOT_RECORDING  109

// Menus
#define IDM_TRAY           103
#define IDM_GRAPH          110

// Dialogs
#define IDD_GRAPH          111
#define IDD_ABOUT          113
#define IDD_TOTALS         114
#define IDD_APPS           115
#define IDD_SHARE          116
#define IDD_KEYBOARD       117
#define IDD_CALENDAR       118

// Commands (40001..40032)
#define IDC_EXIT           40001
#define IDC_OPEN_GRAPH     40002
#define IDC_ABOUT          40007
#define IDC_SHOW_CLICKS    40008
#define IDC_SHOW_KEYS      40009
#define IDC_SHOW_MOVEMENT  40010
#define IDC_RESET_DATA     40011
#define IDC_GRAPH_TO_TRAY  40013
#define IDC_PUT_AWAY_GRAPH 40017
#define IDC_SAVE_PICTURE   40022
#define IDC_SAVE_CSV       40023
#define IDC_START_WITH_WINDOWS 40024
#define IDC_SHOW_TOTALS    40025
#define IDC_SHOW_APPS      40026
#define IDC_RECORD_APPS    40027
#define IDC_SHARE          40028
#define IDC_GRAPH_ALL_PCS  40029
#define IDC_SHOW_KEYBOARD  40030
#define IDC_SHOW_CALENDAR  40031
#define IDC_RECORD_KEYS    40032

// Controls of the about box
#define IDC_ABOUT_NAME      1000
#define IDC_ABOUT_PRODUCT   1001
#define IDC_ABOUT_COPYRIGHT 1002
#define IDC_ABOUT_RIGHTS    1003

// Controls of the totals window (its close button is IDCANCEL)
#define IDC_TOTALS_LIST     1001
#define IDC_TOTALS_COPY     1002
#define IDC_TOTALS_PC       1004

// Controls of the apps window (its close button is IDCANCEL)
#define IDC_APPS_LIST      1001
#define IDC_APPS_COPY      1002
#define IDC_APPS_RANGE     1003
#define IDC_APPS_PC        1004

// Controls of the share window (its close button is IDCANCEL)
#define IDC_SHARE_FOLDER   1004
#define IDC_SHARE_BROWSE   1005
#define IDC_SHARE_STOP     1006
#define IDC_SHARE_LIST     1007
#define IDC_SHARE_STATE    1008
#define IDC_SHARE_NAME     1009
#define IDC_SHARE_NAME_LABEL 1010

// Controls of the keyboard window (its close button is IDCANCEL)
#define IDC_KEYBOARD_COPY   1002
#define IDC_KEYBOARD_RANGE  1003
#define IDC_KEYBOARD_SAVE   1005
#define IDC_KEYBOARD_LAYOUT 1008
#define IDC_KEYBOARD_PC     1004

// Controls of the calendar window (its close button is IDCANCEL)
#define IDC_CALENDAR_SAVE    1005
#define IDC_CALENDAR_YEAR    1009
#define IDC_CALENDAR_MEASURE 1010
#define IDC_CALENDAR_POINTED 1011
#define IDC_CALENDAR_PC      1004

// Status bar child id
#define IDC_STATUS_BAR     2
