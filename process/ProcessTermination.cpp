// The termination by image path: the search of the snapshot and the polite,
// then forced, end of the process found.
#include "process/ProcessTermination.h"

#include "process/ProcessSnapshot.h"
#include "process/WowTasks.h"

TerminateOutcome ProcessSnapshot::TerminateByImage(const WideString& target, DWORD timeoutMs)
{
    if (count == 0)
        Enumerate();
    if (count == 0)
        return TerminateOutcome::NotFound;

    // The entry listed last wins. The program's own process is passed over:
    // it would otherwise wait the whole limit on itself and then end itself.
    const int ownId = static_cast<int>(GetCurrentProcessId());
    int match = count - 1;
    for (; match >= 0; --match) {
        if (entries[match].id != ownId && lstrcmpiW(imagePaths[match].CStr(), target.CStr()) == 0)
            break;
    }
    if (match < 0)
        return TerminateOutcome::NotFound;

#ifdef TWK_WOW_SUPPORT
    // A 16-bit task is ended inside its NTVDM process.
    if (entries[match].id <= 0)
        return TerminateWowTasks(*this, target, timeoutMs);
#endif
    return TerminateProcessById(static_cast<DWORD>(entries[match].id), timeoutMs);
}

TerminateOutcome TerminateProcessById(DWORD processId, DWORD timeoutMs)
{
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
    if (!process)
        return TerminateOutcome::Failed;

    // All the requests first, then one wait for the whole limit.
    EnumWindows(CloseProcessWindows, static_cast<LPARAM>(processId));
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
        CloseHandle(process);
        return TerminateOutcome::EndedNormally;
    }

    // Time limit reached, or the wait failed.
    BOOL terminated = TerminateProcess(process, 0);
    CloseHandle(process);
    return terminated ? TerminateOutcome::EndedByForce : TerminateOutcome::Failed;
}

BOOL CALLBACK CloseProcessWindows(HWND window, LPARAM processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}
