#include "process/ImagePath.h"

#include "core/PathString.h"

#include <psapi.h>

namespace {

// The longest path the system can give, in characters, with its NUL.
const DWORD kLongestPath = 32768;

} // namespace

WideString ReadProcessImagePath(HANDLE process)
{
    // The null module handle names the process's main executable: the same
    // loader entry as the first module K32EnumProcessModules gives, read
    // without listing the modules first (a quarter of the cost under Wine).
    return ReadModuleFileName(process, nullptr);
}

WideString ReadModuleFileName(HANDLE process, HMODULE module)
{
    // A name that fills the buffer may have been cut: read it again into a
    // buffer twice as long until it fits with room to spare.
    DWORD size = MAX_PATH;
    for (;;) {
        wchar_t* buffer = new wchar_t[size]();
        DWORD length = K32GetModuleFileNameExW(process, module, buffer, size);
        if (length == 0) {
            delete[] buffer;
            return WideString();
        }
        if (length < size - 1 || size >= kLongestPath) {
            buffer[length < size ? length : size - 1] = L'\0';
            WideString path(buffer);
            delete[] buffer;
            return path;
        }
        delete[] buffer;
        size *= 2;
    }
}

bool IsListablePathForm(const WideString& path)
{
    return HasDriveRoot(path) || HasNetworkPrefix(path);
}
