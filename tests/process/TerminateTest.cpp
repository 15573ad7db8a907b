// ProcessSnapshot::TerminateByImage and TerminateInstancesByImage,
// TerminateProcessById, TerminateProcessesById and CloseProcessWindows
// against copies of twk_target.exe, each test with an image path of its own.
#include "process/ImagePath.h"
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

using twk_test::FindEntry;
using twk_test::ListedPath;
using twk_test::Name;
using twk_test::OwnWindow;
using twk_test::ProcessEngineTest;
using twk_test::RunningProgram;
using twk_test::StartTarget;
using twk_test::TempDirectory;
using twk_test::Timed;
using twk_test::TimedTerminateByImage;

const DWORD kCommandLineLimitMs = 10000;
const DWORD kShortLimitMs = 1500;
const DWORD kUnusedProcessId = 0x7FFFFFF0;

class ProcessTermination : public ProcessEngineTest {
protected:
    void SetUp() override { ASSERT_TRUE(dir.Created()); }

    // A copy of the fixture at dir\relative.
    std::wstring Image(const std::wstring& relative)
    {
        std::wstring path = dir / relative;
        EXPECT_TRUE(twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), path))
            << relative.size();
        return path;
    }

    // dir\<name><padding>...<extension>, exactly length characters long,
    // in directories of at most 100 characters.
    std::wstring PathOfLength(const std::wstring& name, int length, const std::wstring& extension)
    {
        std::wstring path = dir / name;
        while (static_cast<int>(path.size() + extension.size()) + 120 < length)
            path += L"\\" + std::wstring(99, L'd');
        path += L"\\" + std::wstring(length - path.size() - 1 - extension.size(), L'f') + extension;
        return path;
    }

    TempDirectory dir{L"twk-end"};
};

TEST_F(ProcessTermination, EndsPolitelyOrByForceAccordingToHowTheProgramAnswersWmClose)
{
    struct Case {
        const wchar_t* mode;
        DWORD limitMs;
        TerminateOutcome outcome;
        ULONGLONG atLeastMs; // lower bound of the time the call takes
        ULONGLONG belowMs;   // upper bound
    } cases[] = {
        // Closes at once: returns as soon as it has exited, long before the limit.
        {L"close", kCommandLineLimitMs, TerminateOutcome::EndedNormally, 0, 5000},
        // Only a hidden top-level window: it is told to close too.
        {L"hidden", kCommandLineLimitMs, TerminateOutcome::EndedNormally, 0, 5000},
        // Closes a second after WM_CLOSE: waited for, not forced.
        {L"delay 1000", kCommandLineLimitMs, TerminateOutcome::EndedNormally, 900, 5000},
        // Ignores WM_CLOSE, has no window, or is too slow: forced after the limit.
        {L"ignore", kShortLimitMs, TerminateOutcome::EndedByForce, kShortLimitMs - 100, 5000},
        {L"nowindow", kShortLimitMs, TerminateOutcome::EndedByForce, kShortLimitMs - 100, 5000},
        {L"delay 8000", kShortLimitMs, TerminateOutcome::EndedByForce, kShortLimitMs - 100, 5000},
    };
    int number = 0;
    for (const Case& c : cases) {
        std::wstring mode = c.mode;
        SCOPED_TRACE(std::string(mode.begin(), mode.end()));
        std::wstring image = Image(L"case" + std::to_wstring(number++) + L"\\Target.exe");
        auto program = StartTarget(image, mode);
        ASSERT_TRUE(program);

        ProcessSnapshot snapshot;
        Timed result = TimedTerminateByImage(snapshot, image, c.limitMs);
        EXPECT_EQ(Name(result.outcome), Name(c.outcome));
        EXPECT_GE(result.elapsedMs, c.atLeastMs);
        EXPECT_LT(result.elapsedMs, c.belowMs);
        ASSERT_TRUE(program->WaitExit(2000));
        // Its own exit code 0, or TerminateProcess's 0 (the test runner's kill would give 255).
        EXPECT_EQ(program->ExitCode(), 0u);
    }
}

