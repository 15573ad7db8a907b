#include "bench/GrowthBench.h"

#include "process/ProcessSnapshot.h"

#include <windows.h>

#include <psapi.h>

#include <stdio.h>

namespace twk_bench {

namespace {

// Wine answers GetProcessHandleCount with 0, so the open handles are also
// counted by trying every handle value up to 65536.
DWORD ProbeHandles()
{
    DWORD open = 0;
    for (ULONG_PTR value = 4; value < 65536; value += 4) {
        DWORD flags = 0;
        open += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    }
    return open;
}

void PrintChange(const char* name, unsigned long long before, unsigned long long after)
{
    printf("  %-40s %12llu %12llu %+12lld\n", name, before, after,
           static_cast<long long>(after) - static_cast<long long>(before));
}

} // namespace

Usage OwnUsage()
{
    Usage usage = {};
    usage.handlesProbed = ProbeHandles();
    GetProcessHandleCount(GetCurrentProcess(), &usage.handleCount);
    usage.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    usage.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof(counters))) {
        usage.privateUsage = counters.PrivateUsage;
        usage.pagefileUsage = counters.PagefileUsage;
    }
    return usage;
}

void PrintUsageChange(const Usage& before, const Usage& after)
{
    printf("  %-40s %12s %12s %12s\n", "", "before", "after", "change");
    PrintChange("handles (GetProcessHandleCount)", before.handleCount, after.handleCount);
    PrintChange("handles (open handle values probed)", before.handlesProbed, after.handlesProbed);
    PrintChange("GDI objects (GetGuiResources)", before.gdiObjects, after.gdiObjects);
    PrintChange("USER objects (GetGuiResources)", before.userObjects, after.userObjects);
    PrintChange("private bytes (PrivateUsage)", before.privateUsage, after.privateUsage);
    PrintChange("private bytes (PagefileUsage)", before.pagefileUsage, after.pagefileUsage);
}

void BenchGrowth(int calls)
{
    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    int listed = snapshot.count;
    Usage before = OwnUsage();
    for (int i = 0; i < calls; ++i)
        snapshot.Enumerate();
    Usage after = OwnUsage();
    printf("\nThis process around %d Enumerate calls on one snapshot (%d processes listed)\n", calls, listed);
    PrintUsageChange(before, after);
}

} // namespace twk_bench
