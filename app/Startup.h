// The start-up sequence shared by both builds: keep the instance, check the
// system, split the command line and run one of the two modes.
#pragma once

#include <windows.h>

// Returns the process exit code.
int RunStartup(HINSTANCE instance, int showCommand);
