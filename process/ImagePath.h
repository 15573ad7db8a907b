// Reading the image path of an opened process, and the path forms the
// snapshot lists: a drive path ("C:\...") or a path that begins with two
// backslashes (a UNC path or a long-path prefix).
#pragma once

#include "core/WideString.h"

#include <windows.h>

// The full path of the process's main executable, read whole however long it
// is; empty when it cannot be read. The handle needs
// PROCESS_QUERY_INFORMATION | PROCESS_VM_READ.
WideString ReadProcessImagePath(HANDLE process);

// The full path of one module of the process (null: its main executable),
// read whole: the buffer starts at MAX_PATH characters and doubles while the
// name fills it. Empty when K32GetModuleFileNameExW fails.
WideString ReadModuleFileName(HANDLE process, HMODULE module);

// True for a drive path (second and third characters ":\") or a path that
// begins with "\\"; false for an empty path and for NT object paths such as
// "\SystemRoot\System32\smss.exe".
bool IsListablePathForm(const WideString& path);
