// The 16-bit task support of TWK.exe, built for 64-bit with the support
// switched on and run against fake NTVDM processes (copies of
// twk_fake_ntvdm.exe named NTVDM.EXE) through the stand-in vdmdbg.dll. The
// fake processes record what happened to each task: WM_CLOSE messages, the
// VDMTerminateTaskWOW calls that named it and when, and when it ended.
#include "process/ProcessSnapshot.h"
#include "process/WowTasks.h"
#include "tests/process/ProcessTestSupport.h"
#include "tests/support/FakeNtvdm.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using twk_test::FakeNtvdm;
using twk_test::FakeTask;
using twk_test::FindEntry;
using twk_test::Name;
using twk_test::OwnWindow;
using twk_test::ProcessEngineTest;
using twk_test::Timed;

// The time limit where the task is waited for: short, so that the tests are.
const DWORD kLimitMs = 400;
// A limit that a test would notice being waited for.
const DWORD kLongLimitMs = 60000;
// Allowance for the tick counts of two processes, and for a loaded machine.
const ULONGLONG kTickSlackMs = 20;
const ULONGLONG kGenerousMs = 10000;

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// One TerminateByImage on a fresh snapshot.
Timed TerminateFresh(const std::wstring& target, DWORD timeoutMs)
{
    ProcessSnapshot snapshot;
    return twk_test::TimedTerminateByImage(snapshot, target, timeoutMs);
}

// The target is ended the 16-bit way, with the short time limit.
void ExpectEndedByWowMethod(const std::wstring& target)
{
    EXPECT_EQ(Name(TerminateFresh(target, kLimitMs).outcome), Name(TerminateOutcome::EndedByWowMethod));
}

// Milliseconds from the start of the call to the task's first VDMTerminateTaskWOW.
LONG64 TerminatedAfter(const fake_ntvdm::Task& task, const Timed& call)
{
    return task.terminateTick - static_cast<LONG64>(call.startTick);
}

// Its windows were told to close, and one VDMTerminateTaskWOW call ended it.
void ExpectEndedOnce(const FakeNtvdm& ntvdm, int index, LONG windows)
{
    EXPECT_TRUE(ntvdm.WaitTaskEnded(index, 5000)) << "task " << index;
    EXPECT_EQ(ntvdm.Task(index).closeMessages, windows) << "task " << index;
    EXPECT_EQ(ntvdm.Task(index).terminateCalls, 1) << "task " << index;
}

// Neither told to close nor ended, and still running.
void ExpectUntouched(const fake_ntvdm::Task& task, const char* which)
{
    EXPECT_EQ(task.closeMessages, 0) << which;
    EXPECT_EQ(task.terminateCalls, 0) << which;
    EXPECT_TRUE(task.running) << which;
}

// A file name with a character outside ASCII that the ANSI code page holds,
// or a plain one when it holds none of these.
std::wstring AnsiFileName()
{
    const wchar_t* candidates[] = {L"Caf\u00e9.exe", L"\u65e5\u672c.exe", L"\u0416\u0443\u043a.exe"};
    for (const wchar_t* name : candidates) {
        BOOL lost = FALSE;
        char ansi[64];
        if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, ansi, sizeof(ansi), nullptr, &lost) &&
            !lost)
            return name;
    }
    return L"PLAIN.EXE";
}

class WowTasks : public ProcessEngineTest {
protected:
    void SetUp() override { ASSERT_TRUE(dir.Created()); }

    // A fake NTVDM at dir\<folder>\NTVDM.EXE running these tasks.
    std::unique_ptr<FakeNtvdm> StartNtvdm(const std::wstring& folder, const std::vector<FakeTask>& tasks)
    {
        std::unique_ptr<FakeNtvdm> ntvdm(new FakeNtvdm(dir / folder, tasks));
        EXPECT_TRUE(ntvdm->Ready()) << Narrow(folder);
        return ntvdm;
    }

    // The path of a 16-bit program, as a task reports it (no file is there).
    std::wstring TaskFile(const std::wstring& relative) { return dir / (L"WIN16\\" + relative); }

    twk_test::TempDirectory dir{L"twk-wow"};
};

