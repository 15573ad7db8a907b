// How the settings window writes down the termination of a listed process
// for later: the command line that ends it, and the desktop shortcut that
// runs that command.
#pragma once

#include "core/PathString.h"
#include "core/WideString.h"
#include "process/ProcessEntry.h"

#include <windows.h>

// The shortcut's file name on the desktop: one such shortcut per desktop.
extern const wchar_t kShortcutFileName[];

// The program path (quoted only when it holds a space), a space, "runas "
// for an elevated process, and the image path as the snapshot stores it,
// never quoted.
WideString TerminationCommandLine(const PathString& programPath, const WideString& imagePath,
                                  ElevationKind elevation);

// An elevated process needs the shortcut marked to run as administrator;
// its arguments never carry "runas ".
bool ShortcutRunsAsAdministrator(ElevationKind elevation);

// The shortcut's full path in the user's desktop folder, or the empty text
// when that folder cannot be found (the failure is reported).
PathString DesktopShortcutPath();
