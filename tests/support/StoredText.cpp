#include "tests/support/StoredText.h"

#include "tests/support/WindowDriver.h"

#include <vector>

namespace twk_test {

namespace {

const DWORD kPollMs = 20;
const int kTextCapacity = 32768;

} // namespace

std::wstring StoredText(HWND window)
{
    std::vector<wchar_t> text(kTextCapacity, L'\0');
    int length = InternalGetWindowText(window, text.data(), kTextCapacity);
    return std::wstring(text.data(), length > 0 ? length : 0);
}

std::wstring StoredControlText(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    return control ? StoredText(control) : std::wstring(L"<no control>");
}

HWND WaitForStoredCaption(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND window : FindTopWindows(processId, className, nullptr)) {
            if (StoredText(window) == caption)
                return window;
        }
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

std::wstring WaitForStoredText(HWND dialog, int controlId, const std::wstring& expected, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::wstring text = StoredControlText(dialog, controlId);
        if (text == expected || GetTickCount() - start >= timeoutMs)
            return text;
        Sleep(kPollMs);
    }
}

} // namespace twk_test
