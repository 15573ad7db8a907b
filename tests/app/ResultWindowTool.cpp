// twk_result_window.exe <program> <timeout ms> [--answer]: waits for what the
// program (an exe file name such as TWK64.exe) shows at the end of its
// command-line mode: its result window once complete, or a message box of
// its own (caption "Tarnwick"). Prints, in UTF-8, one item to a line: the
// window's screen rectangle as "<width>x<height>+<left>+<top>" (the geometry
// form that ImageMagick's -crop takes), its caption, then the result
// window's two lines or the message box's text, all read from the real
// window. With --answer, it then presses the message box's OK. Exit code 0
// when found, 1 on time-out, 2 for bad arguments. scripts/run.sh tells the
// user this way what the program said.
#include "res/resource.h"
#include "tests/support/ResultWindow.h"
#include "tests/support/StoredText.h"
#include "tests/support/WindowDriver.h"

#include <windows.h>

#include <stdlib.h>

#include <string>
#include <vector>

using namespace twk_test;

namespace {

const wchar_t kMessageBoxCaption[] = L"Tarnwick";

void PrintLine(const std::wstring& text)
{
    std::string bytes;
    if (!text.empty()) {
        int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
        bytes.resize(size);
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr,
                            nullptr);
    }
    bytes += '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}

// The result window once complete, or a message box, or null.
HWND FindFinalWindow(const std::wstring& program)
{
    HWND window = FindWindowOfProgram(program, {kResultCaption, kMessageBoxCaption});
    if (window && StoredText(window) == kResultCaption && !ResultWindowComplete(window))
        return nullptr;
    return window;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3 || (argc > 3 && lstrcmpW(argv[3], L"--answer") != 0))
        return 2;
    const std::wstring program = argv[1];
    const DWORD timeoutMs = wcstoul(argv[2], nullptr, 10);
    const bool answer = argc > 3;

    DWORD start = GetTickCount();
    HWND window = nullptr;
    while (!(window = FindFinalWindow(program))) {
        if (GetTickCount() - start >= timeoutMs)
            return 1;
        Sleep(20);
    }

    RECT rect = {};
    GetWindowRect(window, &rect);
    PrintLine(std::to_wstring(rect.right - rect.left) + L"x" + std::to_wstring(rect.bottom - rect.top) +
              L"+" + std::to_wstring(rect.left) + L"+" + std::to_wstring(rect.top));
    std::wstring caption = StoredText(window);
    PrintLine(caption);
    if (caption == kResultCaption) {
        PrintLine(StoredControlText(window, IDC_PROGRESS_TARGET));
        PrintLine(StoredControlText(window, IDC_PROGRESS_STATUS));
        return 0;
    }
    PrintLine(MessageBoxText(window));
    if (answer)
        AnswerMessageBox(window, IDOK);
    return 0;
}
