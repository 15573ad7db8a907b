#include "tests/support/Clipboard.h"

namespace twk_test {

namespace {

// Another program may have the clipboard open for a moment.
bool OpenClipboardSoon()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (OpenClipboard(nullptr))
            return true;
        Sleep(20);
    }
    return false;
}

} // namespace

std::wstring ClipboardText()
{
    std::wstring text = L"<none>";
    if (!OpenClipboardSoon())
        return L"<not opened>";
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* chars = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (chars)
        text = chars;
    if (chars)
        GlobalUnlock(data);
    CloseClipboard();
    return text;
}

void ClearClipboard()
{
    if (!OpenClipboardSoon())
        return;
    EmptyClipboard();
    CloseClipboard();
}

ClipboardHolder::ClipboardHolder() : opened(false), release(false), thread([this] { Hold(); })
{
    while (!opened)
        Sleep(5);
}

ClipboardHolder::~ClipboardHolder()
{
    release = true;
    thread.join();
}

void ClipboardHolder::Hold()
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"clipboard holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 nullptr, nullptr);
    while (!OpenClipboard(owner))
        Sleep(5);
    opened = true;
    while (!release)
        Sleep(5);
    CloseClipboard();
    DestroyWindow(owner);
}

} // namespace twk_test
