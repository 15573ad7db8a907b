#include "tests/support/WindowDriver.h"

namespace twk_test {

namespace {

const DWORD kPollMs = 20;
const int kMessageBoxTextId = 0xFFFF;

struct Search {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* caption;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    if (search->className) {
        wchar_t name[256] = {};
        GetClassNameW(window, name, 256);
        if (lstrcmpW(name, search->className) != 0)
            return TRUE;
    }
    if (search->caption && WindowText(window) != search->caption)
        return TRUE;
    search->found.push_back(window);
    return TRUE;
}

bool SameIcon(HICON shown, LPCWSTR standard)
{
    return shown && shown == LoadIconW(nullptr, standard);
}

} // namespace

std::vector<HWND> FindTopWindows(DWORD processId, const wchar_t* className, const wchar_t* caption)
{
    Search search{processId, className, caption, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = FindTopWindows(processId, className, caption);
        if (!found.empty())
            return found.front();
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[4096] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    return std::wstring(text);
}

std::wstring ControlText(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    return control ? WindowText(control) : std::wstring(L"<no control>");
}

bool ControlVisible(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    return control && IsWindowVisible(control);
}

void PressButton(HWND dialog, int controlId)
{
    PostMessageW(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs)
{
    return WaitForTopWindow(processId, L"#32770", L"Tarnwick", timeoutMs);
}

std::wstring MessageBoxText(HWND box)
{
    return ControlText(box, kMessageBoxTextId);
}

void AnswerMessageBox(HWND box, int buttonId)
{
    PressButton(box, buttonId);
}

BoxIcon MessageBoxIcon(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (lstrcmpiW(name, L"Static") != 0 || !(GetWindowLongW(child, GWL_STYLE) & SS_ICON))
            continue;
        HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (SameIcon(icon, IDI_ERROR))
            return BoxIcon::Error;
        if (SameIcon(icon, IDI_QUESTION))
            return BoxIcon::Question;
        if (SameIcon(icon, IDI_INFORMATION))
            return BoxIcon::Information;
        return icon ? BoxIcon::Other : BoxIcon::None;
    }
    return BoxIcon::None;
}

std::wstring WaitForText(HWND dialog, int controlId, const std::wstring& expected, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::wstring text = ControlText(dialog, controlId);
        if (text == expected || GetTickCount() - start >= timeoutMs)
            return text;
        Sleep(kPollMs);
    }
}

} // namespace twk_test