TEST_F(WowTasks, RunAgainstTheStandInLibraryBesideTheTestProgram)
{
    // Wine's own vdmdbg.dll does not implement the task enumeration: a call
    // to it ends the program.
    HMODULE library = GetModuleHandleW(L"vdmdbg.dll");
    ASSERT_NE(library, nullptr);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(library, path, MAX_PATH);
    EXPECT_EQ(lstrcmpiW(path, twk_test::BinPath(L"vdmdbg.dll").c_str()), 0) << Narrow(path);
}

TEST_F(WowTasks, ListsTheTasksInTheLibrarysOrderBeforeTheirNtvdm)
{
    const std::vector<FakeTask> tasks = {
        {L"close", 1, TaskFile(L"FIRST.EXE")},
        {L"ignore", 2, TaskFile(L"Second Program.exe")},
        {L"close", 1, TaskFile(AnsiFileName())},
    };
    auto ntvdm = StartNtvdm(L"vdm", tasks);
    ASSERT_TRUE(ntvdm->Ready());

    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    int own = FindEntry(snapshot, ntvdm->Id());
    ASSERT_GE(own, 3);
    EXPECT_EQ(lstrcmpiW(snapshot.imagePaths[own].CStr(), ntvdm->ImagePath().c_str()), 0);
    // The 32-bit build's rule: every process it lists is a 32-bit one.
    EXPECT_EQ(snapshot.entries[own].bitness, BitnessKind::Bits32);

    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const int i = own - 3 + k;
        const ProcessEntry entry = snapshot.entries[i];
        EXPECT_STREQ(snapshot.imagePaths[i].CStr(), tasks[k].fileName.c_str());
        EXPECT_EQ(entry.id, -static_cast<int>(ntvdm->Task(k).threadId));
        EXPECT_EQ(entry.bitness, BitnessKind::Task16);
        EXPECT_EQ(entry.elevation, snapshot.entries[own].elevation);
        EXPECT_EQ(entry.canTerminate, snapshot.entries[own].canTerminate);
        // A task started with its thread.
        std::wstring started = FormatStartTime(entry.id).CStr();
        EXPECT_FALSE(started.empty() || started == L"0") << Narrow(started);
    }

    // Other fake NTVDMs of tests running meanwhile may be listed too, but
    // every task entry is followed only by tasks up to its own NTVDM's entry.
    for (int i = 0; i < snapshot.count; ++i) {
        if (snapshot.entries[i].id > 0)
            continue;
        int next = i;
        while (next < snapshot.count && snapshot.entries[next].id <= 0)
            ++next;
        ASSERT_LT(next, snapshot.count) << "task entry " << i << " without its NTVDM";
        EXPECT_TRUE(IsNtvdmImage(snapshot.imagePaths[next])) << Narrow(snapshot.imagePaths[next].CStr());
    }
}

// Wine shows every process elevated and terminable; the NTVDM's values
// are handed in here as Enumerate hands in those it read.
TEST_F(WowTasks, CopiesTheNtvdmsElevationAndTerminateAccessOntoItsTasks)
{
    auto ntvdm =
        StartNtvdm(L"vdm", {{L"ignore", 1, TaskFile(L"ONE.EXE")}, {L"ignore", 1, TaskFile(L"TWO.EXE")}});
    ASSERT_TRUE(ntvdm->Ready());
    struct Case {
        ElevationKind elevation;
        bool canTerminate;
    } cases[] = {
        {ElevationKind::Default, true},
        {ElevationKind::Limited, false},
        {ElevationKind::Elevated, true},
        {ElevationKind::Elevated, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.elevation) * 10 + c.canTerminate);
        ProcessSnapshot snapshot;
        AddWowTasks(snapshot, ntvdm->Id(), c.elevation, c.canTerminate);
        // The tasks only: the NTVDM's own entry is the caller's to add.
        ASSERT_EQ(snapshot.count, 2);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(snapshot.entries[i].id, -static_cast<int>(ntvdm->Task(i).threadId));
            EXPECT_EQ(snapshot.entries[i].bitness, BitnessKind::Task16);
            EXPECT_EQ(snapshot.entries[i].elevation, c.elevation);
            EXPECT_EQ(snapshot.entries[i].canTerminate, c.canTerminate);
        }
    }

    // A process that is no NTVDM has no tasks.
    ProcessSnapshot snapshot;
    AddWowTasks(snapshot, GetCurrentProcessId(), ElevationKind::Elevated, true);
    EXPECT_EQ(snapshot.count, 0);
}

