// PathString: a WideString with path operations and no data of its own.
// Paths are Windows paths; the backslash is the only separator and forward
// slashes are ordinary characters. Nothing here touches the file system,
// except that SpecialFolderPath asks the system where a folder is.
#pragma once

#include "core/WideString.h"

#include <windows.h>

class PathString : public WideString {
public:
    PathString() = default;
    // Cleans a typed or passed path: spaces trimmed at both ends and, when it
    // then begins with a double quote, its first and last characters removed.
    explicit PathString(const WideString& text);
    // The path of a special folder (a CSIDL_ value, or -1 for the current
    // directory), as SpecialFolderPath gives it.
    explicit PathString(int folderId);
    // The special folder's path joined with name: a backslash between them
    // unless the folder is a drive root such as C:\.
    PathString(int folderId, const WideString& name);

    // A CSIDL_ folder's path, or the current directory for -1. After a
    // failure (reported) the result is the empty text.
    static WideString SpecialFolderPath(int folderId);

    // The path, in double quotes when it contains a space, then a space and
    // the arguments when there are any.
    WideString CommandLine(const WideString& arguments) const;
    // Everything before the last backslash; the backslash is kept after a
    // drive such as C:\. Empty when there is no backslash.
    PathString Directory() const;
    // Everything after the last backslash; the whole text when there is none.
    WideString FileName() const;

    // The path shortened with "...\" until it measures narrower than
    // maxWidth pixels in the font selected into dc: whole directory levels
    // go from the left, the root and the file name stay; the last resort is
    // "...\<file name>", unmeasured. A too-wide text that is neither a drive
    // nor a network path gives "不正なファイル名".
    WideString FitToWidth(HDC dc, int maxWidth) const;

    // Writes a shell shortcut at linkPath that starts this path with the
    // arguments, in this path's directory; marked to run as administrator
    // when asked. True when it was saved. COM must be initialised.
    bool CreateShortcut(const WideString& linkPath, const WideString& arguments, bool runAsAdministrator) const;
};

// True when the text's second and third characters are ":" (a drive path
// such as C:\...; the first character is not examined).
bool HasDriveRoot(const WideString& text);
// True when the text begins with "\" (a network path or a long-path prefix).
bool HasNetworkPrefix(const WideString& text);
