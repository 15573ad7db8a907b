// A directory of its own for one test, under the temporary directory, removed
// with everything in it when the object goes. Paths longer than MAX_PATH are
// handled (every file operation goes through the "\\?\" form).
#pragma once

#include <windows.h>

#include <string>

namespace twk_test {

class TempDirectory {
public:
    // Creates %TEMP%\<prefix>-<process id>-<counter>; check Created().
    explicit TempDirectory(const std::wstring& prefix);
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    bool Created() const { return created; }
    // Full path of the directory, without a trailing backslash.
    const std::wstring& Path() const { return path; }
    // Path() + "\" + relative.
    std::wstring operator/(const std::wstring& relative) const { return path + L"\\" + relative; }

private:
    std::wstring path;
    bool created;
};

// "\\?\" + path for a full drive path, so that it may exceed MAX_PATH.
std::wstring LongPathForm(const std::wstring& path);

// Copies a file, creating the missing directories of the destination.
bool CopyFileCreatingDirectories(const std::wstring& source, const std::wstring& destination);

// Removes a directory tree; retries for up to timeoutMs while files are still
// in use (a program that was just killed may hold its image a moment longer).
bool RemoveDirectoryTree(const std::wstring& path, DWORD timeoutMs);

} // namespace twk_test