TEST_F(WowTasks, EndsTheTaskAfterTheWholeLimitWhetherItClosesAtOnceOrNever)
{
    // The task that closes at once gets a longer limit, so that its closing
    // is seen to come first on a loaded machine too.
    struct Case {
        const wchar_t* mode;
        bool closesByItself;
        DWORD limitMs;
    } cases[] = {{L"close", true, 4 * kLimitMs}, {L"ignore", false, kLimitMs}};
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.mode));
        std::wstring file = TaskFile(std::wstring(c.mode) + L"\\APP.EXE");
        auto ntvdm = StartNtvdm(c.mode, {{c.mode, 2, file}});
        ASSERT_TRUE(ntvdm->Ready());
        const fake_ntvdm::Task& task = ntvdm->Task(0);

        Timed call = TerminateFresh(file, c.limitMs);
        EXPECT_EQ(Name(call.outcome), Name(TerminateOutcome::EndedByWowMethod));
        EXPECT_GE(call.elapsedMs, c.limitMs);
        EXPECT_LT(call.elapsedMs, c.limitMs + kGenerousMs);
        // Both windows were told to close, and the task was ended a whole limit later.
        ExpectEndedOnce(*ntvdm, 0, 2);
        EXPECT_GE(TerminatedAfter(task, call) + static_cast<LONG64>(kTickSlackMs),
                  static_cast<LONG64>(c.limitMs));
        if (c.closesByItself)
            EXPECT_LT(task.endTick, task.terminateTick)
                << "it closed on WM_CLOSE, before the end was asked for";
        else
            EXPECT_GE(task.endTick, task.terminateTick) << "it ended only when it was ended";
    }
}

TEST_F(WowTasks, EndsOnlyTheFirstReportedOfTwoTasksFromOneFile)
{
    std::wstring file = TaskFile(L"TWICE.EXE");
    auto ntvdm =
        StartNtvdm(L"vdm", {{L"ignore", 1, file}, {L"ignore", 1, file}, {L"ignore", 1, TaskFile(L"X.EXE")}});
    ASSERT_TRUE(ntvdm->Ready());

    ExpectEndedByWowMethod(file);
    ExpectEndedOnce(*ntvdm, 0, 1);
    ExpectUntouched(ntvdm->Task(1), "the second task from the file");
    ExpectUntouched(ntvdm->Task(2), "another program's task");

    // The ended task is no longer listed: the next call ends the other one.
    ExpectEndedByWowMethod(file);
    ExpectEndedOnce(*ntvdm, 1, 1);
    EXPECT_EQ(ntvdm->Task(0).terminateCalls, 1);
    ExpectUntouched(ntvdm->Task(2), "another program's task");
}

TEST_F(WowTasks, EndsOneTaskInEachNtvdmAndWaitsTheLimitForEach)
{
    // Both NTVDMs number their tasks alike: the matching tasks have different
    // handles, and each handle names another task in the other process.
    std::wstring file = TaskFile(L"SHARED.EXE");
    auto first = StartNtvdm(L"vdm1", {{L"ignore", 1, TaskFile(L"OTHER.EXE")}, {L"ignore", 1, file}});
    auto second = StartNtvdm(L"vdm2", {{L"ignore", 1, file}, {L"ignore", 1, TaskFile(L"OTHER.EXE")}});
    ASSERT_TRUE(first->Ready() && second->Ready());

    Timed call = TerminateFresh(file, kLimitMs);
    EXPECT_EQ(Name(call.outcome), Name(TerminateOutcome::EndedByWowMethod));
    EXPECT_GE(call.elapsedMs, 2 * kLimitMs);
    EXPECT_LT(call.elapsedMs, 2 * kLimitMs + kGenerousMs);
    ExpectEndedOnce(*first, 1, 1);
    ExpectEndedOnce(*second, 0, 1);
    ExpectUntouched(first->Task(0), "first NTVDM, other task");
    ExpectUntouched(second->Task(1), "second NTVDM, other task");

    // One limit before the first end, another between the two.
    LONG64 earlier = std::min(TerminatedAfter(first->Task(1), call), TerminatedAfter(second->Task(0), call));
    LONG64 later = std::max(TerminatedAfter(first->Task(1), call), TerminatedAfter(second->Task(0), call));
    EXPECT_GE(earlier + static_cast<LONG64>(kTickSlackMs), static_cast<LONG64>(kLimitMs));
    EXPECT_GE(later - earlier + static_cast<LONG64>(kTickSlackMs), static_cast<LONG64>(kLimitMs));
}