TEST_F(ProcessTermination, MatchesThePathWithoutRegardToCase)
{
    std::wstring image = Image(L"Mixed Case Dir\\CaseTarget.exe");
    auto lowerProgram = StartTarget(image, L"close");
    ASSERT_TRUE(lowerProgram);
    std::wstring listed = ListedPath(lowerProgram->Id());
    ASSERT_FALSE(listed.empty());

    ProcessSnapshot lowerSnapshot;
    EXPECT_EQ(Name(lowerSnapshot.TerminateByImage(WideString(twk_test::Lower(listed).c_str()),
                                                  kCommandLineLimitMs)),
              Name(TerminateOutcome::EndedNormally));
    EXPECT_TRUE(lowerProgram->WaitExit(2000));

    auto upperProgram = StartTarget(image, L"close");
    ASSERT_TRUE(upperProgram);
    ProcessSnapshot upperSnapshot;
    EXPECT_EQ(Name(upperSnapshot.TerminateByImage(WideString(twk_test::Upper(listed).c_str()),
                                                  kCommandLineLimitMs)),
              Name(TerminateOutcome::EndedNormally));
    EXPECT_TRUE(upperProgram->WaitExit(2000));
}

TEST_F(ProcessTermination, FindsNothingForABareFileNameOrARelativePath)
{
    std::wstring image = Image(L"sub\\Bare.exe");
    auto program = StartTarget(image, L"close");
    ASSERT_TRUE(program);

    // Even with the current directory where a relative path would lead.
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    const std::wstring targets[] = {
        L"Bare.exe",  L"sub\\Bare.exe",      L".\\sub\\Bare.exe",
        L"Bare",      image.substr(2), // without the drive
        image + L" ", L"\"" + image + L"\"",
    };
    for (const std::wstring& target : targets) {
        ProcessSnapshot snapshot;
        Timed result = TimedTerminateByImage(snapshot, target, kCommandLineLimitMs);
        EXPECT_EQ(Name(result.outcome), Name(TerminateOutcome::NotFound)) << target.size();
        EXPECT_LT(result.elapsedMs, 2000u);
    }
    SetCurrentDirectoryW(previous);
    EXPECT_FALSE(program->WaitExit(0)) << "nothing may have been told to close";
}

TEST_F(ProcessTermination, EndsOnlyTheInstanceListedLast)
{
    std::wstring image = Image(L"Twice.exe");
    auto first = StartTarget(image, L"close");
    auto second = StartTarget(image, L"close");
    ASSERT_TRUE(first && second);

    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    int a = FindEntry(snapshot, first->Id());
    int b = FindEntry(snapshot, second->Id());
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    RunningProgram& last = a > b ? *first : *second;
    RunningProgram& earlier = a > b ? *second : *first;

    EXPECT_EQ(Name(snapshot.TerminateByImage(WideString(image.c_str()), kCommandLineLimitMs)),
              Name(TerminateOutcome::EndedNormally));
    EXPECT_TRUE(last.WaitExit(2000));
    EXPECT_FALSE(earlier.WaitExit(500)) << "the earlier instance must keep running";

    // A fresh snapshot no longer lists the ended one: the other is ended next.
    ProcessSnapshot next;
    EXPECT_EQ(Name(next.TerminateByImage(WideString(image.c_str()), kCommandLineLimitMs)),
              Name(TerminateOutcome::EndedNormally));
    EXPECT_TRUE(earlier.WaitExit(2000));
}

TEST_F(ProcessTermination, SearchesAFilledSnapshotUnchanged)
{
    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    ASSERT_GT(snapshot.count, 0);
    std::vector<std::wstring> paths;
    std::vector<int> ids;
    for (int i = 0; i < snapshot.count; ++i) {
        paths.push_back(snapshot.imagePaths[i].CStr());
        ids.push_back(snapshot.entries[i].id);
    }

    // Started after the snapshot was taken: not found.
    std::wstring image = Image(L"Later.exe");
    auto later = StartTarget(image, L"close");
    ASSERT_TRUE(later);
    Timed result = TimedTerminateByImage(snapshot, image, kCommandLineLimitMs);
    EXPECT_EQ(Name(result.outcome), Name(TerminateOutcome::NotFound));
    EXPECT_LT(result.elapsedMs, 2000u);
    EXPECT_FALSE(later->WaitExit(0));

    ASSERT_EQ(snapshot.count, static_cast<int>(paths.size()));
    for (int i = 0; i < snapshot.count; ++i) {
        EXPECT_EQ(snapshot.imagePaths[i].CStr(), paths[i]);
        EXPECT_EQ(snapshot.entries[i].id, ids[i]);
    }
}

