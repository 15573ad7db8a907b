// The two message pumps: one that empties the queue without waiting, and the
// loop that runs until the quit message.
#pragma once

#include <windows.h>

// Dispatches every message already queued for this thread; never waits.
void PumpPendingMessages();

// Runs GetMessageW until WM_QUIT (or a GetMessageW failure). Messages for
// the given dialog go through IsDialogMessageW; with no dialog every message
// is translated and dispatched. Returns the wParam of the last message.
WPARAM RunMessageLoop(HWND dialog);
