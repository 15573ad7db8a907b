// The elevated relaunch of the command-line mode: an argument that begins
// with "runas ", given to a program that runs with an administrator's
// filtered token, starts the program again through the shell verb "runas"
// with the rest of the argument. The decision is kept apart from the shell
// call so that it can be checked where no filtered token exists.
#pragma once

#include "core/ElevationKind.h"
#include "core/WideString.h"

// True when the argument asks for a relaunch that this token can give: it
// begins with "runas " (lower case, one space, compared case-sensitively)
// and ownElevation is ElevationKind::Limited. parameters then receives the
// text behind "runas ", unchanged (further spaces included).
bool WantsElevatedRelaunch(const WideString& argumentText, ElevationKind ownElevation,
                           WideString& parameters);

// Starts programPath elevated with parameters, in the current directory and
// with the given show command. The result is not examined: a refused
// elevation prompt passes silently.
void RelaunchElevated(const WideString& programPath, const WideString& parameters, int showCommand);
