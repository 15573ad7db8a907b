// ProcessSnapshot::TerminateInstancesByImage and TerminateProcessesById:
// every instance of an image asked at once and waited for within one time
// limit, forced or left running at its end.
#include "process/ProcessSnapshot.h"
#include "process/ProcessTermination.h"
#include "tests/process/ProcessTestSupport.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using twk_test::ProcessEngineTest;
using twk_test::RunningProgram;
using twk_test::StartTarget;

const DWORD kLimitMs = 1500;
const DWORD kUnusedProcessId = 0x7FFFFFF0;

class TerminateInstances : public ProcessEngineTest {
protected:
    void SetUp() override { ASSERT_TRUE(dir.Created()); }

    std::wstring Image(const std::wstring& relative)
    {
        std::wstring path = dir / relative;
        EXPECT_TRUE(twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), path));
        return path;
    }

    // One instance of the image per mode, all started before any is ended.
    std::vector<std::unique_ptr<RunningProgram>> StartEach(const std::wstring& image,
                                                           const std::vector<std::wstring>& modes)
    {
        std::vector<std::unique_ptr<RunningProgram>> programs;
        for (const std::wstring& mode : modes) {
            programs.push_back(StartTarget(image, mode));
            EXPECT_TRUE(programs.back()) << std::string(mode.begin(), mode.end());
        }
        return programs;
    }

    twk_test::TempDirectory dir{L"twk-all"};
};

struct Timed {
    TerminationCounts counts;
    ULONGLONG elapsedMs;
};

Timed TimedTerminate(const std::wstring& image, DWORD timeoutMs, bool allInstances, bool force)
{
    ProcessSnapshot snapshot;
    ULONGLONG start = GetTickCount64();
    TerminationCounts counts =
        snapshot.TerminateInstancesByImage(WideString(image.c_str()), timeoutMs, allInstances, force);
    return Timed{counts, GetTickCount64() - start};
}

// "normally/byForce/wow/leftRunning/failed", to compare counts in one line.
std::string Text(const TerminationCounts& c)
{
    return std::to_string(c.endedNormally) + "/" + std::to_string(c.endedByForce) + "/" +
           std::to_string(c.endedByWowMethod) + "/" + std::to_string(c.leftRunning) + "/" +
           std::to_string(c.failed);
}

TEST_F(TerminateInstances, EveryInstanceIsAskedAtOnceAndThoseStillRunningAreForcedAtTheLimit)
{
    std::wstring image = Image(L"three\\Target.exe");
    auto programs = StartEach(image, {L"close", L"ignore", L"hidden", L"ignore", L"nowindow"});
    ASSERT_EQ(programs.size(), 5u);
    // Another image keeps running.
    auto bystander = StartTarget(Image(L"other\\Target.exe"), L"close");
    ASSERT_TRUE(bystander);

    Timed result = TimedTerminate(image, kLimitMs, true, true);
    EXPECT_EQ(Text(result.counts), "2/3/0/0/0");
    EXPECT_GE(result.elapsedMs, kLimitMs - 100);
    // One limit for all, not one after the other (that would take three).
    EXPECT_LT(result.elapsedMs, 2 * kLimitMs);
    for (auto& program : programs) {
        ASSERT_TRUE(program->WaitExit(2000));
        EXPECT_EQ(program->ExitCode(), 0u);
    }
    EXPECT_FALSE(bystander->WaitExit(0));
}

TEST_F(TerminateInstances, ReturnsAsSoonAsEveryInstanceHasClosed)
{
    std::wstring image = Image(L"polite\\Target.exe");
    auto programs = StartEach(image, {L"close", L"delay 500", L"hidden"});
    Timed result = TimedTerminate(image, 10000, true, true);
    EXPECT_EQ(Text(result.counts), "3/0/0/0/0");
    EXPECT_GE(result.elapsedMs, 400u);
    EXPECT_LT(result.elapsedMs, 5000u);
    for (auto& program : programs)
        EXPECT_TRUE(program->WaitExit(2000));
}

TEST_F(TerminateInstances, WithoutForceThoseStillRunningAreLeftAlone)
{
    struct Case {
        bool allInstances;
        std::vector<std::wstring> modes;
        const char* counts;
        int stillRunning;
    } cases[] = {
        {true, {L"close", L"ignore", L"ignore", L"nowindow"}, "1/0/0/3/0", 3},
        {false, {L"ignore"}, "0/0/0/1/0", 1},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.counts);
        std::wstring image = Image(L"noforce" + std::to_wstring(number++) + L"\\Target.exe");
        auto programs = StartEach(image, c.modes);
        Timed result = TimedTerminate(image, kLimitMs, c.allInstances, false);
        EXPECT_EQ(Text(result.counts), c.counts);
        EXPECT_GE(result.elapsedMs, kLimitMs - 100);
        EXPECT_LT(result.elapsedMs, 2 * kLimitMs);
        int running = 0;
        for (auto& program : programs)
            running += program->WaitExit(500) ? 0 : 1;
        EXPECT_EQ(running, c.stillRunning);
    }
}

