// What 1000 enumerations leave behind in this process: handles, GDI and USER
// objects and private bytes before and after.
#pragma once

#include <windows.h>

namespace twk_bench {

// What this process holds: handles, GDI and USER objects, private bytes.
struct Usage {
    DWORD handleCount;   // GetProcessHandleCount
    DWORD handlesProbed; // handle values that GetHandleInformation accepts
    DWORD gdiObjects;    // GetGuiResources
    DWORD userObjects;
    SIZE_T privateUsage; // PROCESS_MEMORY_COUNTERS_EX::PrivateUsage
    SIZE_T pagefileUsage;
};

Usage OwnUsage();

// The table of before, after and change, one row a figure.
void PrintUsageChange(const Usage& before, const Usage& after);

void BenchGrowth(int calls);

} // namespace twk_bench
