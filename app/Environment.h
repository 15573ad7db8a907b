// The system checks of start-up: operating-system generation, WOW64 state
// and the elevation of the program's own token.
#pragma once

#include "core/ElevationKind.h"

#include <windows.h>

// 6 Windows 11, 5 Windows 10, 4 Windows 8.1, 3 Windows 8, 2 Windows 7,
// 1 Windows Vista, 0 older (not supported; a message is shown).
typedef int OsGeneration;

// Returns the OS generation; fills *isWow64 and *elevation when given.
OsGeneration CheckEnvironment(BOOL* isWow64, ElevationKind* elevation);
