// Reading the text a window keeps for itself, without sending it a message:
// this works at once even while the window's thread is busy (a program in
// the middle of a long call does not answer WM_GETTEXT).
#pragma once

#include <windows.h>

#include <string>

namespace twk_test {

std::wstring StoredText(HWND window);
std::wstring StoredControlText(HWND dialog, int controlId);

// Waits up to timeoutMs for a visible top-level window of the process whose
// class and stored caption are as given; null on time-out.
HWND WaitForStoredCaption(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs);

// Waits until the control's stored text equals expected; returns the last
// text read.
std::wstring WaitForStoredText(HWND dialog, int controlId, const std::wstring& expected, DWORD timeoutMs);

} // namespace twk_test
