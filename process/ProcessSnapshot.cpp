// The snapshot's storage (construction, growth by Add) and its enumeration
// pass. The termination that searches it is in ProcessTermination.cpp.
#include "process/ProcessSnapshot.h"

#include "core/FailureReport.h"
#include "process/ImagePath.h"
#include "process/ProcessBitness.h"
#include "process/WowTasks.h"

#include <psapi.h>

namespace {

const int kSlotStep = 100;
const DWORD kFirstIdCount = 256;

// The ids of the running processes, in the order the system gives them; the
// buffer doubles while the system fills it completely. Null when
// K32EnumProcesses fails (already reported).
DWORD* ReadProcessIds(DWORD& idCount)
{
    DWORD capacity = kFirstIdCount;
    for (;;) {
        DWORD* ids = new DWORD[capacity];
        DWORD bytes = capacity * sizeof(DWORD);
        DWORD returned = 0;
        BOOL listed = K32EnumProcesses(ids, bytes, &returned);
        ReportApiFailure(listed, "EnumProcesses");
        if (!listed) {
            delete[] ids;
            return nullptr;
        }
        if (returned < bytes) {
            idCount = returned / sizeof(DWORD);
            return ids;
        }
        delete[] ids;
        capacity *= 2;
    }
}

// Whether the program may end the process: opened with SYNCHRONIZE |
// PROCESS_TERMINATE, the access the termination asks for.
bool CanTerminate(DWORD id)
{
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    if (!process)
        return false;
    ReportApiFailure(CloseHandle(process), "CloseHandle3");
    return true;
}

} // namespace

ProcessSnapshot::ProcessSnapshot()
    : count(0), imagePaths(new WideString[kSlotStep]), entries(new ProcessEntry[kSlotStep]),
      capacity(kSlotStep)
{
}

ProcessSnapshot::~ProcessSnapshot()
{
    count = 0;
    delete[] imagePaths;
    delete[] entries;
}

int ProcessSnapshot::Add(const WideString& imagePath, int id, BitnessKind bitness, ElevationKind elevation,
                         bool canTerminate)
{
    if (count >= capacity) {
        int grown = capacity + kSlotStep;
        WideString* newPaths = new WideString[grown];
        ProcessEntry* newEntries = new ProcessEntry[grown];
        for (int i = 0; i < count; ++i) {
            newPaths[i].Assign(imagePaths[i].CStr());
            newEntries[i] = entries[i];
        }
        delete[] imagePaths;
        delete[] entries;
        imagePaths = newPaths;
        entries = newEntries;
        capacity = grown;
    }
    int index = count;
    imagePaths[index].Assign(imagePath.CStr());
    entries[index] = ProcessEntry{id, bitness, elevation, canTerminate};
    ++count;
    return index;
}

void ProcessSnapshot::Enumerate()
{
    DWORD idCount = 0;
    DWORD* ids = ReadProcessIds(idCount);
    if (!ids)
        return;

    count = 0;
    for (DWORD i = 0; i < idCount; ++i) {
        DWORD id = ids[i];
        // Processes that may not be read (id 0, protected or elevated ones) drop out silently.
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
        if (!process)
            continue;

        WideString path = ReadProcessImagePath(process);
        if (!IsListablePathForm(path)) {
            ReportApiFailure(CloseHandle(process), "CloseHandle1");
            continue;
        }

        BitnessKind bitness = ReadProcessBitness(process);
        ElevationKind elevation = ReadProcessElevation(process, "CloseHandle2");
        ReportApiFailure(CloseHandle(process), "CloseHandle2");
        bool canTerminate = CanTerminate(id);

#ifdef TWK_WOW_SUPPORT
        // The 16-bit tasks of an NTVDM process come before its own entry.
        if (IsNtvdmImage(path))
            AddWowTasks(*this, id, elevation, canTerminate);
#endif
        Add(path, static_cast<int>(id), bitness, elevation, canTerminate);
    }
    delete[] ids;
}