TEST_F(WowTasks, TellsOnlyTheWindowsOfTheMatchingTasksThreadToClose)
{
    // Same base name (so the same module name) elsewhere, other tasks in the
    // same and in another NTVDM, and a program of its own that closes when asked.
    std::wstring file = TaskFile(L"target\\APP.EXE");
    auto first = StartNtvdm(L"vdm1", {{L"ignore", 2, TaskFile(L"other\\APP.EXE")},
                                      {L"ignore", 3, file},
                                      {L"ignore", 1, TaskFile(L"NOTEPAD.EXE")}});
    auto second = StartNtvdm(L"vdm2", {{L"ignore", 2, TaskFile(L"CALC.EXE")}});
    ASSERT_TRUE(first->Ready() && second->Ready());
    std::wstring programImage = dir / L"Bystander.exe";
    ASSERT_TRUE(twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), programImage));
    auto program = twk_test::StartTarget(programImage, L"close");
    ASSERT_TRUE(program);

    ExpectEndedByWowMethod(file);
    ExpectEndedOnce(*first, 1, 3);
    ExpectUntouched(first->Task(0), "same module name, other file");
    ExpectUntouched(first->Task(2), "other task, same NTVDM");
    ExpectUntouched(second->Task(0), "other NTVDM");
    EXPECT_FALSE(program->WaitExit(500)) << "another process's window was told to close";
}

TEST_F(WowTasks, CloseTaskWindowsPostsWmCloseOnlyForThatThreadOfThatProcess)
{
    OwnWindow visible(true);
    OwnWindow hidden(false);
    ASSERT_NE(visible.Handle(), nullptr);
    ASSERT_NE(hidden.Handle(), nullptr);
    const DWORD ownProcess = GetCurrentProcessId();
    const DWORD ownThread = GetCurrentThreadId();
    struct Case {
        DWORD processId;
        DWORD threadId;
        bool posted;
    } cases[] = {
        {ownProcess, ownThread, true},
        {ownProcess, ownThread + 4, false}, // another thread of the process
        {ownProcess + 4, ownThread, false}, // the thread id with another process
        {ownProcess, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.posted);
        WowTaskMatch match{c.processId,  c.threadId, WideString(),
                           WideString(), kLimitMs,   TerminateOutcome::EndedByWowMethod};
        EXPECT_TRUE(CloseTaskWindows(visible.Handle(), reinterpret_cast<LPARAM>(&match)));
        EXPECT_TRUE(CloseTaskWindows(hidden.Handle(), reinterpret_cast<LPARAM>(&match)));
        EXPECT_EQ(visible.TakeClose(), c.posted);
        EXPECT_EQ(hidden.TakeClose(), c.posted);
    }
}

TEST_F(WowTasks, MatchesTheFileNameWithoutRegardToCase)
{
    struct Case {
        const wchar_t* reported;
        const wchar_t* target;
    } cases[] = {
        {L"lower\\program.exe", L"LOWER\\PROGRAM.EXE"},
        {L"UPPER\\PROGRAM.EXE", L"upper\\program.exe"},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(number);
        auto ntvdm = StartNtvdm(L"vdm" + std::to_wstring(number++), {{L"ignore", 1, TaskFile(c.reported)}});
        ASSERT_TRUE(ntvdm->Ready());
        ExpectEndedByWowMethod(TaskFile(c.target));
        ExpectEndedOnce(*ntvdm, 0, 1);
    }
}

