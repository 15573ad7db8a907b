// twk_window_rect.exe <caption> [timeout ms] [options]: waits for a visible
// top-level window with exactly this caption (any process) and prints its
// screen rectangle as "<width>x<height>+<left>+<top>", the geometry form
// that ImageMagick's -crop takes. Exit code 0 when found, 1 on time-out, 2
// for bad arguments. The scripts use it to cut windows out of the screen and
// to read what the program's windows say.
//
// Options:
//   --or <caption>  a window with this caption counts as well (repeatable)
//   --program <name> only windows of processes whose executable has this
//                   file name (such as TWK64.exe), compared ignoring case
//   --ready <id>    once the window is found, wait (within the same timeout)
//                   until its control <id> is visible, if it has one: the
//                   result window is complete when its button shows
//   --text <id>     print the text of control <id>, if the window has one
//                   (repeatable; message box text is control 65535)
//   --press <id>    at the end, click button <id> of the window, if it has
//                   one
// With any option, the caption of the window found follows the rectangle on
// line 2, and the texts follow in the order asked, one to a line. All output
// is UTF-8. Texts are read from what the windows keep (InternalGetWindowText),
// so a busy program is read without waiting for it.
#include <windows.h>

#include <stdlib.h>
#include <wchar.h>

#include <string>
#include <vector>

namespace {

struct Options {
    std::vector<std::wstring> captions;
    std::wstring program;
    DWORD timeoutMs = 15000;
    int readyId = 0;
    std::vector<int> textIds;
    int pressId = 0;
    bool extended = false;
};

struct Search {
    const Options* options;
    HWND found;
};

std::wstring StoredText(HWND window)
{
    std::vector<wchar_t> text(32768, L'\0');
    int length = InternalGetWindowText(window, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), length > 0 ? length : 0);
}

// True when the window's process runs from an executable of that file name.
bool OfProgram(HWND window, const std::wstring& program)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return false;
    wchar_t path[MAX_PATH * 4] = {};
    DWORD length = MAX_PATH * 4;
    BOOL read = QueryFullProcessImageNameW(process, 0, path, &length);
    CloseHandle(process);
    if (!read)
        return false;
    const wchar_t* name = wcsrchr(path, L'\\');
    return lstrcmpiW(name ? name + 1 : path, program.c_str()) == 0;
}

BOOL CALLBACK MatchCaption(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    if (!search->options->program.empty() && !OfProgram(window, search->options->program))
        return TRUE;
    std::wstring caption = StoredText(window);
    for (const std::wstring& wanted : search->options->captions) {
        if (caption == wanted) {
            search->found = window;
            return FALSE;
        }
    }
    return TRUE;
}

bool ParseOptions(int argc, wchar_t** argv, Options& options)
{
    if (argc < 2)
        return false;
    options.captions.push_back(argv[1]);
    int next = 2;
    if (argc > 2 && argv[2][0] != L'-') {
        options.timeoutMs = wcstoul(argv[2], nullptr, 10);
        next = 3;
    }
    for (; next < argc; next += 2) {
        if (next + 1 >= argc)
            return false;
        std::wstring name = argv[next];
        const wchar_t* value = argv[next + 1];
        options.extended = true;
        if (name == L"--or")
            options.captions.push_back(value);
        else if (name == L"--program")
            options.program = value;
        else if (name == L"--ready")
            options.readyId = _wtoi(value);
        else if (name == L"--text")
            options.textIds.push_back(_wtoi(value));
        else if (name == L"--press")
            options.pressId = _wtoi(value);
        else
            return false;
    }
    return true;
}

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

// Waits until the control is visible; a window without it is ready at once.
bool WaitUntilReady(HWND window, int controlId, DWORD start, DWORD timeoutMs)
{
    HWND control = GetDlgItem(window, controlId);
    while (control && !IsWindowVisible(control)) {
        if (GetTickCount() - start >= timeoutMs || !IsWindow(window))
            return false;
        Sleep(10);
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options))
        return 2;
    DWORD start = GetTickCount();
    HWND found = nullptr;
    for (;;) {
        Search search{&options, nullptr};
        EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
        found = search.found;
        if (found)
            break;
        if (GetTickCount() - start >= options.timeoutMs)
            return 1;
        Sleep(20);
    }
    if (options.readyId != 0 && !WaitUntilReady(found, options.readyId, start, options.timeoutMs))
        return 1;

    RECT rect = {};
    GetWindowRect(found, &rect);
    PrintLine(std::to_wstring(rect.right - rect.left) + L"x" + std::to_wstring(rect.bottom - rect.top) +
              L"+" + std::to_wstring(rect.left) + L"+" + std::to_wstring(rect.top));
    if (!options.extended)
        return 0;
    PrintLine(StoredText(found));
    for (int id : options.textIds) {
        HWND control = GetDlgItem(found, id);
        if (control)
            PrintLine(StoredText(control));
    }
    if (options.pressId != 0 && GetDlgItem(found, options.pressId))
        PostMessageW(GetDlgItem(found, options.pressId), BM_CLICK, 0, 0);
    return 0;
}
