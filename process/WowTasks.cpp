// 32-bit build only (and the 64-bit test build of the same code): listing
// and ending the 16-bit tasks of NTVDM processes with VDMEnumTaskWOWEx and
// VDMTerminateTaskWOW. Nothing here reports a failure: a library call that
// fails lists or ends nothing, and the outcome stays EndedByWowMethod.
#include "process/WowTasks.h"

#include <vdmdbg.h>

namespace {

// The fixed fields of the NTVDM process whose tasks AddWowTask is adding; the
// callback's only user value is the snapshot. Set just before each task
// enumeration, which is never re-entered.
ProcessEntry currentNtvdm = {};

// The short (8.3) form of the target in a buffer of the target's length + 1,
// or "" when the system gives none that fits there: the call fails (no file
// at that path, for example) or needs more room (a short form longer than
// the target). The buffer is then left unset by the system, so it is not read.
WideString ShortPathOf(const WideString& target)
{
    const DWORD size = static_cast<DWORD>(target.Length()) + 1;
    wchar_t* buffer = new wchar_t[size]();
    DWORD written = GetShortPathNameW(target.CStr(), buffer, size);
    WideString shortPath = written > 0 && written < size ? WideString(buffer) : WideString();
    delete[] buffer;
    return shortPath;
}

bool NamesTarget(const WowTaskMatch& record, const WideString& fileName)
{
    if (lstrcmpiW(record.target.CStr(), fileName.CStr()) == 0)
        return true;
    // Without a short form there is nothing more to compare: an empty text
    // would match a task whose file name is empty.
    return record.shortTarget.Length() > 0 && lstrcmpiW(record.shortTarget.CStr(), fileName.CStr()) == 0;
}

} // namespace

void AddWowTasks(ProcessSnapshot& snapshot, DWORD ntvdmProcessId, ElevationKind elevation, bool canTerminate)
{
    currentNtvdm =
        ProcessEntry{static_cast<int>(ntvdmProcessId), BitnessKind::Bits32, elevation, canTerminate};
    VDMEnumTaskWOWEx(ntvdmProcessId, AddWowTask, reinterpret_cast<LPARAM>(&snapshot));
}

BOOL WINAPI AddWowTask(DWORD threadId, WORD, WORD, PSZ, PSZ fileName, LPARAM snapshot)
{
    reinterpret_cast<ProcessSnapshot*>(snapshot)->Add(WideString::FromAnsi(fileName),
                                                      -static_cast<int>(threadId), BitnessKind::Task16,
                                                      currentNtvdm.elevation, currentNtvdm.canTerminate);
    return FALSE;
}

TerminateOutcome TerminateWowTasks(ProcessSnapshot& snapshot, const WideString& target, DWORD timeoutMs)
{
    WowTaskMatch record{0, 0, target, ShortPathOf(target), timeoutMs, TerminateOutcome::EndedByWowMethod};
    for (int i = 0; i < snapshot.count; ++i) {
        if (!IsNtvdmImage(snapshot.imagePaths[i]))
            continue;
        record.ntvdmProcessId = static_cast<DWORD>(snapshot.entries[i].id);
        record.threadId = 0;
        record.outcome = TerminateOutcome::EndedByWowMethod;
        VDMEnumTaskWOWEx(record.ntvdmProcessId, MatchWowTask, reinterpret_cast<LPARAM>(&record));
    }
    return record.outcome;
}

BOOL WINAPI MatchWowTask(DWORD threadId, WORD, WORD taskHandle, PSZ, PSZ fileName, LPARAM match)
{
    WowTaskMatch& record = *reinterpret_cast<WowTaskMatch*>(match);
    // The module name is not looked at: two programs may share one.
    if (!NamesTarget(record, WideString::FromAnsi(fileName)))
        return FALSE;

    WowTaskMatch task{record.ntvdmProcessId, threadId,         WideString(),
                      WideString(),          record.timeoutMs, TerminateOutcome::EndedByWowMethod};
    EnumWindows(CloseTaskWindows, reinterpret_cast<LPARAM>(&task));
    // A task has no handle to wait on: the whole limit, whether it closes or not.
    Sleep(record.timeoutMs);
    VDMTerminateTaskWOW(record.ntvdmProcessId, taskHandle);
    record.outcome = TerminateOutcome::EndedByWowMethod;
    // At most one task is ended in each NTVDM process.
    return TRUE;
}

BOOL CALLBACK CloseTaskWindows(HWND window, LPARAM match)
{
    const WowTaskMatch& task = *reinterpret_cast<const WowTaskMatch*>(match);
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(window, &processId);
    if (processId == task.ntvdmProcessId && threadId == task.threadId)
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}
