// Whether a listed process is a 32-bit or a 64-bit process. The one point
// where the two builds read a process differently: the 64-bit build asks
// IsWow64Process (ProcessBitness64.cpp); the 32-bit build, which runs only on
// 32-bit Windows, calls every process 32-bit (ProcessBitness32.cpp).
#pragma once

#include "process/ProcessEntry.h"

#include <windows.h>

// The handle needs PROCESS_QUERY_INFORMATION (or its limited form).
BitnessKind ReadProcessBitness(HANDLE process);
