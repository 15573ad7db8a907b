// The progress and result window of TWK64.exe or TWK.exe, read from another
// process: found by its caption and read from the text it keeps.
#pragma once

#include <windows.h>

namespace twk_test {

// The window's caption once it shows the result.
extern const wchar_t kResultCaption[];

// Waits up to timeoutMs for the program's result window to be complete: the
// caption changes first and the "今消す" button is shown last. Null on
// time-out.
HWND WaitForResultWindow(DWORD processId, DWORD timeoutMs);

} // namespace twk_test
