// PathString::CreateShortcut: a shell link to this path, written through the
// shell's link object. Every interface obtained is released on every path.
#include "core/PathString.h"

#include "core/ComHolder.h"

#include <shlobj.h>

bool PathString::CreateShortcut(const WideString& linkPath, const WideString& arguments,
                                bool runAsAdministrator) const
{
    ComHolder<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Out())))
        return false;
    if (FAILED(link->SetWorkingDirectory(Directory().CStr())) || FAILED(link->SetPath(CStr())) ||
        FAILED(link->SetArguments(arguments.CStr())))
        return false;

    ComHolder<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out())))
        return false;
    if (FAILED(file->Save(linkPath.CStr(), TRUE)))
        return false;
    if (!runAsAdministrator)
        return true;

    // The flag is kept by the link's data list and written by a second save.
    ComHolder<IShellLinkDataList> dataList;
    DWORD flags = 0;
    if (FAILED(file->QueryInterface(IID_IShellLinkDataList, dataList.Out())) ||
        FAILED(dataList->GetFlags(&flags)) || FAILED(dataList->SetFlags(flags | SLDF_RUNAS_USER)))
        return false;
    return SUCCEEDED(file->Save(linkPath.CStr(), TRUE));
}
