// 32-bit build only. Place holder for the 16-bit task support: until the
// task list is read from the VDM debugging library, an NTVDM process adds no
// task entries, so TerminateWowTasks is never reached.
#include "process/WowTasks.h"

void AddWowTasks(ProcessSnapshot&, DWORD, ElevationKind, bool)
{
}

TerminateOutcome TerminateWowTasks(ProcessSnapshot&, const WideString&, DWORD)
{
    return TerminateOutcome::NotFound;
}
