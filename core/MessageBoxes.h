// The program's message boxes. Every box has the caption "Tarnwick" and is
// topmost and brought to the foreground, so that it is seen even when the
// program has no visible window of its own.
#pragma once

#include "core/WideString.h"

#include <windows.h>

extern const wchar_t kBoxCaption[];

// MessageBoxW with the caption "Tarnwick" and MB_SETFOREGROUND | MB_TOPMOST
// added to the given style.
int ShowTarnwickBox(HWND owner, const WideString& text, UINT style);

int ShowErrorBox(const WideString& text, HWND owner);
// Returns the id of the button pressed (IDYES, IDNO, ...).
int AskUser(const WideString& text, HWND owner, UINT buttons);
int ShowInfoBox(const WideString& text, HWND owner);
// Tells the user that an action they asked for could not be done.
int ShowWarningBox(const WideString& text, HWND owner);
