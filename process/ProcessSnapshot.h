// The list of running processes the program works from: one entry per
// process whose image path it can read, in the order the system listed
// them. Slots grow in steps of 100 and are reused by the next Enumerate.
#pragma once

#include "core/WideString.h"
#include "process/ProcessEntry.h"
#include "process/TerminateOutcome.h"
#include "process/TerminationCounts.h"

#include <windows.h>

class ProcessSnapshot {
public:
    ProcessSnapshot();
    ~ProcessSnapshot();
    ProcessSnapshot(const ProcessSnapshot&) = delete;
    ProcessSnapshot& operator=(const ProcessSnapshot&) = delete;

    // Replaces the contents with the processes running now.
    void Enumerate();
    // Appends one entry; returns its index.
    int Add(const WideString& imagePath, int id, BitnessKind bitness, ElevationKind elevation,
            bool canTerminate);

    // Ends the process listed last whose image path equals target (without
    // regard to case): WM_CLOSE to its top-level windows, a wait of up to
    // timeoutMs, then TerminateProcess. Fills the snapshot first when empty.
    TerminateOutcome TerminateByImage(const WideString& target, DWORD timeoutMs);
    // The same for the process listed last or, with allInstances, for every
    // process whose image path equals target: all of them are asked to close
    // at once and share one wait of up to timeoutMs; those still running then
    // are ended by force, or left running when force is false. Says how
    // many ended in which way.
    TerminationCounts TerminateInstancesByImage(const WideString& target, DWORD timeoutMs, bool allInstances,
                                                bool force);

    int count;
    WideString* imagePaths;
    ProcessEntry* entries;
    int capacity;
};

// The creation time of a process (id > 0) or 16-bit task thread (id <= 0) as
// local time "YYYY/MM/DD hh:mm:ss.mmm".
WideString FormatStartTime(int id);

// True when the path ends in "\NTVDM.EXE" (letters a to z compared upper-cased).
bool IsNtvdmImage(const WideString& path);
