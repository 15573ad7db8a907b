// The snapshot's storage and the pure decisions of the engine: slot growth
// through Add, the NTVDM image test, the path forms that are listed, and the
// outcome names. No process is started here.
#include "process/ImagePath.h"
#include "process/ProcessSnapshot.h"
#include "process/TerminateOutcome.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A distinct, longer-than-default path and fields for entry number i.
std::wstring PathFor(int i)
{
    return L"C:\\Program Files\\Tarnwick test\\program number " + std::to_wstring(i) + L"\\image.exe";
}

ProcessEntry EntryFor(int i)
{
    return ProcessEntry{1000 + 4 * i, i % 2 ? BitnessKind::Bits32 : BitnessKind::Bits64,
                        static_cast<ElevationKind>(1 + i % 3), i % 5 != 0};
}

void AddNumbered(ProcessSnapshot& snapshot, int i)
{
    ProcessEntry e = EntryFor(i);
    ASSERT_EQ(snapshot.Add(WideString(PathFor(i).c_str()), e.id, e.bitness, e.elevation, e.canTerminate), i);
}

void ExpectNumberedEntries(const ProcessSnapshot& snapshot, int count)
{
    ASSERT_EQ(snapshot.count, count);
    for (int i = 0; i < count; ++i) {
        ProcessEntry expected = EntryFor(i);
        EXPECT_EQ(std::wstring(snapshot.imagePaths[i].CStr()), PathFor(i)) << i;
        EXPECT_EQ(snapshot.entries[i].id, expected.id) << i;
        EXPECT_EQ(snapshot.entries[i].bitness, expected.bitness) << i;
        EXPECT_EQ(snapshot.entries[i].elevation, expected.elevation) << i;
        EXPECT_EQ(snapshot.entries[i].canTerminate, expected.canTerminate) << i;
    }
}

TEST(ProcessSnapshotStorage, StartsEmptyWithOneHundredEmptySlots)
{
    ProcessSnapshot snapshot;
    EXPECT_EQ(snapshot.count, 0);
    ASSERT_EQ(snapshot.capacity, 100);
    for (int i = 0; i < snapshot.capacity; ++i) {
        ASSERT_NE(snapshot.imagePaths[i].CStr(), nullptr);
        EXPECT_EQ(snapshot.imagePaths[i].Length(), 0) << i;
    }
}

TEST(ProcessSnapshotStorage, GrowsByOneHundredSlotsAtTheMomentTheyAreFull)
{
    // Count after the Add, and the capacity it must have led to.
    struct Step {
        int count;
        int capacity;
    } steps[] = {{1, 100}, {100, 100}, {101, 200}, {200, 200}, {201, 300}, {300, 300}, {301, 400}};
    ProcessSnapshot snapshot;
    int added = 0;
    for (const Step& step : steps) {
        while (added < step.count)
            AddNumbered(snapshot, added++);
        EXPECT_EQ(snapshot.count, step.count);
        EXPECT_EQ(snapshot.capacity, step.capacity) << "after " << step.count << " entries";
    }
    // Every growth copied what was there, in order.
    ExpectNumberedEntries(snapshot, 301);
}

TEST(ProcessSnapshotStorage, AddCopiesThePathAndKeepsEveryField)
{
    ProcessSnapshot snapshot;
    WideString path(L"\\\\server\\share\\tools\\task.exe");
    EXPECT_EQ(snapshot.Add(path, -12, BitnessKind::Task16, ElevationKind::Limited, false), 0);
    EXPECT_EQ(snapshot.Add(WideString(), 8, BitnessKind::Unknown, ElevationKind::Default, true), 1);
    path.Assign(L"changed afterwards");

    EXPECT_STREQ(snapshot.imagePaths[0].CStr(), L"\\\\server\\share\\tools\\task.exe");
    EXPECT_EQ(snapshot.entries[0].id, -12);
    EXPECT_EQ(snapshot.entries[0].bitness, BitnessKind::Task16);
    EXPECT_EQ(snapshot.entries[0].elevation, ElevationKind::Limited);
    EXPECT_FALSE(snapshot.entries[0].canTerminate);
    EXPECT_STREQ(snapshot.imagePaths[1].CStr(), L"");
    EXPECT_EQ(snapshot.entries[1].bitness, BitnessKind::Unknown);
    EXPECT_TRUE(snapshot.entries[1].canTerminate);
}

TEST(IsNtvdmImage, ComparesTheLastTenCharactersUpperCased)
{
    struct Case {
        const wchar_t* path;
        bool ntvdm;
    } cases[] = {
        {L"C:\\WINDOWS\\system32\\ntvdm.exe", true},
        {L"C:\\WINDOWS\\SYSTEM32\\NTVDM.EXE", true},
        {L"c:\\x\\NtVdM.ExE", true},
        {L"\\NTVDM.EXE", true}, // exactly ten characters
        {L"\\\\server\\share\\ntvdm.exe", true},
        {L"NTVDM.EXE", false}, // nine: no backslash before the name
        {L"C:\\x\\myntvdm.exe", false},
        {L"C:\\x\\ntvdm.exe ", false},
        {L"C:\\x\\ntvdm.exe\\", false},
        {L"C:\\x\\ntvdm.com", false},
        {L"C:\\x\\ntvdm_exe", false},
        {L"C:\\x\\ntvdm.exe\\notepad.exe", false},
        {L"", false},
        {L"C:/x/ntvdm.exe", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNtvdmImage(WideString(c.path)), c.ntvdm) << std::wstring(c.path).size();
}

// Wine gives every image path in drive form (C:\windows\..., Z:\ for Linux
// files), so the other forms cannot be produced by a real process here: the
// decision the enumeration takes on the path read is checked on its own.
TEST(IsListablePathForm, KeepsDrivePathsAndDoubleBackslashPathsOnly)
{
    struct Case {
        const wchar_t* path;
        bool listed;
    } cases[] = {
        {L"C:\\windows\\system32\\services.exe", true},
        {L"z:\\home\\user\\a.exe", true},
        {L"C:\\", true},
        {L"1:\\odd.exe", true}, // only the second and third characters count
        {L"\\\\server\\share\\tools\\a.exe", true},
        {L"\\\\?\\C:\\very\\long\\a.exe", true},
        {L"\\\\?\\UNC\\server\\share\\a.exe", true},
        {L"\\\\", true},
        {L"", false},
        {L"\\SystemRoot\\System32\\smss.exe", false},
        {L"\\??\\C:\\windows\\a.exe", false},
        {L"\\Device\\HarddiskVolume2\\a.exe", false},
        {L"\\", false},
        {L"C:", false},
        {L"C:a.exe", false},
        {L"C:/windows/a.exe", false},
        {L"a.exe", false},
        {L"windows\\a.exe", false},
        {L"/usr/bin/a.exe", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsListablePathForm(WideString(c.path)), c.listed) << "case index " << (&c - cases);
}

TEST(TerminateOutcomeName, NamesEverySixCodesAndNothingElse)
{
    struct Case {
        int code;
        const char* name;
    } cases[] = {
        {0, "FatalError"},   {1, "NotFound"},         {2, "Failed"}, {3, "EndedNormally"},
        {4, "EndedByForce"}, {5, "EndedByWowMethod"}, {6, "?"},      {-1, "?"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(TerminateOutcomeName(static_cast<TerminateOutcome>(c.code)), c.name) << c.code;
    EXPECT_EQ(static_cast<int>(TerminateOutcome::NotFound), 1);
    EXPECT_EQ(static_cast<int>(TerminateOutcome::EndedByWowMethod), 5);
}

} // namespace