TEST_F(ProcessTermination, UsesTheEntriesGivenWithoutEnumerating)
{
    // A snapshot holding one entry only, filled by hand: it is searched as it is.
    std::wstring image = Image(L"Given.exe");
    auto program = StartTarget(image, L"close");
    ASSERT_TRUE(program);
    ProcessSnapshot snapshot;
    snapshot.Add(WideString(L"C:\\not\\running.exe"), static_cast<int>(program->Id()), BitnessKind::Bits64,
                 ElevationKind::Elevated, true);

    EXPECT_EQ(Name(snapshot.TerminateByImage(WideString(image.c_str()), kCommandLineLimitMs)),
              Name(TerminateOutcome::NotFound));
    EXPECT_EQ(snapshot.count, 1);
    EXPECT_EQ(Name(snapshot.TerminateByImage(WideString(L"c:\\NOT\\running.exe"), kCommandLineLimitMs)),
              Name(TerminateOutcome::EndedNormally));
    EXPECT_TRUE(program->WaitExit(2000));
    EXPECT_EQ(snapshot.count, 1);
}

TEST_F(ProcessTermination, FillsAnEmptySnapshotFirst)
{
    ProcessSnapshot snapshot;
    EXPECT_EQ(
        Name(snapshot.TerminateByImage(WideString((dir / L"NeverStarted.exe").c_str()), kCommandLineLimitMs)),
        Name(TerminateOutcome::NotFound));
    EXPECT_GT(snapshot.count, 0);
    EXPECT_GE(FindEntry(snapshot, GetCurrentProcessId()), 0);
}

TEST_F(ProcessTermination, PassesOverTheProgramsOwnProcess)
{
    wchar_t own[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH * 4);

    // Other instances of this test program may run at the same time and share
    // its image; they would be ended in its stead. The check therefore runs in
    // a copy of the program whose image is its own.
    const wchar_t kChildMark[] = L"TWK_OWN_IMAGE_CHILD";
    if (GetEnvironmentVariableW(kChildMark, nullptr, 0) == 0) {
        std::wstring copy = dir / L"OwnImage.exe";
        ASSERT_TRUE(twk_test::CopyFileCreatingDirectories(own, copy));
        SetEnvironmentVariableW(kChildMark, L"1");
        long exitCode = twk_test::RunToExit(
            copy, L"--gtest_filter=ProcessTermination.PassesOverTheProgramsOwnProcess", 60000);
        SetEnvironmentVariableW(kChildMark, nullptr);
        EXPECT_EQ(exitCode, 0) << "the copy's own check failed (its output is above)";
        return;
    }

    OwnWindow window(true);
    ASSERT_NE(window.Handle(), nullptr);

    // The own process is listed, yet not chosen: no WM_CLOSE to itself, no wait.
    ProcessSnapshot snapshot;
    Timed result = TimedTerminateByImage(snapshot, own, kCommandLineLimitMs);
    EXPECT_EQ(Name(result.outcome), Name(TerminateOutcome::NotFound));
    EXPECT_LT(result.elapsedMs, 2000u);
    EXPECT_GE(FindEntry(snapshot, GetCurrentProcessId()), 0);
    EXPECT_FALSE(window.TakeClose());
}

TEST_F(ProcessTermination, EndsAnEarlierInstanceWhenTheOwnProcessIsListedLast)
{
    // Another instance of the same image, listed before the program itself.
    wchar_t own[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH * 4);
    auto other = StartTarget(Image(L"Other.exe"), L"close");
    ASSERT_TRUE(other);
    OwnWindow window(true);
    ProcessSnapshot snapshot;
    snapshot.Add(WideString(own), static_cast<int>(other->Id()), BitnessKind::Bits64, ElevationKind::Elevated,
                 true);
    snapshot.Add(WideString(own), static_cast<int>(GetCurrentProcessId()), BitnessKind::Bits64,
                 ElevationKind::Elevated, true);

    Timed result = TimedTerminateByImage(snapshot, own, kCommandLineLimitMs);
    EXPECT_EQ(Name(result.outcome), Name(TerminateOutcome::EndedNormally));
    EXPECT_LT(result.elapsedMs, 5000u);
    EXPECT_TRUE(other->WaitExit(2000));
    EXPECT_FALSE(window.TakeClose());
}

TEST_F(ProcessTermination, FailsWhenTheListedProcessCannotBeOpened)
{
    // Listed, but gone (or never there) by the time it is to be ended.
    ProcessSnapshot snapshot;
    snapshot.Add(WideString(L"C:\\gone\\Gone.exe"), static_cast<int>(kUnusedProcessId), BitnessKind::Bits64,
                 ElevationKind::Elevated, true);
    Timed result = TimedTerminateByImage(snapshot, L"C:\\gone\\Gone.exe", kCommandLineLimitMs);
    EXPECT_EQ(Name(result.outcome), Name(TerminateOutcome::Failed));
    EXPECT_LT(result.elapsedMs, 2000u);

    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(Name(TerminateProcessById(kUnusedProcessId, kCommandLineLimitMs)),
              Name(TerminateOutcome::Failed));
    EXPECT_LT(GetTickCount64() - start, 2000u);
}

