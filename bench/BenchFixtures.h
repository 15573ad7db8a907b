// The processes the benchmarks run among and work on: idle copies of
// twk_target.exe that make the desktop busy, and the wait until processes
// have finished starting (their CPU time stands still).
#pragma once

#include "tests/support/ProgramRunner.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace twk_bench {

using Programs = std::vector<std::unique_ptr<twk_test::RunningProgram>>;

// The number of processes a fresh ProcessSnapshot lists now.
int ListedCount();

// Waits until the processes use no CPU time for a while (all of them started
// and idle), or until limitMs. Returns false on the limit.
bool WaitUntilIdle(const std::vector<HANDLE>& processes, DWORD limitMs);

// Waits until the machine's processors have been nearly idle for a short
// window (other programs' work, or the end of the processes of a previous
// round, would otherwise land in a measurement), or until limitMs. Returns
// false on the limit.
bool WaitForQuietMachine(DWORD limitMs);

// Idle "nowindow" copies of the fixture, started from one image path.
class BackgroundLoad {
public:
    explicit BackgroundLoad(const std::wstring& image) : image(image) {}

    // Starts fixtures until a fresh snapshot lists at least `level` processes.
    // A fixture that does not start or does not get ready is replaced, in a
    // few rounds with pauses between them. Returns true when the level was
    // reached; otherwise `problem` says what stood in the way.
    bool GrowTo(int level, std::string& problem);
    // Ends every fixture and waits until they are no longer listed.
    void Clear();
    // Waits until every fixture is idle; false when that did not happen.
    bool Settle();
    int Count() const { return static_cast<int>(programs.size()); }

private:
    struct StartFailures {
        int notStarted = 0;
        int notReady = 0;
        DWORD lastError = 0;
    };
    void StartMissing(int missing, StartFailures& failures);

    std::wstring image;
    Programs programs;
};

} // namespace twk_bench
