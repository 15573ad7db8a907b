// 16-bit Windows tasks inside NTVDM processes: the 32-bit build only
// (TWK_WOW_SUPPORT), through the VDM debugging library (VDMDBG.dll, imported
// at load time). The snapshot calls AddWowTasks while it lists an NTVDM
// process, and TerminateByImage calls TerminateWowTasks when the entry to end
// is a 16-bit task (id 0 or less). A task has no process of its own: it is a
// thread of its NTVDM process with its own top-level windows.
#pragma once

#include "core/ElevationKind.h"
#include "core/WideString.h"
#include "process/ProcessSnapshot.h"
#include "process/TerminateOutcome.h"

#include <windows.h>

#ifdef TWK_WOW_SUPPORT

// The record MatchWowTask works on during one TerminateWowTasks call.
struct WowTaskMatch {
    DWORD ntvdmProcessId; // the NTVDM process whose tasks are being enumerated
    DWORD threadId;       // 0 while searching; the task's thread in CloseTaskWindows's copy
    WideString target;
    WideString shortTarget; // the target's short (8.3) form, or "" when it has none that fits
    DWORD timeoutMs;
    TerminateOutcome outcome; // always EndedByWowMethod
};

// Adds one entry per 16-bit task of the NTVDM process, in the library's
// order, with that process's elevation and terminability; the caller adds
// the process's own entry after them.
void AddWowTasks(ProcessSnapshot& snapshot, DWORD ntvdmProcessId, ElevationKind elevation, bool canTerminate);

// Task callback of VDMEnumTaskWOWEx while listing (user value: the
// snapshot): adds the task with its file name, its negated thread id,
// bitness 1 and the NTVDM's elevation and terminability. Always FALSE, so
// that every task is visited.
BOOL WINAPI AddWowTask(DWORD threadId, WORD moduleHandle, WORD taskHandle, PSZ moduleName, PSZ fileName,
                       LPARAM snapshot);

// Ends, in every NTVDM process of the snapshot, the first task the library
// reports whose file name equals the target or its short form (without
// regard to case): WM_CLOSE to the task's windows, a Sleep of the whole
// timeoutMs, then VDMTerminateTaskWOW. Returns EndedByWowMethod whatever
// happened; a task has no handle to wait on, so the program cannot tell.
TerminateOutcome TerminateWowTasks(ProcessSnapshot& snapshot, const WideString& target, DWORD timeoutMs);

// Task callback of VDMEnumTaskWOWEx while terminating (user value: a
// WowTaskMatch): FALSE for a task that does not match, TRUE after it has
// ended a matching one, which stops the enumeration of this NTVDM process.
BOOL WINAPI MatchWowTask(DWORD threadId, WORD moduleHandle, WORD taskHandle, PSZ moduleName, PSZ fileName,
                         LPARAM match);

// EnumWindows callback (LPARAM: a WowTaskMatch, of which only ntvdmProcessId
// and threadId are read): posts WM_CLOSE to the window when that thread of
// that process created it. Always TRUE, to visit every window.
BOOL CALLBACK CloseTaskWindows(HWND window, LPARAM match);

#endif