// Wine cuts the image path of a program it starts at MAX_PATH (CreateProcess
// fails for a longer one), so the whole-path read is shown on a module loaded
// from a long path, read through the same function the enumeration uses.
TEST_F(ProcessTermination, ReadsAModuleFileNameOfAnyLengthWhole)
{
    const int lengths[] = {200, 258, 259, 260, 261, 300, 519, 520, 521, 1000, 2000};
    HANDLE own = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, GetCurrentProcessId());
    ASSERT_NE(own, nullptr);
    int number = 0;
    for (int length : lengths) {
        std::wstring path = PathOfLength(L"module" + std::to_wstring(number++), length, L".dll");
        ASSERT_EQ(static_cast<int>(path.size()), length);
        ASSERT_TRUE(twk_test::CopyFileCreatingDirectories(twk_test::BinPath(L"twk_module.dll"), path));
        HMODULE module = LoadLibraryW(twk_test::LongPathForm(path).c_str());
        ASSERT_NE(module, nullptr) << "length " << length << ", error " << GetLastError();

        WideString read = ReadModuleFileName(own, module);
        EXPECT_EQ(read.Length(), length);
        EXPECT_EQ(lstrcmpiW(read.CStr(), path.c_str()), 0) << "length " << length << ": " << read.CStr();
        FreeLibrary(module);
    }
    CloseHandle(own);
}

TEST_F(ProcessTermination, MatchesAListedPathLongerThanMaxPathOnlyWhole)
{
    std::wstring image = Image(L"LongTarget.exe");
    auto program = StartTarget(image, L"close");
    ASSERT_TRUE(program);
    std::wstring listed = PathOfLength(L"listed", 400, L".exe");
    ProcessSnapshot snapshot;
    snapshot.Add(WideString(listed.c_str()), static_cast<int>(program->Id()), BitnessKind::Bits64,
                 ElevationKind::Elevated, true);

    // The path cut at MAX_PATH, as a fixed buffer would have read it, is another path.
    EXPECT_EQ(Name(snapshot.TerminateByImage(WideString(listed.substr(0, MAX_PATH - 1).c_str()),
                                             kCommandLineLimitMs)),
              Name(TerminateOutcome::NotFound));
    EXPECT_FALSE(program->WaitExit(0));
    EXPECT_EQ(Name(snapshot.TerminateByImage(WideString(listed.c_str()), kCommandLineLimitMs)),
              Name(TerminateOutcome::EndedNormally));
    EXPECT_TRUE(program->WaitExit(2000));
}

TEST_F(ProcessTermination, CloseProcessWindowsPostsWmCloseOnlyToTheProcesssWindows)
{
    OwnWindow visible(true);
    OwnWindow hidden(false);
    ASSERT_NE(visible.Handle(), nullptr);
    ASSERT_NE(hidden.Handle(), nullptr);
    const LPARAM ownId = static_cast<LPARAM>(GetCurrentProcessId());

    // Another process's id: nothing posted, and the enumeration goes on.
    EXPECT_TRUE(CloseProcessWindows(visible.Handle(), ownId + 4));
    EXPECT_TRUE(CloseProcessWindows(hidden.Handle(), ownId + 4));
    EXPECT_FALSE(visible.TakeClose());
    EXPECT_FALSE(hidden.TakeClose());

    // Its own id: posted, whether the window is visible or not.
    EXPECT_TRUE(CloseProcessWindows(visible.Handle(), ownId));
    EXPECT_TRUE(CloseProcessWindows(hidden.Handle(), ownId));
    EXPECT_TRUE(visible.TakeClose());
    EXPECT_TRUE(hidden.TakeClose());
}

TEST_F(ProcessTermination, TerminateProcessByIdEndsTheProcessOfTheId)
{
    struct Case {
        const wchar_t* mode;
        TerminateOutcome outcome;
    } cases[] = {
        {L"close", TerminateOutcome::EndedNormally},
        {L"ignore", TerminateOutcome::EndedByForce},
    };
    for (const Case& c : cases) {
        auto program = StartTarget(Image(std::wstring(L"ById-") + c.mode + L".exe"), c.mode);
        ASSERT_TRUE(program);
        EXPECT_EQ(Name(TerminateProcessById(program->Id(), kShortLimitMs)), Name(c.outcome));
        EXPECT_TRUE(program->WaitExit(2000));
        EXPECT_EQ(program->ExitCode(), 0u);
    }
}

