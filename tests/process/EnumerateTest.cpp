// ProcessSnapshot::Enumerate against the processes running under Wine: the
// program itself, copies of twk_target.exe, and hundreds of them at once.
#include "process/ImagePath.h"
#include "process/ProcessSnapshot.h"
#include "tests/process/ProcessTestSupport.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using twk_test::FindEntry;
using twk_test::ProcessEngineTest;
using twk_test::RunningProgram;
using twk_test::StartTarget;
using twk_test::TempDirectory;

using Programs = std::vector<std::unique_ptr<RunningProgram>>;

std::wstring OwnImagePath()
{
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return path;
}

// Every entry has a listable path and an id of a process, each id once.
void ExpectSoundEntries(const ProcessSnapshot& snapshot)
{
    ASSERT_LE(snapshot.count, snapshot.capacity);
    std::set<int> ids;
    for (int i = 0; i < snapshot.count; ++i) {
        EXPECT_TRUE(IsListablePathForm(snapshot.imagePaths[i])) << i;
        EXPECT_GT(snapshot.entries[i].id, 0) << i;
        EXPECT_TRUE(ids.insert(snapshot.entries[i].id).second)
            << "id listed twice: " << snapshot.entries[i].id;
    }
}

using ProcessSnapshotEnumerate = ProcessEngineTest;

TEST_F(ProcessSnapshotEnumerate, ListsTheProgramItselfWithWhatWineReports)
{
    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    ExpectSoundEntries(snapshot);

    int own = FindEntry(snapshot, GetCurrentProcessId());
    ASSERT_GE(own, 0);
    EXPECT_EQ(lstrcmpiW(snapshot.imagePaths[own].CStr(), OwnImagePath().c_str()), 0)
        << "listed as " << snapshot.imagePaths[own].CStr();
    // Under Wine no process runs under WOW64 and every token is a full one.
    EXPECT_EQ(snapshot.entries[own].bitness, BitnessKind::Bits64);
    EXPECT_EQ(snapshot.entries[own].elevation, ElevationKind::Elevated);
    EXPECT_TRUE(snapshot.entries[own].canTerminate);

    // Wine's own services are listed too, from C:\windows\system32.
    bool systemProcess = false;
    for (int i = 0; i < snapshot.count; ++i)
        systemProcess =
            systemProcess || WideString(snapshot.imagePaths[i]).ToUpper().Find(L"\\SYSTEM32\\") > 0;
    EXPECT_TRUE(systemProcess);
}

TEST_F(ProcessSnapshotEnumerate, ListsTwoProcessesOfOneImageAsTwoEntriesInSystemOrder)
{
    TempDirectory dir(L"twk-enum");
    ASSERT_TRUE(dir.Created());
    std::wstring image = dir / L"Twice.exe";
    ASSERT_TRUE(twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), image));
    auto first = StartTarget(image, L"nowindow");
    auto second = StartTarget(image, L"nowindow");
    ASSERT_TRUE(first && second);

    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    int a = FindEntry(snapshot, first->Id());
    int b = FindEntry(snapshot, second->Id());
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_EQ(lstrcmpiW(snapshot.imagePaths[a].CStr(), image.c_str()), 0) << snapshot.imagePaths[a].CStr();
    EXPECT_STREQ(snapshot.imagePaths[a].CStr(), snapshot.imagePaths[b].CStr());
    EXPECT_TRUE(snapshot.entries[a].canTerminate);
    EXPECT_TRUE(snapshot.entries[b].canTerminate);

    // The order is the system's: the one K32EnumProcesses gives first comes first.
    DWORD ids[1024];
    DWORD bytes = 0;
    ASSERT_TRUE(K32EnumProcesses(ids, sizeof(ids), &bytes));
    int firstSeen = -1, secondSeen = -1;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        if (ids[i] == first->Id())
            firstSeen = static_cast<int>(i);
        if (ids[i] == second->Id())
            secondSeen = static_cast<int>(i);
    }
    ASSERT_GE(firstSeen, 0);
    ASSERT_GE(secondSeen, 0);
    EXPECT_EQ(a < b, firstSeen < secondSeen);
}

