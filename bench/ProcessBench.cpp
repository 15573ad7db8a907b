// twk_bench_process.exe: figures for the process engine, printed as a table.
//   1. ProcessSnapshot::Enumerate with about 25, 100 and 250 processes
//      running (copies of twk_target.exe in "nowindow" mode): median time
//      per call and per listed process.
//   2. Ending a twk_target.exe that closes at once on WM_CLOSE: the time of
//      TerminateByImage (call to return, fresh snapshot) beside Wine's own
//      "taskkill.exe /im <name>" (its start until the target has exited),
//      in alternating rounds of the same run.
//   3. Handle count and private bytes of this process before and after 1000
//      Enumerate calls.
// Run it with bench/run-process-bench.sh. Not a test: it checks nothing.
#include "process/ProcessSnapshot.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/TempDirectory.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <memory>
#include <stdio.h>
#include <string>
#include <vector>

namespace {

using twk_test::RunningProgram;
using Programs = std::vector<std::unique_ptr<RunningProgram>>;

const int kProcessLevels[] = {25, 100, 250};
const int kEnumerateCalls = 21;
const int kTerminateRounds = 9;
const int kLeakCalls = 1000;

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int ListedCount()
{
    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    return snapshot.count;
}

// Starts "nowindow" fixtures until about `level` processes are listed.
bool GrowTo(int level, const std::wstring& image, Programs& programs)
{
    int missing = level - ListedCount();
    for (int i = 0; i < missing; ++i) {
        programs.push_back(twk_test::StartTarget(image, L"nowindow"));
        if (!programs.back()) {
            fprintf(stderr, "could not start fixture number %d\n", static_cast<int>(programs.size()));
            return false;
        }
    }
    return true;
}

void BenchEnumerate(const std::wstring& image, Programs& programs)
{
    printf("Enumerate (median of %d calls on one snapshot)\n", kEnumerateCalls);
    printf("  %-10s %-10s %14s %16s\n", "wanted", "listed", "ms per call", "us per process");
    for (int level : kProcessLevels) {
        if (!GrowTo(level, image, programs))
            return;
        Sleep(2000); // let the new processes finish starting
        ProcessSnapshot snapshot;
        snapshot.Enumerate(); // warm: the slots exist from here on
        std::vector<double> times;
        for (int i = 0; i < kEnumerateCalls; ++i) {
            double start = NowMs();
            snapshot.Enumerate();
            times.push_back(NowMs() - start);
        }
        double median = Median(times);
        printf("  %-10d %-10d %14.2f %16.1f\n", level, snapshot.count, median,
               1000.0 * median / snapshot.count);
    }
}

// TerminateByImage from its call to its return, on a fresh snapshot.
double TimeTerminateByImage(const std::wstring& image, TerminateOutcome& outcome)
{
    auto target = twk_test::StartTarget(image, L"close");
    if (!target)
        return -1;
    ProcessSnapshot snapshot;
    double start = NowMs();
    outcome = snapshot.TerminateByImage(WideString(image.c_str()), 10000);
    double elapsed = NowMs() - start;
    target->WaitExit(5000);
    return elapsed;
}

// taskkill.exe /im <name>: from its start until the target has exited. Its
// report line goes to NUL.
double TimeTaskkill(const std::wstring& image, const std::wstring& name)
{
    auto target = twk_test::StartTarget(image, L"close");
    if (!target)
        return -1;
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring taskkill = std::wstring(system) + L"\\taskkill.exe";
    std::wstring commandLine = L"\"" + taskkill + L"\" /im " + name;

    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION info = {};
    double start = NowMs();
    BOOL started = CreateProcessW(taskkill.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &info);
    bool exited = started && target->WaitExit(10000);
    double elapsed = NowMs() - start;
    if (started) {
        WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
    CloseHandle(nul);
    return exited ? elapsed : -1;
}

void BenchTerminate(const twk_test::TempDirectory& dir, int listed)
{
    std::wstring ownImage = dir / L"BenchClose.exe";
    std::wstring killImage = dir / L"BenchTaskkill.exe";
    twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), ownImage);
    twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), killImage);

    std::vector<double> own, taskkill;
    int ownOk = 0;
    for (int round = 0; round < kTerminateRounds; ++round) {
        TerminateOutcome outcome = TerminateOutcome::FatalError;
        double a = TimeTerminateByImage(ownImage, outcome);
        double b = TimeTaskkill(killImage, L"BenchTaskkill.exe");
        if (a >= 0) {
            own.push_back(a);
            ownOk += outcome == TerminateOutcome::EndedNormally;
        }
        if (b >= 0)
            taskkill.push_back(b);
    }
    printf("\nEnding a fixture that closes at once on WM_CLOSE (%d rounds, about %d processes listed)\n",
           kTerminateRounds, listed);
    if (own.empty() || taskkill.empty()) {
        printf("  not measured: a fixture or taskkill.exe did not start or did not end\n");
        return;
    }
    double ownMedian = Median(own);
    double killMedian = Median(taskkill);
    printf("  %-46s %10s %10s %10s\n", "", "median ms", "min ms", "max ms");
    printf("  %-46s %10.1f %10.1f %10.1f\n", "TerminateByImage (call to return)", ownMedian,
           *std::min_element(own.begin(), own.end()), *std::max_element(own.begin(), own.end()));
    printf("  %-46s %10.1f %10.1f %10.1f\n", "taskkill.exe /im (start to target exited)", killMedian,
           *std::min_element(taskkill.begin(), taskkill.end()),
           *std::max_element(taskkill.begin(), taskkill.end()));
    printf("  ratio TerminateByImage / taskkill: %.2f   (outcome EndedNormally in %d of %d rounds)\n",
           ownMedian / killMedian, ownOk, static_cast<int>(own.size()));
}