// Every instance of an image, asked at once and waited for within one time
// limit, then forced or left running.

struct TimedCounts {
    TerminationCounts counts;
    ULONGLONG elapsedMs;
};

TimedCounts TimedTerminateInstances(const std::wstring& image, DWORD timeoutMs, bool allInstances, bool force)
{
    ProcessSnapshot snapshot;
    ULONGLONG start = GetTickCount64();
    TerminationCounts counts =
        snapshot.TerminateInstancesByImage(WideString(image.c_str()), timeoutMs, allInstances, force);
    return TimedCounts{counts, GetTickCount64() - start};
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

// "normally/byForce/wow/leftRunning/failed", to compare counts in one line.
std::string Text(const TerminationCounts& c)
{
    return std::to_string(c.endedNormally) + "/" + std::to_string(c.endedByForce) + "/" +
           std::to_string(c.endedByWowMethod) + "/" + std::to_string(c.leftRunning) + "/" +
           std::to_string(c.failed);
}

TEST_F(ProcessTermination, EveryInstanceIsAskedAtOnceAndThoseStillRunningAreForcedAtTheLimit)
{
    std::wstring image = Image(L"three\\Target.exe");
    auto programs = StartEach(image, {L"close", L"ignore", L"hidden", L"ignore", L"nowindow"});
    ASSERT_EQ(programs.size(), 5u);
    // Another image keeps running.
    auto bystander = StartTarget(Image(L"other\\Target.exe"), L"close");
    ASSERT_TRUE(bystander);

    TimedCounts result = TimedTerminateInstances(image, kShortLimitMs, true, true);
    EXPECT_EQ(Text(result.counts), "2/3/0/0/0");
    EXPECT_GE(result.elapsedMs, kShortLimitMs - 100);
    // One limit for all, not one after the other (that would take three).
    EXPECT_LT(result.elapsedMs, 2 * kShortLimitMs);
    for (auto& program : programs) {
        ASSERT_TRUE(program->WaitExit(2000));
        EXPECT_EQ(program->ExitCode(), 0u);
    }
    EXPECT_FALSE(bystander->WaitExit(0));
}

TEST_F(ProcessTermination, EveryInstanceEndsAsSoonAsAllHaveClosed)
{
    std::wstring image = Image(L"polite\\Target.exe");
    auto programs = StartEach(image, {L"close", L"delay 500", L"hidden"});
    TimedCounts result = TimedTerminateInstances(image, 10000, true, true);
    EXPECT_EQ(Text(result.counts), "3/0/0/0/0");
    EXPECT_GE(result.elapsedMs, 400u);
    EXPECT_LT(result.elapsedMs, 5000u);
    for (auto& program : programs)
        EXPECT_TRUE(program->WaitExit(2000));
}

TEST_F(ProcessTermination, WithoutForceThoseStillRunningAreLeftAlone)
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
        TimedCounts result = TimedTerminateInstances(image, kShortLimitMs, c.allInstances, false);
        EXPECT_EQ(Text(result.counts), c.counts);
        EXPECT_GE(result.elapsedMs, kShortLimitMs - 100);
        EXPECT_LT(result.elapsedMs, 2 * kShortLimitMs);
        int running = 0;
        for (auto& program : programs)
            running += program->WaitExit(500) ? 0 : 1;
        EXPECT_EQ(running, c.stillRunning);
    }
}

TEST_F(ProcessTermination, EveryInstanceOfAnImageNothingRunsFromCountsNothing)
{
    TimedCounts result = TimedTerminateInstances(dir / L"NeverStarted.exe", 10000, true, true);
    EXPECT_EQ(Text(result.counts), "0/0/0/0/0");
    EXPECT_EQ(result.counts.Total(), 0);
    EXPECT_LT(result.elapsedMs, 2000u);
}

TEST_F(ProcessTermination, AProcessThatCannotBeOpenedFailsWithoutHoldingUpTheOthers)
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

TEST_F(ProcessTermination, EveryInstancePassesOverTheProgramsOwnProcess)
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
    OwnWindow window(true);
    ASSERT_NE(window.Handle(), nullptr);

    ULONGLONG start = GetTickCount64();
    TerminationCounts counts = snapshot.TerminateInstancesByImage(WideString(own), 10000, true, true);
    EXPECT_EQ(Text(counts), "1/0/0/0/0");
    EXPECT_LT(GetTickCount64() - start, 5000u);
    EXPECT_TRUE(other->WaitExit(2000));
    EXPECT_FALSE(window.TakeClose()) << "no WM_CLOSE to itself";
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
