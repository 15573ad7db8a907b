#include "tests/support/TargetProgram.h"

#include "tests/support/WindowDriver.h"

#include <psapi.h>

namespace twk_test {

namespace {

const DWORD kPollMs = 20;

struct ClassSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindClassWindow(HWND window, LPARAM param)
{
    ClassSearch* search = reinterpret_cast<ClassSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (owner == search->processId && lstrcmpW(name, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool HasMainModule(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return false;
    HMODULE module = nullptr;
    DWORD needed = 0;
    bool found = K32EnumProcessModules(process, &module, sizeof(module), &needed) && module;
    CloseHandle(process);
    return found;
}

} // namespace

std::wstring TargetProgramPath()
{
    return BinPath(L"twk_target.exe");
}

std::unique_ptr<RunningProgram> StartTarget(const std::wstring& path, const std::wstring& arguments,
                                            DWORD timeoutMs)
{
    std::unique_ptr<RunningProgram> program(new RunningProgram(path, arguments));
    if (!program->Started())
        return nullptr;
    std::wstring mode = arguments.substr(0, arguments.find(L' '));
    bool ready = false;
    if (mode == L"nowindow")
        ready = WaitForMainModule(program->Id(), timeoutMs);
    else if (mode == L"hidden")
        ready = WaitForAnyTopWindow(program->Id(), L"TarnwickTarget", timeoutMs) != nullptr;
    else
        ready = WaitForTopWindow(program->Id(), L"TarnwickTarget", L"Tarnwick target", timeoutMs) != nullptr;
    if (!ready)
        return nullptr;
    return program;
}

HWND WaitForAnyTopWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        ClassSearch search{processId, className, nullptr};
        EnumWindows(FindClassWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

bool WaitForMainModule(DWORD processId, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!HasMainModule(processId)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

bool WaitForProcessGone(DWORD processId, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
        if (!process)
            return true;
        CloseHandle(process);
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
}

} // namespace twk_test
