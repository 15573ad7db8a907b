// Splits a command line into the program path and the argument text. Only
// the space counts as separator and as white space; a tab is an ordinary
// character. The argument text is never split further.
#pragma once

#include "core/WideString.h"

// Splits source, or the process's own command line when source is empty.
void SplitCommandLine(WideString& programPath, WideString& argumentText, const WideString& source);