// The snapshot reads each image path through the null module handle. The
// first module that K32EnumProcessModules lists is the same loader entry:
// both ways are compared on every process that can be opened, with fixtures
// at paths with spaces and Japanese names among them, so that the snapshot
// lists the same processes with the same paths either way.
TEST_F(ProcessSnapshotEnumerate, ReadsEveryImagePathAsTheFirstModuleNamesIt)
{
    TempDirectory dir(L"twk-first-module");
    ASSERT_TRUE(dir.Created());
    const std::wstring names[] = {L"Plain.exe", L"With Space\\Spaced Name.exe", L"日本語\\プログラム.exe"};
    Programs programs;
    for (const std::wstring& name : names) {
        std::wstring image = dir / name;
        ASSERT_TRUE(twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), image));
        programs.push_back(StartTarget(image, L"nowindow"));
        ASSERT_TRUE(programs.back()) << name.size();
    }

    DWORD ids[1024];
    DWORD bytes = 0;
    ASSERT_TRUE(K32EnumProcesses(ids, sizeof(ids), &bytes));
    int compared = 0;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        HANDLE process =
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, ids[i]);
        if (!process)
            continue;
        WideString viaNull = ReadProcessImagePath(process);
        HMODULE first = nullptr;
        DWORD needed = 0;
        WideString viaFirst = K32EnumProcessModules(process, &first, sizeof(first), &needed)
                                  ? ReadModuleFileName(process, first)
                                  : WideString();
        // A process of another test may end between the two reads.
        bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        CloseHandle(process);
        if (ended)
            continue;
        EXPECT_STREQ(viaNull.CStr(), viaFirst.CStr()) << "process " << ids[i];
        ++compared;
    }
    EXPECT_GE(compared, static_cast<int>(std::size(names)) + 1);

    // And the snapshot lists the fixtures with these paths.
    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    for (size_t i = 0; i < programs.size(); ++i) {
        int index = FindEntry(snapshot, programs[i]->Id());
        ASSERT_GE(index, 0) << i;
        EXPECT_EQ(lstrcmpiW(snapshot.imagePaths[index].CStr(), (dir / names[i]).c_str()), 0)
            << snapshot.imagePaths[index].CStr();
    }
}

// 270 processes: more than the 256 ids of the first K32EnumProcesses buffer,
// so it is doubled, and more than 200 entries, so the slots grow twice. Then
// most of them end and the same snapshot is filled again.
TEST_F(ProcessSnapshotEnumerate, ListsHundredsOfProcessesThenFewerOnTheSecondPass)
{
    const int started = 270;
    const int kept = 20;
    TempDirectory dir(L"twk-many");
    ASSERT_TRUE(dir.Created());
    std::wstring image = dir / L"Many.exe";
    ASSERT_TRUE(twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), image));
    Programs programs;
    for (int i = 0; i < started; ++i) {
        programs.push_back(StartTarget(image, L"nowindow"));
        ASSERT_TRUE(programs.back()) << "fixture number " << i;
    }

    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    ExpectSoundEntries(snapshot);
    const int firstCount = snapshot.count;
    EXPECT_GT(firstCount, started);
    EXPECT_EQ(snapshot.capacity, (firstCount + 99) / 100 * 100);
    for (const auto& program : programs) {
        int index = FindEntry(snapshot, program->Id());
        ASSERT_GE(index, 0) << "not listed: " << program->Id();
        EXPECT_EQ(lstrcmpiW(snapshot.imagePaths[index].CStr(), image.c_str()), 0);
    }

    std::vector<DWORD> ended;
    while (static_cast<int>(programs.size()) > kept) {
        ended.push_back(programs.back()->Id());
        programs.pop_back(); // kills it and waits for its end
    }
    for (DWORD id : ended)
        ASSERT_TRUE(twk_test::WaitForProcessGone(id, 5000)) << id;
    const int capacity = snapshot.capacity;
    snapshot.Enumerate();
    ExpectSoundEntries(snapshot);
    // Fewer by the ended ones, give or take a few that other tests start meanwhile.
    EXPECT_LE(snapshot.count, firstCount - static_cast<int>(ended.size()) + 20);
    EXPECT_EQ(snapshot.capacity, capacity); // the slots are reused, never freed
    for (DWORD id : ended) {
        // An id may already belong to another program again, but not to this image.
        int index = FindEntry(snapshot, id);
        EXPECT_TRUE(index < 0 || lstrcmpiW(snapshot.imagePaths[index].CStr(), image.c_str()) != 0)
            << "ended process still listed: " << id;
    }
    for (const auto& program : programs)
        EXPECT_GE(FindEntry(snapshot, program->Id()), 0);
}

} // namespace
