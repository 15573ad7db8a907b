// The progress and result window of TWK64.exe or TWK.exe, read from another
// process: found by its caption and read from the text it keeps.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace twk_test {

// The window's caption once it shows the result.
extern const wchar_t kResultCaption[];

// True once the result window is complete: the caption changes first and
// the "今消す" button is shown last.
bool ResultWindowComplete(HWND window);

// Waits up to timeoutMs for the program's result window to be complete.
// Null on time-out.
HWND WaitForResultWindow(DWORD processId, DWORD timeoutMs);

// A visible top-level window with one of the captions, of any process that
// runs from an executable of this file name (such as L"TWK64.exe", compared
// without regard to case); null when there is none.
HWND FindWindowOfProgram(const std::wstring& programFileName, const std::vector<std::wstring>& captions);

} // namespace twk_test
