// twk_bench_process.exe: the figures of the main job, in one run on one
// machine (run it with bench/run-process-bench.sh):
//   1. The size of TWK64.exe and TWK.exe and their room below 100 KB.
//   2. Start to result on a quiet desktop and on a busy one (about 110
//      processes): a bare window program, TWK64.exe ending a program by its
//      path, Wine's taskkill /im on the same kind of program, and the
//      termination engine alone, in alternating rounds.
//   3. ProcessSnapshot::Enumerate beside the raw system calls that give the
//      same entries, on the same 25, 100 and 250 processes.
//   4. Handles, GDI and USER objects and private bytes of this process
//      around 1000 enumerations.
// With the argument "quiet", only the sizes and the quiet desktop are
// measured (a quicker look while working on the start of the program).
// Every figure comes from this run. A level of processes that cannot be
// reached is reported as such, and its rows are left out.
// Not a test: it checks nothing.
#include "bench/BenchFigures.h"
#include "bench/BenchFixtures.h"
#include "bench/EnumerateBench.h"
#include "bench/GrowthBench.h"
#include "bench/StartToResultBench.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/TempDirectory.h"

#include <windows.h>

#include <stdio.h>
#include <string>
#include <vector>

namespace {

using namespace twk_bench;

const int kStartRounds = 15;
const int kEnumerateRounds = 21;
const int kGrowthCalls = 1000;
const int kBusyDesktop = 110;
const int kEnumerateLevels[] = {25, 100, 250};
const long long kSizeLimit = 100 * 1024;

void PrintSizes()
{
    printf("Exe sizes (limit %lld bytes = 100 KB)\n", kSizeLimit);
    for (const wchar_t* name : {L"TWK64.exe", L"TWK.exe"}) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!GetFileAttributesExW(twk_test::BinPath(name).c_str(), GetFileExInfoStandard, &data)) {
            printf("  %-10ls not found beside the benchmark\n", name);
            continue;
        }
        long long size = static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        printf("  %-10ls %7lld bytes = %6.1f KB, room below the limit %+7lld bytes\n", name, size,
               size / 1024.0, kSizeLimit - size);
    }
}

// Grows the background load to `level` processes; prints why when it cannot.
bool Reach(BackgroundLoad& load, int level, const char* purpose)
{
    std::string problem;
    if (load.GrowTo(level, problem))
        return true;
    printf("\n%s at %d processes: not measured: %s\n", purpose, level, problem.c_str());
    return false;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    bool quietOnly = argc > 1 && lstrcmpiW(argv[1], L"quiet") == 0;
    twk_test::TempDirectory dir(L"twk-bench");
    if (!dir.Created()) {
        fprintf(stderr, "no temporary directory\n");
        return 1;
    }
    std::wstring idleImage = dir / L"BenchIdle.exe";
    if (!twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), idleImage)) {
        fprintf(stderr, "twk_target.exe not found beside the benchmark\n");
        return 1;
    }
    printf("Tarnwick benchmark (load average at the start: %s)\n\n", LoadAverage().c_str());
    PrintSizes();
    fflush(stdout);

    BenchStartToResult(dir.Path(), "quiet", kStartRounds);
    fflush(stdout);
    if (quietOnly)
        return 0;

    BackgroundLoad load(idleImage);
    std::vector<EnumerateLevel> levels;
    for (int wanted : kEnumerateLevels) {
        // The busy desktop lies between the second and the third level.
        if (wanted > kBusyDesktop && Reach(load, kBusyDesktop, "Start to result"))
            BenchStartToResult(dir.Path(), "busy", kStartRounds);
        EnumerateLevel level;
        level.wanted = wanted;
        level.reached = load.GrowTo(wanted, level.problem);
        if (level.reached)
            MeasureEnumerate(level, kEnumerateRounds);
        levels.push_back(level);
        if (wanted == kEnumerateLevels[0] && level.reached)
            BenchGrowth(kGrowthCalls);
        fflush(stdout);
    }
    PrintEnumerateLevels(levels, kEnumerateRounds);
    load.Clear();
    printf("\nLoad average at the end: %s\n", LoadAverage().c_str());
    fflush(stdout);
    return 0;
}
