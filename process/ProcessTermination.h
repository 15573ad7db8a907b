// Ending processes: WM_CLOSE to each of their top-level windows, one wait of
// up to the time limit shared by all of them, then TerminateProcess on those
// still running (unless told not to). ProcessSnapshot::TerminateByImage and
// ProcessSnapshot::TerminateInstancesByImage find the processes by their
// image path and call this.
#pragma once

#include "process/TerminateOutcome.h"
#include "process/TerminationCounts.h"

#include <windows.h>

// EndedNormally when the process exits within timeoutMs of the WM_CLOSE
// messages, EndedByForce when TerminateProcess (exit code 0) ended it after,
// Failed when it could not be opened for that (nothing is posted then) or
// TerminateProcess was refused.
TerminateOutcome TerminateProcessById(DWORD processId, DWORD timeoutMs);

// Ends count processes together: every one that opens with SYNCHRONIZE |
// PROCESS_TERMINATE is asked to close first, then all are waited for until
// timeoutMs after the requests; those still running then are ended with
// TerminateProcess when force is set and left alone (leftRunning) otherwise.
// A process that does not open counts as failed and is sent nothing.
TerminationCounts TerminateProcessesById(const DWORD* processIds, int count, DWORD timeoutMs, bool force);

// EnumWindows callback: posts WM_CLOSE to the window when the process whose
// id is processId owns it, hidden or not. Always TRUE, to visit every window.
BOOL CALLBACK CloseProcessWindows(HWND window, LPARAM processId);
