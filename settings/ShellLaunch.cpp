#include "settings/ShellLaunch.h"

#include "core/MessageLoop.h"

namespace {

const wchar_t* OrNull(const WideString& text)
{
    return text.Length() > 0 ? text.CStr() : nullptr;
}

} // namespace

ShellLaunch::ShellLaunch(const WideString& file, const WideString& parameters, const WideString& verb,
                         const WideString& directory, int showCommand, HWND owner)
    : info(), file(file), parameters(parameters), verb(verb), directory(directory)
{
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = owner;
    info.lpFile = this->file.CStr();
    info.lpVerb = OrNull(this->verb);
    info.lpParameters = OrNull(this->parameters);
    info.lpDirectory = OrNull(this->directory);
    info.nShow = showCommand;
}

ShellLaunch::~ShellLaunch()
{
    if (info.hProcess)
        CloseHandle(info.hProcess);
}

BOOL ShellLaunch::Start()
{
    return ShellExecuteExW(&info);
}

DWORD ShellLaunch::WaitForExit(int pollMs, const volatile BYTE* cancel)
{
    while (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        if (cancel && *cancel)
            break;
        PumpPendingMessages();
        SleepEx(static_cast<DWORD>(pollMs), TRUE);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(info.hProcess, &exitCode);
    return exitCode;
}