struct Usage {
    DWORD handleCount;   // GetProcessHandleCount
    DWORD handlesProbed; // handle values that GetHandleInformation accepts
    SIZE_T privateUsage; // PROCESS_MEMORY_COUNTERS_EX::PrivateUsage
    SIZE_T pagefileUsage;
};

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

Usage OwnUsage()
{
    Usage usage{0, ProbeHandles(), 0, 0};
    GetProcessHandleCount(GetCurrentProcess(), &usage.handleCount);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof(counters))) {
        usage.privateUsage = counters.PrivateUsage;
        usage.pagefileUsage = counters.PagefileUsage;
    }
    return usage;
}

void PrintChange(const char* name, unsigned long long before, unsigned long long after)
{
    printf("  %-36s %14llu %14llu %+14lld\n", name, before, after,
           static_cast<long long>(after) - static_cast<long long>(before));
}

void BenchResources()
{
    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    int listed = snapshot.count;
    Usage before = OwnUsage();
    for (int i = 0; i < kLeakCalls; ++i)
        snapshot.Enumerate();
    Usage after = OwnUsage();
    printf("\nThis process around %d Enumerate calls on one snapshot (about %d processes listed)\n",
           kLeakCalls, listed);
    printf("  %-36s %14s %14s %14s\n", "", "before", "after", "change");
    PrintChange("handles (GetProcessHandleCount)", before.handleCount, after.handleCount);
    PrintChange("handles (open handle values probed)", before.handlesProbed, after.handlesProbed);
    PrintChange("private bytes (PrivateUsage)", before.privateUsage, after.privateUsage);
    PrintChange("private bytes (PagefileUsage)", before.pagefileUsage, after.pagefileUsage);
}

} // namespace

int wmain()
{
    twk_test::TempDirectory dir(L"twk-bench");
    if (!dir.Created()) {
        fprintf(stderr, "no temporary directory\n");
        return 1;
    }
    std::wstring image = dir / L"BenchIdle.exe";
    if (!twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), image)) {
        fprintf(stderr, "twk_target.exe not found beside the benchmark\n");
        return 1;
    }
    printf("Process engine benchmark (%d processes listed before any fixture starts)\n\n", ListedCount());

    Programs programs;
    BenchEnumerate(image, programs);
    programs.clear(); // every idle fixture is killed
    Sleep(1000);      // Wine lists ended processes for about half a second more

    // Ending and resources with about 25 processes running.
    GrowTo(kProcessLevels[0], image, programs);
    Sleep(2000);
    BenchTerminate(dir, ListedCount());
    BenchResources();
    programs.clear();
    fflush(stdout);
    return 0;
}
