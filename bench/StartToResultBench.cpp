#include "bench/StartToResultBench.h"

#include "bench/BenchFigures.h"
#include "bench/BenchFixtures.h"
#include "process/ProcessSnapshot.h"
#include "res/resource.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/StoredText.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/WindowDriver.h"

#include <windows.h>

#include <map>
#include <memory>
#include <stdio.h>
#include <string>

namespace twk_bench {

namespace {

using twk_test::RunningProgram;

const wchar_t kTargetClass[] = L"TarnwickTarget";
const wchar_t kTargetCaption[] = L"Tarnwick target";
const wchar_t kResultCaption[] = L"Tarnwick の結果";
const wchar_t kUnderWay[] = L"のプロセスを終了中";
const wchar_t kEndedNormally[] = L"のプロセス終了はほぼ正常に行われました";
const DWORD kWaitLimitMs = 20000;
const DWORD kTargetIdleLimitMs = 5000;
const DWORD kGoneLimitMs = 5000;
const DWORD kQuietLimitMs = 3000;

// One measurement, or why there is none.
struct Sample {
    bool measured;
    double ms;
    std::string failure;
    bool quiet; // the machine was quiet when the measurement began
};

// Called right before the clock starts: waits for a quiet moment.
bool QuietStart()
{
    return WaitForQuietMachine(kQuietLimitMs);
}

Sample Measured(double ms, bool quiet)
{
    return Sample{true, ms, std::string(), quiet};
}

Sample Failed(const std::string& why)
{
    return Sample{false, 0, why, true};
}

// Lets go of a program that has ended and waits until it is no longer
// listed: Wine lists a process as long as a handle to it is open, and about
// half a second after.
void ForgetEnded(std::unique_ptr<RunningProgram>& program)
{
    DWORD id = program->Id();
    program.reset();
    twk_test::WaitForProcessGone(id, kGoneLimitMs);
}

// A settled target: started, its window shown, and idle.
std::unique_ptr<RunningProgram> StartSettledTarget(const std::wstring& image)
{
    std::unique_ptr<RunningProgram> target = twk_test::StartTarget(image, L"close");
    if (!target)
        return nullptr;
    WaitForInputIdle(target->Handle(), kTargetIdleLimitMs);
    WaitUntilIdle({target->Handle()}, kTargetIdleLimitMs);
    return target;
}

// The process's top-level window of the class, visible or not yet. Only the
// windows of that class are looked at (the system filters them), so that a
// poll costs the measured program next to nothing.
HWND OwnedWindow(DWORD processId, const wchar_t* className)
{
    for (HWND window = FindWindowExW(nullptr, nullptr, className, nullptr); window;
         window = FindWindowExW(nullptr, window, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            return window;
    }
    return nullptr;
}

// Polls every millisecond, so that the figures are not rounded up to a
// coarse step. Each poll asks the system little: once the process's window
// is found, only that window is read, so that the polling slows the measured
// program as little as possible. Returns the window once done(window) holds, or null
// after kWaitLimitMs.
template <typename Done> HWND PollWindow(DWORD processId, const wchar_t* className, Done done)
{
    DWORD start = GetTickCount();
    HWND window = nullptr;
    for (;;) {
        if (!window)
            window = OwnedWindow(processId, className);
        if (window && done(window))
            return window;
        if (GetTickCount() - start >= kWaitLimitMs)
            return nullptr;
        Sleep(1);
    }
}

Sample MeasureBareWindow(const std::wstring& image)
{
    bool quiet = QuietStart();
    double start = NowMs();
    std::unique_ptr<RunningProgram> program(new RunningProgram(image, L"close"));
    if (!program->Started())
        return Failed("the bare window program did not start");
    HWND window = PollWindow(program->Id(), kTargetClass, [](HWND found) {
        return IsWindowVisible(found) && twk_test::StoredText(found) == kTargetCaption;
    });
    double elapsed = NowMs() - start;
    if (!window)
        return Failed("the bare window program showed no window");
    PostMessageW(window, WM_CLOSE, 0, 0);
    program->WaitExit(kGoneLimitMs);
    ForgetEnded(program);
    return Measured(elapsed, quiet);
}

// TWK64.exe with the target's path, as a shortcut starts it.
Sample MeasureTwk(const std::wstring& image)
{
    std::unique_ptr<RunningProgram> target = StartSettledTarget(image);
    if (!target)
        return Failed("the target did not start");

    bool quiet = QuietStart();
    double start = NowMs();
    RunningProgram twk(twk_test::BinPath(L"TWK64.exe"), L"\"" + image + L"\"");
    if (!twk.Started())
        return Failed("TWK64.exe did not start");
    // The caption changes first; the outcome is read once line 2 changes too.
    std::wstring outcome;
    HWND status = nullptr;
    HWND result = PollWindow(twk.Id(), L"#32770", [&](HWND dialog) {
        if (!status)
            status = GetDlgItem(dialog, IDC_PROGRESS_STATUS);
        if (!status || twk_test::StoredText(dialog) != kResultCaption)
            return false;
        outcome = twk_test::StoredText(status);
        return outcome != kUnderWay;
    });
    double elapsed = NowMs() - start;
    if (!result)
        return Failed("TWK64.exe showed no result");
    PostMessageW(result, WM_CLOSE, 0, 0);
    twk.WaitExit(kGoneLimitMs);
    if (outcome != kEndedNormally)
        return Failed("TWK64.exe showed another outcome");
    if (!target->WaitExit(kGoneLimitMs))
        return Failed("the target did not end");
    ForgetEnded(target);
    return Measured(elapsed, quiet);
}

// Wine's taskkill.exe /im <name>; its report line goes to NUL.
Sample MeasureTaskkill(const std::wstring& image)
{
    std::unique_ptr<RunningProgram> target = StartSettledTarget(image);
    if (!target)
        return Failed("the target did not start");
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring taskkill = std::wstring(system) + L"\\taskkill.exe";
    std::wstring name = image.substr(image.rfind(L'\\') + 1);
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
    bool quiet = QuietStart();
    double start = NowMs();
    BOOL started = CreateProcessW(taskkill.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &info);
    bool exited = started && target->WaitExit(kWaitLimitMs);
    double elapsed = NowMs() - start;
    if (started) {
        WaitForSingleObject(info.hProcess, kGoneLimitMs);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
    CloseHandle(nul);
    if (!started)
        return Failed("taskkill.exe did not start");
    if (!exited)
        return Failed("taskkill.exe did not end the target");
    ForgetEnded(target);
    return Measured(elapsed, quiet);
}

// The termination engine in this process, on a fresh snapshot.
Sample MeasureEngine(const std::wstring& image)
{
    std::unique_ptr<RunningProgram> target = StartSettledTarget(image);
    if (!target)
        return Failed("the target did not start");
    ProcessSnapshot snapshot;
    bool quiet = QuietStart();
    double start = NowMs();
    TerminateOutcome outcome = snapshot.TerminateByImage(WideString(image.c_str()), 10000);
    double elapsed = NowMs() - start;
    if (outcome != TerminateOutcome::EndedNormally)
        return Failed(std::string("outcome ") + TerminateOutcomeName(outcome));
    target->WaitExit(kGoneLimitMs);
    ForgetEnded(target);
    return Measured(elapsed, quiet);
}

struct Contestant {
    Contestant(const char* label, Sample (*measure)(const std::wstring&), const std::wstring& image)
        : label(label), measure(measure), image(image)
    {
    }

    const char* label;
    Sample (*measure)(const std::wstring& image);
    std::wstring image;
    Figures figures;
    std::map<std::string, int> failures;
};

} // namespace

void BenchStartToResult(const std::wstring& directory, const char* desktop, int rounds)
{
    // Each contestant works on an image of its own, so that taskkill /im
    // meets no other process of its name.
    Contestant contestants[] = {
        {"bare window program: start -> its window and text", MeasureBareWindow,
         directory + L"\\BenchBare.exe"},
        {"TWK64.exe <target>: start -> result shown", MeasureTwk, directory + L"\\BenchTwkTarget.exe"},
        {"taskkill.exe /im <name>: start -> target exited", MeasureTaskkill,
         directory + L"\\BenchKillTarget.exe"},
        {"TerminateByImage in this process: call -> return", MeasureEngine,
         directory + L"\\BenchEngineTarget.exe"},
    };
    const int count = sizeof(contestants) / sizeof(contestants[0]);
    for (Contestant& c : contestants) {
        if (!twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), c.image)) {
            printf("\nStart to result, %s desktop: not measured (twk_target.exe could not be copied)\n",
                   desktop);
            return;
        }
    }

