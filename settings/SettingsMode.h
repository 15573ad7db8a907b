// The settings mode: the interactive window, entered without an argument.
#pragma once

#include "core/ElevationKind.h"
#include "core/WideString.h"

// Returns the process exit code.
int RunSettingsMode(const WideString& programPath, int osGeneration, ElevationKind ownElevation);
