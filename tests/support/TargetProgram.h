// Copies of the fixture twk_target.exe (see tests/fixtures/TargetWindow.cpp),
// started and waited for until they are ready to be told to close.
#pragma once

#include "tests/support/ProgramRunner.h"

#include <windows.h>

#include <memory>
#include <string>

namespace twk_test {

// The fixture as the build put it beside the test programs.
std::wstring TargetProgramPath();

// Starts the program at path (a copy of the fixture) with the mode in
// arguments ("close", "delay 800", "ignore", "hidden", "nowindow") and waits
// up to timeoutMs until it is ready: its window exists (visible, or hidden in
// "hidden" mode), or for "nowindow" its main module can be read. Null when it
// did not start or did not get ready (it is then killed).
std::unique_ptr<RunningProgram> StartTarget(const std::wstring& path, const std::wstring& arguments,
                                            DWORD timeoutMs = 15000);

// Waits until the process has a top-level window of the class, visible or not.
HWND WaitForAnyTopWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs);

// Waits until the process's main module can be read by another process.
bool WaitForMainModule(DWORD processId, DWORD timeoutMs);

// Waits until no process of that id can be opened any more. Wine keeps an
// ended process openable for about half a second after its last handle closed.
bool WaitForProcessGone(DWORD processId, DWORD timeoutMs);

} // namespace twk_test
