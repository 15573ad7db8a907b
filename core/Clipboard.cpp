// WideString::CopyToClipboard: the text as CF_UNICODETEXT. The memory block
// belongs to the clipboard once SetClipboardData has taken it; on every
// other path it is freed here, and an opened clipboard is always closed.
#include "core/WideString.h"

#include <string.h>

namespace {

// Copies the text with its NUL into a new movable block; null on failure.
HGLOBAL NewTextBlock(const wchar_t* text, int length)
{
    SIZE_T size = 2 * static_cast<SIZE_T>(length) + 20;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block)
        return nullptr;
    void* memory = GlobalLock(block);
    if (!memory) {
        GlobalFree(block);
        return nullptr;
    }
    memcpy(memory, text, (static_cast<size_t>(length) + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    return block;
}

} // namespace

bool WideString::CopyToClipboard() const
{
    HGLOBAL block = NewTextBlock(buffer, length);
    if (!block)
        return false;
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return false;
    }
    bool copied = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!copied)
        GlobalFree(block);
    CloseClipboard();
    return copied;
}