    int listed = ListedCount();
    std::string loadBefore = LoadAverage();
    int busyMeasurements = 0;
    // Alternating rounds; the order turns by one each round.
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < count; ++i) {
            Contestant& c = contestants[(round + i) % count];
            Sample sample = c.measure(c.image);
            busyMeasurements += sample.quiet ? 0 : 1;
            if (sample.measured)
                c.figures.Add(sample.ms);
            else
                ++c.failures[sample.failure];
        }
    }

    printf("\nStart to result, %s desktop (%d processes listed, %d alternating rounds)\n", desktop, listed,
           rounds);
    printf("  load average before: %s, after: %s\n", loadBefore.c_str(), LoadAverage().c_str());
    printf(
        "  %d of %d measurements began without a quiet moment (processors less than 90 %% idle for %lu s)\n",
        busyMeasurements, rounds * count, kQuietLimitMs / 1000);
    PrintFiguresHeader("ms");
    for (const Contestant& c : contestants)
        PrintFiguresRow(c.label, c.figures);
    for (const Contestant& c : contestants) {
        for (const auto& failure : c.failures)
            printf("  %d rounds not counted for %.20s...: %s\n", failure.second, c.label,
                   failure.first.c_str());
    }
    const Figures& bare = contestants[0].figures;
    const Figures& twk = contestants[1].figures;
    const Figures& taskkill = contestants[2].figures;
    if (!twk.Empty() && !taskkill.Empty())
        printf("  TWK64.exe / taskkill.exe (medians): %.2f\n", twk.Median() / taskkill.Median());
    if (!twk.Empty() && !bare.Empty())
        printf("  TWK64.exe - bare window program (medians): %+.1f ms\n", twk.Median() - bare.Median());
}

} // namespace twk_bench
