#include "tests/support/ProgramRunner.h"

#include <vector>

namespace twk_test {

std::wstring BinPath(const std::wstring& fileName)
{
    wchar_t own[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH * 4);
    std::wstring path(own);
    return path.substr(0, path.rfind(L'\\') + 1) + fileName;
}

RunningProgram::RunningProgram(const std::wstring& path, const std::wstring& arguments)
    : process(nullptr), processId(0)
{
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    Start(path, commandLine);
}

RunningProgram::RunningProgram(const std::wstring& path, const RawCommandLine& commandLine)
    : process(nullptr), processId(0)
{
    Start(path, commandLine.text);
}

void RunningProgram::Start(const std::wstring& path, const std::wstring& commandLine)
{
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return;
    CloseHandle(info.hThread);
    process = info.hProcess;
    processId = info.dwProcessId;
}

RunningProgram::~RunningProgram()
{
    if (!process)
        return;
    if (ExitCode() == STILL_ACTIVE)
        Kill();
    CloseHandle(process);
}

bool RunningProgram::WaitExit(DWORD timeoutMs)
{
    return process && WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
}

DWORD RunningProgram::ExitCode()
{
    DWORD code = 0;
    if (!process || !GetExitCodeProcess(process, &code))
        return static_cast<DWORD>(-1);
    return code;
}

void RunningProgram::Kill()
{
    if (!process)
        return;
    TerminateProcess(process, 255);
    WaitForSingleObject(process, 5000);
}

long RunToExit(const std::wstring& path, const std::wstring& arguments, DWORD timeoutMs)
{
    RunningProgram program(path, arguments);
    if (!program.Started() || !program.WaitExit(timeoutMs))
        return -1;
    return static_cast<long>(program.ExitCode());
}

} // namespace twk_test
