// Ending one process: WM_CLOSE to each of its top-level windows, one wait of
// up to the time limit, then TerminateProcess. ProcessSnapshot::
// TerminateByImage finds the process by its image path and calls this.
#pragma once

#include "process/TerminateOutcome.h"

#include <windows.h>

// EndedNormally when the process exits within timeoutMs of the WM_CLOSE
// messages, EndedByForce when TerminateProcess (exit code 0) ended it after,
// Failed when it could not be opened for that (nothing is posted then) or
// TerminateProcess was refused.
TerminateOutcome TerminateProcessById(DWORD processId, DWORD timeoutMs);

// EnumWindows callback: posts WM_CLOSE to the window when the process whose
// id is processId owns it, hidden or not. Always TRUE, to visit every window.
BOOL CALLBACK CloseProcessWindows(HWND window, LPARAM processId);
