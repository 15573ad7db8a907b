// Resource and control ids shared by the resource script and the code.
#pragma once

#define IDI_TARNWICK 101

// Progress and result dialog
#define IDD_PROGRESS 120
#define IDC_PROGRESS_TARGET 1201
#define IDC_PROGRESS_STATUS 1202
#define IDC_PROGRESS_COUNTDOWN 1203
#define IDC_PROGRESS_DISMISS 1204

// Settings dialog
#define IDD_SETTINGS 110
#define IDC_SETTINGS_LIST 1101
#define IDC_SETTINGS_INFO 1102
#define IDC_SETTINGS_REFRESH 1103
#define IDC_SETTINGS_TEST_RUN 1104
#define IDC_SETTINGS_ABOUT 1105
#define IDC_SETTINGS_SHORTCUT 1106
#define IDC_SETTINGS_COPY_COMMAND 1107
#define IDC_SETTINGS_CLOSE 1108
