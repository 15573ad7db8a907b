// 32-bit build only: TWK.exe does not run under WOW64 and sends the user to
// TWK64.exe instead.
#pragma once

#include <windows.h>

// Shows "TWK64.exe を起動してください" and returns true when isWow64 is set;
// start-up then ends with exit code 1. Returns false otherwise.
bool RefuseUnderWow64(BOOL isWow64);
