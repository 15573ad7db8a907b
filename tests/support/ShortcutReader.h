// Reads a shell link file back through the shell's own link object, as the
// desktop does when the link is started.
#pragma once

#include <windows.h>

#include <string>

namespace twk_test {

struct ShortcutContents {
    bool loaded;
    std::wstring path;     // the target as the link stores it for the shell
    std::wstring itemPath; // the target from the link's item list
    std::wstring arguments;
    std::wstring workingDirectory;
    DWORD dataFlags; // IShellLinkDataList::GetFlags (SLDF_RUNAS_USER, ...)
};

// COM must be initialised on the calling thread.
ShortcutContents ReadShortcut(const std::wstring& linkPath);

// The file's bytes, or "<missing>" when it cannot be read.
std::string FileBytes(const std::wstring& path);

} // namespace twk_test
