// The command-line mode: ends the process whose image the argument names
// while the ProgressDialog shows progress and result. Before that it may
// relaunch the program elevated, or reject a path that does not exist.
#pragma once

#include "core/ElevationKind.h"
#include "core/WideString.h"

// Returns the process exit code: 1 when the target path does not exist,
// otherwise 0, whatever the outcome of the termination.
int RunCommandLineMode(const WideString& programPath, const WideString& argumentText,
                       ElevationKind ownElevation, int showCommand);
