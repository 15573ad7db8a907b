#include "tests/support/TempDirectory.h"

#include <atomic>

namespace twk_test {

namespace {

std::atomic<unsigned> directoryCounter{0};

bool CreateDirectories(const std::wstring& path)
{
    if (CreateDirectoryW(LongPathForm(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos || slash < 3)
        return false;
    return CreateDirectories(path.substr(0, slash)) && CreateDirectoryW(LongPathForm(path).c_str(), nullptr);
}

bool RemoveTreeOnce(const std::wstring& path)
{
    bool removed = true;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(LongPathForm(path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removed = RemoveTreeOnce(child) && removed;
            else
                removed = DeleteFileW(LongPathForm(child).c_str()) && removed;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(LongPathForm(path).c_str()) && removed;
}

} // namespace

std::wstring LongPathForm(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return L"\\\\?\\" + path;
    return path;
}

TempDirectory::TempDirectory(const std::wstring& prefix) : created(false)
{
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return;
    std::wstring base(temp, length);
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    path = base + L"\\" + prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(directoryCounter++);
    created = CreateDirectories(path);
}

TempDirectory::~TempDirectory()
{
    if (created)
        RemoveDirectoryTree(path, 5000);
}

bool CopyFileCreatingDirectories(const std::wstring& source, const std::wstring& destination)
{
    size_t slash = destination.rfind(L'\\');
    if (slash == std::wstring::npos || !CreateDirectories(destination.substr(0, slash)))
        return false;
    return CopyFileW(LongPathForm(source).c_str(), LongPathForm(destination).c_str(), FALSE) != FALSE;
}

bool RemoveDirectoryTree(const std::wstring& path, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!RemoveTreeOnce(path)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

} // namespace twk_test
