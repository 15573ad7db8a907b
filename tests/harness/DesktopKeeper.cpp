// Keeps Wine's desktop process (explorer.exe /desktop) alive for the whole
// test run. Wine starts that process when the first window of a program is
// created and ends it a while after the last such program has gone; started
// from a test, it would inherit the test's output pipe and keep ctest
// waiting until it ends. The harness starts this program once, detached from
// every pipe, so that the desktop process is started here instead and stays.
// Argument: a file to create once the desktop exists.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR readyFile, int)
{
    // A hidden top-level window ties this process to the desktop.
    HWND window = CreateWindowExW(0, L"STATIC", L"twk desktop keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  instance, nullptr);
    if (!window)
        return 1;
    if (readyFile && *readyFile) {
        HANDLE file = CreateFileW(readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
