// ShellLaunch: one program started through the shell (ShellExecuteExW) and
// waited for while the program's windows stay responsive.
#pragma once

#include "core/WideString.h"

#include <windows.h>

#include <shellapi.h>

class ShellLaunch {
public:
    // Empty parameters, verb or directory are passed as null.
    ShellLaunch(const WideString& file, const WideString& parameters, const WideString& verb,
                const WideString& directory, int showCommand, HWND owner);
    // Closes the child's process handle.
    ~ShellLaunch();
    ShellLaunch(const ShellLaunch&) = delete;
    ShellLaunch& operator=(const ShellLaunch&) = delete;

    BOOL Start();
    // Waits until the child has ended, dispatching this thread's pending
    // messages and sleeping (alertable) pollMs between looks; stops early
    // when cancel is given and becomes non-zero. Returns the child's exit
    // code. A launch that did not start returns at once.
    DWORD WaitForExit(int pollMs, const volatile BYTE* cancel);

    SHELLEXECUTEINFOW info;
    WideString file;
    WideString parameters;
    WideString verb;
    WideString directory;
};
