// The elevation state of a token, as the program keeps it. Note that the
// Win32 token elevation types 2 (full) and 3 (limited) come out swapped.
#pragma once

#include <windows.h>

enum class ElevationKind : int {
    Default = 1,  // TokenElevationTypeDefault: no split token
    Limited = 2,  // TokenElevationTypeLimited: an administrator's filtered token
    Elevated = 3, // TokenElevationTypeFull, and any other value
};

ElevationKind ElevationKindFromTokenType(DWORD tokenElevationType);

// Reads the elevation of a process's token. Failures of the token calls are
// reported ("OpenProcessToken", "GetTokenInformation", closeLabel); when the
// token cannot be opened or queried the result is ElevationKind::Default.
ElevationKind ReadProcessElevation(HANDLE process, const char* closeLabel);
