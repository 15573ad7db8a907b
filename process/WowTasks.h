// 16-bit Windows tasks inside NTVDM processes: the 32-bit build only
// (TWK_WOW_SUPPORT). The snapshot calls these two hooks: while it lists an
// NTVDM process, and when the entry to end is a 16-bit task (id 0 or less).
#pragma once

#include "core/ElevationKind.h"
#include "core/WideString.h"
#include "process/ProcessSnapshot.h"
#include "process/TerminateOutcome.h"

#include <windows.h>

#ifdef TWK_WOW_SUPPORT

// Adds one entry per 16-bit task of the NTVDM process, with that process's
// elevation and terminability, before the process's own entry is added.
void AddWowTasks(ProcessSnapshot& snapshot, DWORD ntvdmProcessId, ElevationKind elevation, bool canTerminate);

// Ends the 16-bit task whose file path equals target.
TerminateOutcome TerminateWowTasks(ProcessSnapshot& snapshot, const WideString& target, DWORD timeoutMs);

#endif
