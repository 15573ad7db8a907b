// The command-line mode: ends the process whose image the argument names
// (after the options "/all", "/wait:N", "/noforce", if any) while the
// ProgressDialog shows progress and result. Before that it may
// relaunch the program elevated, or reject a path that does not exist.
#pragma once

#include "core/ElevationKind.h"
#include "core/WideString.h"

// Returns the process exit code: 1 when an option is refused or the target
// path does not exist, otherwise 0, whatever the outcome of the termination.
int RunCommandLineMode(const WideString& programPath, const WideString& argumentText,
                       ElevationKind ownElevation, int showCommand);
