// twk_window_rect.exe <caption> [timeout ms]: waits for a visible top-level
// window with exactly this caption (any process) and prints its screen
// rectangle as "<width>x<height>+<left>+<top>", the geometry form that
// ImageMagick's -crop takes. Exit code 0 when found, 1 on time-out. The
// screenshot script uses it to cut the result window out of the screen.
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