TEST_F(TerminateInstances, WithoutAllOnlyTheInstanceListedLastIsEnded)
{
    std::wstring image = Image(L"two\\Target.exe");
    auto programs = StartEach(image, {L"close", L"close"});
    Timed result = TimedTerminate(image, 10000, false, true);
    EXPECT_EQ(Text(result.counts), "1/0/0/0/0");
    int ended = 0;
    for (auto& program : programs)
        ended += program->WaitExit(1000) ? 1 : 0;
    EXPECT_EQ(ended, 1);
}

TEST_F(TerminateInstances, NothingRunningFromTheImageCountsNothing)
{
    Timed result = TimedTerminate(dir / L"NeverStarted.exe", 10000, true, true);
    EXPECT_EQ(Text(result.counts), "0/0/0/0/0");
    EXPECT_EQ(result.counts.Total(), 0);
    EXPECT_LT(result.elapsedMs, 2000u);
}

TEST_F(TerminateInstances, AProcessThatCannotBeOpenedFailsWithoutHoldingUpTheOthers)
{
    auto closing = StartTarget(Image(L"open\\Target.exe"), L"close");
    ASSERT_TRUE(closing);
    const DWORD ids[] = {kUnusedProcessId, closing->Id()};
    ULONGLONG start = GetTickCount64();
    TerminationCounts counts = TerminateProcessesById(ids, 2, 10000, true);
    EXPECT_EQ(Text(counts), "1/0/0/0/1");
    EXPECT_LT(GetTickCount64() - start, 5000u);
    EXPECT_TRUE(closing->WaitExit(2000));

    EXPECT_EQ(Text(TerminateProcessesById(ids, 0, 10000, true)), "0/0/0/0/0");
}

TEST_F(TerminateInstances, PassesOverTheProgramsOwnProcess)
{
    // Filled by hand: an instance of another program listed under this
    // program's image, then this program itself.
    wchar_t own[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH * 4);
    auto other = StartTarget(Image(L"Other.exe"), L"close");
    ASSERT_TRUE(other);
    ProcessSnapshot snapshot;
    snapshot.Add(WideString(own), static_cast<int>(other->Id()), BitnessKind::Bits64, ElevationKind::Elevated,
                 true);
    snapshot.Add(WideString(own), static_cast<int>(GetCurrentProcessId()), BitnessKind::Bits64,
                 ElevationKind::Elevated, true);
    HWND window = CreateWindowExW(0, L"STATIC", L"Tarnwick own window", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100,
                                  50, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);

    ULONGLONG start = GetTickCount64();
    TerminationCounts counts = snapshot.TerminateInstancesByImage(WideString(own), 10000, true, true);
    EXPECT_EQ(Text(counts), "1/0/0/0/0");
    EXPECT_LT(GetTickCount64() - start, 5000u);
    EXPECT_TRUE(other->WaitExit(2000));
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "no WM_CLOSE to itself";
    DestroyWindow(window);
}

TEST(TerminationCounts, OneOutcomeAsTheSingleTargetTerminationReportsIt)
{
    struct Case {
        TerminationCounts counts;
        TerminateOutcome outcome;
    } cases[] = {
        {{0, 0, 0, 0, 0}, TerminateOutcome::NotFound},
        {{1, 0, 0, 0, 0}, TerminateOutcome::EndedNormally},
        {{0, 1, 0, 0, 0}, TerminateOutcome::EndedByForce},
        {{0, 0, 1, 0, 0}, TerminateOutcome::EndedByWowMethod},
        {{0, 0, 0, 0, 1}, TerminateOutcome::Failed},
        {{0, 0, 0, 1, 0}, TerminateOutcome::Failed},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(TerminateOutcomeName(OutcomeOfOne(c.counts)), TerminateOutcomeName(c.outcome));

    TerminationCounts counts = {};
    const TerminateOutcome added[] = {TerminateOutcome::EndedNormally,    TerminateOutcome::EndedNormally,
                                      TerminateOutcome::EndedByForce,     TerminateOutcome::Failed,
                                      TerminateOutcome::EndedByWowMethod, TerminateOutcome::NotFound,
                                      TerminateOutcome::FatalError};
    for (TerminateOutcome outcome : added)
        counts.Add(outcome);
    EXPECT_EQ(Text(counts), "2/1/1/0/1");
    EXPECT_EQ(counts.Total(), 5);
}

} // namespace
