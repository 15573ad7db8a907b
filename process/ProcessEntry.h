// One process, or one 16-bit task, of a ProcessSnapshot.
#pragma once

#include "core/ElevationKind.h"
#include "core/WideString.h"

enum class BitnessKind : int {
    Unknown = 0, // 64-bit build, when IsWow64Process fails
    Task16 = 1,  // 16-bit task inside NTVDM (32-bit build)
    Bits32 = 2,
    Bits64 = 3,
};

// The fixed part of an entry, copied as one value by its readers.
struct ProcessEntry {
    int id; // process id (> 0), or the negated thread id of a 16-bit task (<= 0)
    BitnessKind bitness;
    ElevationKind elevation;
    bool canTerminate; // opened with SYNCHRONIZE | PROCESS_TERMINATE when listed
};
