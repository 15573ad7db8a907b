// twk_window_rect.exe <caption> [timeout ms [action]]: waits for a visible
// top-level window with exactly this caption (any process), does the action
// if one is given, and prints its screen rectangle as
// "<width>x<height>+<left>+<top>", the geometry form that ImageMagick's -crop
// takes. Exit code 0 when found, 1 on time-out. The screenshot script uses it
// to cut windows out of the screen. Actions:
//   select <name>   clicks the row of the window's list whose first cell is name
//   press <id>      presses the window's button with that control id
//   close           asks the window to close
#include "tests/support/ListViewDriver.h"
#include "tests/support/WindowDriver.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

namespace {

struct Search {
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    wchar_t text[256] = {};
    if (IsWindowVisible(window) && InternalGetWindowText(window, text, 256) > 0 &&
        lstrcmpW(text, search->caption) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The first list view among the window's children, or null.
HWND FirstList(HWND window)
{
    return FindWindowExW(window, nullptr, L"SysListView32", nullptr);
}

bool Act(HWND window, int argc, wchar_t** argv)
{
    if (argc < 4)
        return true;
    if (lstrcmpW(argv[3], L"select") == 0 && argc > 4) {
        HWND list = FirstList(window);
        int row = list ? twk_test::FindListRow(list, 0, argv[4]) : -1;
        if (row < 0)
            return false;
        twk_test::ClickListRow(list, row);
        return true;
    }
    if (lstrcmpW(argv[3], L"press") == 0 && argc > 4) {
        twk_test::PressButton(window, static_cast<int>(wcstol(argv[4], nullptr, 10)));
        return true;
    }
    if (lstrcmpW(argv[3], L"close") == 0) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return true;
    }
    return false;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    DWORD timeoutMs = argc > 2 ? wcstoul(argv[2], nullptr, 10) : 15000;
    DWORD start = GetTickCount();
    for (;;) {
        Search search{argv[1], nullptr};
        EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            if (!Act(search.found, argc, argv))
                return 2;
            RECT rect = {};
            GetWindowRect(search.found, &rect);
            printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top);
            return 0;
        }
        if (GetTickCount() - start >= timeoutMs)
            return 1;
        Sleep(20);
    }
}
