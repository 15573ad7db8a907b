#include "tests/support/ShortcutReader.h"

#include <shlobj.h>

namespace twk_test {

ShortcutContents ReadShortcut(const std::wstring& linkPath)
{
    ShortcutContents contents{false, L"", L"", L"", L"", 0};
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return contents;
    IPersistFile* file = nullptr;
    IShellLinkDataList* dataList = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ))) {
        contents.loaded = true;
        wchar_t text[4096] = {};
        if (SUCCEEDED(link->GetPath(text, 4096, nullptr, SLGP_RAWPATH)))
            contents.path = text;
        PIDLIST_ABSOLUTE items = nullptr;
        if (SUCCEEDED(link->GetIDList(&items)) && items) {
            text[0] = L'\0';
            if (SHGetPathFromIDListW(items, text))
                contents.itemPath = text;
            CoTaskMemFree(items);
        }
        text[0] = L'\0';
        if (SUCCEEDED(link->GetArguments(text, 4096)))
            contents.arguments = text;
        text[0] = L'\0';
        if (SUCCEEDED(link->GetWorkingDirectory(text, 4096)))
            contents.workingDirectory = text;
        if (SUCCEEDED(link->QueryInterface(IID_IShellLinkDataList, reinterpret_cast<void**>(&dataList))))
            dataList->GetFlags(&contents.dataFlags);
    }
    if (dataList)
        dataList->Release();
    if (file)
        file->Release();
    link->Release();
    return contents;
}

std::string FileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

} // namespace twk_test
