// Resource and control ids shared by the resource script and the code.
#pragma once

#define IDI_TARNWICK 101

// Progress and result dialog
#define IDD_PROGRESS 120
#define IDC_PROGRESS_TARGET 1201
#define IDC_PROGRESS_STATUS 1202
#define IDC_PROGRESS_COUNTDOWN 1203
#define IDC_PROGRESS_DISMISS 1204
