// The termination by image path: the search of the snapshot and the polite,
// then forced, end of the processes found.
#include "process/ProcessTermination.h"

#include "process/ProcessSnapshot.h"
#include "process/WowTasks.h"

namespace {

// A 16-bit task (32-bit build only) has no process of its own to end.
bool IsWowTask(const ProcessEntry& entry)
{
#ifdef TWK_WOW_SUPPORT
    return entry.id <= 0;
#else
    (void)entry;
    return false;
#endif
}

} // namespace

TerminateOutcome ProcessSnapshot::TerminateByImage(const WideString& target, DWORD timeoutMs)
{
    return OutcomeOfOne(TerminateInstancesByImage(target, timeoutMs, false, true));
}

TerminationCounts ProcessSnapshot::TerminateInstancesByImage(const WideString& target, DWORD timeoutMs,
                                                             bool allInstances, bool force)
{
    if (count == 0)
        Enumerate();

    // Searched from the entry listed last, which alone is taken without
    // allInstances. The program's own process is passed over: it would
    // otherwise wait the whole limit on itself and then end itself.
    const int ownId = static_cast<int>(GetCurrentProcessId());
    DWORD* processIds = new DWORD[count > 0 ? count : 1];
    int processCount = 0;
    [[maybe_unused]] int taskCount = 0;
    for (int i = count - 1; i >= 0; --i) {
        if (entries[i].id == ownId || lstrcmpiW(imagePaths[i].CStr(), target.CStr()) != 0)
            continue;
        if (IsWowTask(entries[i]))
            ++taskCount;
        else
            processIds[processCount++] = static_cast<DWORD>(entries[i].id);
        if (!allInstances)
            break;
    }

    TerminationCounts counts = TerminateProcessesById(processIds, processCount, timeoutMs, force);
    delete[] processIds;

#ifdef TWK_WOW_SUPPORT
    // A 16-bit task is ended inside its NTVDM process, always by force: one
    // call per matching task, each ending the first such task still there.
    for (int task = 0; task < taskCount; ++task) {
        if (force)
            counts.Add(TerminateWowTasks(*this, target, timeoutMs));
        else
            ++counts.leftRunning;
    }
#endif
    return counts;
}

TerminateOutcome TerminateProcessById(DWORD processId, DWORD timeoutMs)
{
    return OutcomeOfOne(TerminateProcessesById(&processId, 1, timeoutMs, true));
}

TerminationCounts TerminateProcessesById(const DWORD* processIds, int count, DWORD timeoutMs, bool force)
{
    TerminationCounts counts = {};
    if (count <= 0)
        return counts;

    HANDLE* processes = new HANDLE[count];
    for (int i = 0; i < count; ++i) {
        processes[i] = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processIds[i]);
        if (!processes[i])
            ++counts.failed;
    }

    // All the requests first, then one time limit for all of them together.
    for (int i = 0; i < count; ++i) {
        if (processes[i])
            EnumWindows(CloseProcessWindows, static_cast<LPARAM>(processIds[i]));
    }
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;

    for (int i = 0; i < count; ++i) {
        if (!processes[i])
            continue;
        ULONGLONG now = GetTickCount64();
        DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(processes[i], left) == WAIT_OBJECT_0)
            ++counts.endedNormally;
        else if (!force)
            ++counts.leftRunning;
        else if (TerminateProcess(processes[i], 0)) // time limit reached, or the wait failed
            ++counts.endedByForce;
        else
            ++counts.failed;
        CloseHandle(processes[i]);
    }
    delete[] processes;
    return counts;
}

BOOL CALLBACK CloseProcessWindows(HWND window, LPARAM processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}