TEST_F(WowTasks, MatchesATaskThatReportsTheShortFormOfTheTarget)
{
    // A real file, so that the system has a short form for it.
    std::wstring file = dir / L"Programs\\Long Program Name.exe";
    ASSERT_TRUE(twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), file));
    wchar_t shortForm[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(file.c_str(), shortForm, MAX_PATH), 0u);
    ASSERT_NE(lstrcmpiW(shortForm, file.c_str()), 0);
    ASSERT_LE(lstrlenW(shortForm), static_cast<int>(file.size()));

    // The long form is listed in one NTVDM, the short form in another.
    auto first = StartNtvdm(L"vdm1", {{L"ignore", 1, TaskFile(L"OTHER.EXE")}, {L"ignore", 1, shortForm}});
    auto second = StartNtvdm(L"vdm2", {{L"ignore", 1, file}});
    ASSERT_TRUE(first->Ready() && second->Ready());

    ExpectEndedByWowMethod(file);
    ExpectEndedOnce(*first, 1, 1);
    ExpectEndedOnce(*second, 0, 1);
    ExpectUntouched(first->Task(0), "other task");
}

// When the system gives no short form that fits in the target's length + 1,
// the target alone is compared. The NTVDM first reports a task with an empty
// file name: compared against an empty short form, it would be ended instead.
// (An unset buffer would hold whatever was in memory: that is not shown.)
TEST_F(WowTasks, ComparesTheTargetAloneWhenItHasNoShortFormThatFits)
{
    // Short names of names with spaces are longer than the names: "a b" is
    // given as something like "A_B~XYZ1".
    std::wstring spaced = dir / L"a b\\c d\\e f\\g h.exe";
    ASSERT_TRUE(twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), spaced));
    struct Case {
        const char* what;
        std::wstring target;
    } cases[] = {
        {"nothing at that path", TaskFile(L"GONE.EXE")},
        {"a short form longer than the path", spaced},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The system's answer in the buffer the program gives it.
        std::vector<wchar_t> buffer(c.target.size() + 1);
        DWORD written = GetShortPathNameW(c.target.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        ASSERT_TRUE(written == 0 || written > buffer.size()) << written;

        auto ntvdm =
            StartNtvdm(L"vdm" + std::to_wstring(number++), {{L"ignore", 1, L""}, {L"ignore", 1, c.target}});
        ASSERT_TRUE(ntvdm->Ready());
        ExpectEndedByWowMethod(c.target);
        ExpectEndedOnce(*ntvdm, 1, 1);
        ExpectUntouched(ntvdm->Task(0), "the task with an empty file name");
    }
}

TEST_F(WowTasks, ReportsTheWowMethodWhateverHappened)
{
    std::wstring file = TaskFile(L"RUNS.EXE");
    auto ntvdm = StartNtvdm(L"vdm", {{L"ignore", 1, file}});
    ASSERT_TRUE(ntvdm->Ready());

    // No task of any NTVDM matches: nothing is told to close, nothing waited for.
    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(Name(TerminateWowTasks(snapshot, WideString(TaskFile(L"OTHER.EXE").c_str()), kLongLimitMs)),
              Name(TerminateOutcome::EndedByWowMethod));
    EXPECT_LT(GetTickCount64() - start, kGenerousMs);
    ExpectUntouched(ntvdm->Task(0), "not the target");

    // A snapshot with the task but without any NTVDM entry: nothing to ask.
    ProcessSnapshot handMade;
    handMade.Add(WideString(file.c_str()), -static_cast<int>(ntvdm->Task(0).threadId), BitnessKind::Task16,
                 ElevationKind::Elevated, true);
    start = GetTickCount64();
    EXPECT_EQ(Name(handMade.TerminateByImage(WideString(file.c_str()), kLongLimitMs)),
              Name(TerminateOutcome::EndedByWowMethod));
    EXPECT_LT(GetTickCount64() - start, kGenerousMs);
    ExpectUntouched(ntvdm->Task(0), "no NTVDM listed");

    // The NTVDM has gone since the snapshot was taken: the library lists nothing.
    ProcessSnapshot stale;
    stale.Enumerate();
    ASSERT_GE(FindEntry(stale, ntvdm->Id()), 0);
    DWORD id = ntvdm->Id();
    ntvdm.reset();
    ASSERT_TRUE(twk_test::WaitForProcessGone(id, 5000));
    start = GetTickCount64();
    EXPECT_EQ(Name(stale.TerminateByImage(WideString(file.c_str()), kLongLimitMs)),
              Name(TerminateOutcome::EndedByWowMethod));
    EXPECT_LT(GetTickCount64() - start, kGenerousMs);
}

} // namespace
