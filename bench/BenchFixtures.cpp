#include "bench/BenchFixtures.h"

#include "bench/BenchFigures.h"
#include "process/ProcessSnapshot.h"
#include "tests/support/TargetProgram.h"

#include <stdio.h>

namespace twk_bench {

namespace {

const int kStartBatch = 20;
const int kStartRounds = 4;
const DWORD kReadyLimitMs = 30000;
const DWORD kIdleWindowMs = 150;
const DWORD kSettleLimitMs = 20000;
const DWORD kGoneLimitMs = 5000;

const DWORD kQuietWindowMs = 200;
const double kQuietIdleShare = 0.9;

ULONGLONG Ticks(const FILETIME& time)
{
    return static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

ULONGLONG CpuTime(HANDLE process)
{
    FILETIME creation, exit, kernel, user;
    if (!GetProcessTimes(process, &creation, &exit, &kernel, &user))
        return 0;
    return Ticks(kernel) + Ticks(user);
}

ULONGLONG TotalCpuTime(const std::vector<HANDLE>& processes)
{
    ULONGLONG total = 0;
    for (HANDLE process : processes)
        total += CpuTime(process);
    return total;
}

} // namespace

int ListedCount()
{
    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    return snapshot.count;
}

bool WaitUntilIdle(const std::vector<HANDLE>& processes, DWORD limitMs)
{
    // Idle means two windows in a row without any CPU time: Linux counts CPU
    // time in 10 ms steps, so one quiet window alone proves little.
    DWORD start = GetTickCount();
    ULONGLONG last = TotalCpuTime(processes);
    int quietWindows = 0;
    while (quietWindows < 2) {
        if (GetTickCount() - start >= limitMs)
            return false;
        Sleep(kIdleWindowMs);
        ULONGLONG now = TotalCpuTime(processes);
        quietWindows = now == last ? quietWindows + 1 : 0;
        last = now;
    }
    return true;
}

bool WaitForQuietMachine(DWORD limitMs)
{
    // The idle time of all processors against the wall-clock time they had.
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    DWORD start = GetTickCount();
    for (;;) {
        FILETIME idleBefore, kernel, user, idleAfter;
        GetSystemTimes(&idleBefore, &kernel, &user);
        double windowStart = NowMs();
        Sleep(kQuietWindowMs);
        GetSystemTimes(&idleAfter, &kernel, &user);
        double available = (NowMs() - windowStart) * 10000.0 * system.dwNumberOfProcessors;
        if (static_cast<double>(Ticks(idleAfter) - Ticks(idleBefore)) >= kQuietIdleShare * available)
            return true;
        if (GetTickCount() - start >= limitMs)
            return false;
    }
}

bool BackgroundLoad::GrowTo(int level, std::string& problem)
{
    StartFailures failures;
    for (int round = 0; round < kStartRounds; ++round) {
        int listed = ListedCount();
        if (listed >= level)
            break;
        if (round > 0)
            Sleep(1000 * round); // let a loaded machine catch up before trying again
        StartMissing(level - listed, failures);
    }
    int listed = ListedCount();
    if (listed >= level) {
        if (!Settle())
            printf("  (note: the fixtures were still using CPU time after %lu s)\n", kSettleLimitMs / 1000);
        return true;
    }
    char text[256];
    snprintf(text, sizeof(text),
             "only %d of %d processes listed after %d rounds of starts: %d starts failed "
             "(last error %lu), %d fixtures started but did not get ready within %lu s",
             listed, level, kStartRounds, failures.notStarted, failures.lastError, failures.notReady,
             kReadyLimitMs / 1000);
    problem = text;
    return false;
}

void BackgroundLoad::StartMissing(int missing, StartFailures& failures)
{
    // In batches, each waited for until it is ready, so that a slow start is
    // waited for rather than counted as a failure.
    for (; missing > 0; missing -= kStartBatch) {
        Programs batch;
        for (int i = 0; i < missing && i < kStartBatch; ++i) {
            std::unique_ptr<twk_test::RunningProgram> program(
                new twk_test::RunningProgram(image, L"nowindow"));
            if (!program->Started()) {
                failures.lastError = GetLastError();
                ++failures.notStarted;
                continue;
            }
            batch.push_back(std::move(program));
        }
        for (auto& program : batch) {
            if (twk_test::WaitForMainModule(program->Id(), kReadyLimitMs))
                programs.push_back(std::move(program));
            else
                ++failures.notReady; // killed when the batch goes
        }
    }
}

void BackgroundLoad::Clear()
{
    std::vector<DWORD> ids;
    for (const auto& program : programs)
        ids.push_back(program->Id());
    programs.clear(); // kills each one and waits for its end
    for (DWORD id : ids)
        twk_test::WaitForProcessGone(id, kGoneLimitMs);
}

bool BackgroundLoad::Settle()
{
    std::vector<HANDLE> handles;
    for (const auto& program : programs)
        handles.push_back(program->Handle());
    return WaitUntilIdle(handles, kSettleLimitMs);
}

} // namespace twk_bench
