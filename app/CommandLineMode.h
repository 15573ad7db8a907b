// The command-line mode: ends the process whose image the argument names.
#pragma once

#include "core/ElevationKind.h"
#include "core/WideString.h"

// Returns the process exit code.
int RunCommandLineMode(const WideString& programPath, const WideString& argumentText,
                       ElevationKind ownElevation, int showCommand);
