// The real clipboard from a test: what text it holds, and holding it open
// as another program would.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace twk_test {

// The clipboard's CF_UNICODETEXT, or "<none>".
std::wstring ClipboardText();

// Empties the clipboard.
void ClearClipboard();

// Keeps the clipboard open, from a thread and for a window of its own, for
// the holder's life. (Wine lets two openers without a window share it.)
class ClipboardHolder {
public:
    ClipboardHolder();
    ~ClipboardHolder();
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;

private:
    void Hold();

    std::atomic<bool> opened;
    std::atomic<bool> release;
    std::thread thread;
};

} // namespace twk_test
