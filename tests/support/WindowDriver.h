// Finding, reading and pressing the windows of running programs, for tests
// that drive the real dialogs and message boxes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace twk_test {

// Visible top-level windows of a process; null className or caption matches any.
std::vector<HWND> FindTopWindows(DWORD processId, const wchar_t* className, const wchar_t* caption);

// Waits up to timeoutMs for a visible top-level window; returns null on time-out.
HWND WaitForTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs);

// Waits until the window is gone (or invisible); returns false on time-out.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

std::wstring WindowText(HWND window);
std::wstring ControlText(HWND dialog, int controlId);
bool ControlVisible(HWND dialog, int controlId);

// Posts BM_CLICK to a button of a dialog (also across processes).
void PressButton(HWND dialog, int controlId);

// Message boxes of the program: class "#32770", caption "Tarnwick".
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs);
std::wstring MessageBoxText(HWND box);
void AnswerMessageBox(HWND box, int buttonId);

enum class BoxIcon { None, Error, Question, Information, Other };
BoxIcon MessageBoxIcon(HWND box);

// Waits until text(window) equals expected; returns the last text read.
std::wstring WaitForText(HWND dialog, int controlId, const std::wstring& expected, DWORD timeoutMs);

} // namespace twk_test
