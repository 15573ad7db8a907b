#include "tests/support/ResultWindow.h"

#include "res/resource.h"
#include "tests/support/StoredText.h"
#include "tests/support/WindowDriver.h"

namespace twk_test {

namespace {

struct ProgramWindowSearch {
    const std::wstring* programFileName;
    const std::vector<std::wstring>* captions;
    HWND found;
};

bool RunsFrom(HWND window, const std::wstring& programFileName)
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
    std::wstring image(path, length);
    return lstrcmpiW(image.substr(image.rfind(L'\\') + 1).c_str(), programFileName.c_str()) == 0;
}

BOOL CALLBACK MatchProgramWindow(HWND window, LPARAM param)
{
    ProgramWindowSearch* search = reinterpret_cast<ProgramWindowSearch*>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    std::wstring caption = StoredText(window);
    for (const std::wstring& wanted : *search->captions) {
        if (caption == wanted && RunsFrom(window, *search->programFileName)) {
            search->found = window;
            return FALSE;
        }
    }
    return TRUE;
}

} // namespace

const wchar_t kResultCaption[] = L"Tarnwick の結果";

bool ResultWindowComplete(HWND window)
{
    return StoredText(window) == kResultCaption && ControlVisible(window, IDC_PROGRESS_DISMISS);
}

HWND WaitForResultWindow(DWORD processId, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    HWND result = WaitForStoredCaption(processId, L"#32770", kResultCaption, timeoutMs);
    while (result && !ResultWindowComplete(result)) {
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(10);
    }
    return result;
}

HWND FindWindowOfProgram(const std::wstring& programFileName, const std::vector<std::wstring>& captions)
{
    ProgramWindowSearch search{&programFileName, &captions, nullptr};
    EnumWindows(MatchProgramWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace twk_test
