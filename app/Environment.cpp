#include "app/Environment.h"

#include "core/MessageBoxes.h"

namespace {

struct VersionTest {
    DWORD major;
    DWORD minor;
    DWORD build;
    WORD servicePackMajor;
    DWORD typeMask;
    OsGeneration generation;
};

const DWORD kWithServicePack = VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR;

// Tried in order; the first that passes decides.
const VersionTest kVersionTests[] = {
    {10, 0, 22000, 0, VER_MAJORVERSION | VER_MINORVERSION | VER_BUILDNUMBER, 6},
    {10, 0, 0, 0, VER_MAJORVERSION, 5},
    {6, 3, 0, 0, kWithServicePack, 4},
    {6, 2, 0, 0, kWithServicePack, 3},
    {6, 1, 0, 0, kWithServicePack, 2},
    {6, 0, 0, 0, kWithServicePack, 1},
};

bool VersionAtLeast(const VersionTest& test)
{
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwMajorVersion = test.major;
    info.dwMinorVersion = test.minor;
    info.dwBuildNumber = test.build;
    info.wServicePackMajor = test.servicePackMajor;

    ULONGLONG conditions = 0;
    const DWORD fields[] = {VER_MAJORVERSION, VER_MINORVERSION, VER_BUILDNUMBER, VER_SERVICEPACKMAJOR};
    for (DWORD field : fields) {
        if (test.typeMask & field)
            conditions = VerSetConditionMask(conditions, field, VER_GREATER_EQUAL);
    }
    return VerifyVersionInfoW(&info, test.typeMask, conditions) != FALSE;
}

OsGeneration CheckOsGeneration()
{
    for (const VersionTest& test : kVersionTests) {
        if (VersionAtLeast(test))
            return test.generation;
    }
    ShowErrorBox(L"このＯＳではサポートされていません。", nullptr);
    return 0;
}

} // namespace

OsGeneration CheckEnvironment(BOOL* isWow64, ElevationKind* elevation)
{
    OsGeneration generation = CheckOsGeneration();
    if (isWow64)
        IsWow64Process(GetCurrentProcess(), isWow64);
    if (elevation)
        *elevation = ReadProcessElevation(GetCurrentProcess(), "CloseHandle");
    return generation;
}
