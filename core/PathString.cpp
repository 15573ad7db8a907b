// Path operations on text: cleaning, special folders, joining, splitting,
// command lines and fitting a path into a pixel width.
#include "core/PathString.h"

#include "core/FailureReport.h"

#include <shlobj.h>

namespace {

const wchar_t kSeparator[] = L"\\";
const wchar_t kEllipsis[] = L"...\\";
const wchar_t kInvalidFileName[] = L"不正なファイル名";

// A drive root such as C:\ and nothing after it.
bool IsDriveRoot(const WideString& text)
{
    return text.Length() == 3 && HasDriveRoot(text);
}

WideString CurrentDirectory()
{
    wchar_t buffer[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
    ReportApiFailure(length, "GetCurrentDirectory");
    // A longer directory does not fit: the call then returns the size it
    // needs and leaves the buffer unwritten.
    if (length == 0 || length >= MAX_PATH)
        return WideString();
    return WideString(buffer);
}

WideString ShellFolder(int folderId)
{
    IMalloc* allocator = nullptr;
    HRESULT hr = SHGetMalloc(&allocator);
    ReportComFailure(hr, "SHGetMalloc Error");

    LPITEMIDLIST items = nullptr;
    hr = SHGetSpecialFolderLocation(nullptr, folderId, &items);
    ReportComFailure(hr, "SHGetSpecialFolderLocation");

    wchar_t buffer[MAX_PATH] = {};
    BOOL converted = FALSE;
    // Without an item list there is nothing to convert, and the failure is
    // already reported.
    if (items) {
        converted = SHGetPathFromIDListW(items, buffer);
        ReportApiFailure(converted, "SHGetPathFromIDList");
    }

    if (items && allocator)
        allocator->Free(items);
    if (allocator)
        allocator->Release();
    return converted ? WideString(buffer) : WideString();
}

// True when text measures narrower than maxWidth. A failed measurement is
// reported and counts as too wide.
bool FitsWidth(HDC dc, const WideString& text, int maxWidth)
{
    SIZE size = {};
    BOOL measured = GetTextExtentPoint32W(dc, text.CStr(), text.Length(), &size);
    ReportApiFailure(measured, "GTEP32");
    return measured && size.cx < maxWidth;
}

// The text after the root of an absolute path: after C:\ (any first
// character) or after \\server\share\. Returns false for any other text.
bool SplitRoot(const WideString& path, WideString& rest)
{
    if (HasDriveRoot(path)) {
        rest = path.Mid(3);
        return true;
    }
    if (!HasNetworkPrefix(path))
        return false;
    WideString remaining = path.Mid(2);
    for (int part = 0; part < 2; ++part) { // the server name, then the share name
        int separator = remaining.Find(WideString(kSeparator));
        if (separator == -1)
            return false;
        remaining = remaining.Mid(separator + 1);
    }
    rest = remaining;
    return true;
}

} // namespace

bool HasDriveRoot(const WideString& text)
{
    const wchar_t* chars = text.CStr();
    return text.Length() >= 3 && chars[1] == L':' && chars[2] == L'\\';
}

bool HasNetworkPrefix(const WideString& text)
{
    const wchar_t* chars = text.CStr();
    return text.Length() >= 2 && chars[0] == L'\\' && chars[1] == L'\\';
}

PathString::PathString(const WideString& text)
{
    WideString trimmed = text.Trim();
    if (trimmed.CStr()[0] == L'"')
        Assign(trimmed.Mid(1).Left(trimmed.Length() - 2).CStr());
    else
        Assign(trimmed.CStr());
}

PathString::PathString(int folderId)
{
    Assign(SpecialFolderPath(folderId).CStr());
}

PathString::PathString(int folderId, const WideString& name)
{
    WideString folder = SpecialFolderPath(folderId);
    Assign(folder.CStr());
    if (!IsDriveRoot(PathString(folder)))
        Append(kSeparator);
    Append(name.CStr());
}

WideString PathString::SpecialFolderPath(int folderId)
{
    if (folderId == -1)
        return CurrentDirectory();
    return ShellFolder(folderId);
}

WideString PathString::CommandLine(const WideString& arguments) const
{
    WideString path(CStr());
    if (path.Find(WideString(L" ")) != -1)
        path = ::Concat(L"\"", path).Concat(L"\"");
    if (arguments.Length() == 0)
        return path;
    return path.Concat(L" ").Concat(arguments.CStr());
}

PathString PathString::Directory() const
{
    int separator = ReverseFind(L'\\');
    if (separator == -1)
        return PathString();
    if (separator == 2)
        return PathString(Left(3));
    return PathString(Left(separator));
}

WideString PathString::FileName() const
{
    int separator = ReverseFind(L'\\');
    if (separator == -1)
        return WideString(CStr());
    return Mid(separator + 1);
}

WideString PathString::FitToWidth(HDC dc, int maxWidth) const
{
    WideString whole(CStr());
    if (FitsWidth(dc, whole, maxWidth))
        return whole;

    WideString rest;
    if (!SplitRoot(whole, rest))
        return WideString(kInvalidFileName);
    WideString root = Left(Length() - rest.Length());

    for (int separator = rest.Find(WideString(kSeparator)); separator != -1;
         separator = rest.Find(WideString(kSeparator))) {
        rest = rest.Mid(separator + 1);
        WideString candidate = root.Concat(kEllipsis).Concat(rest.CStr());
        if (FitsWidth(dc, candidate, maxWidth))
            return candidate;
    }
    return ::Concat(kEllipsis, rest);
}
