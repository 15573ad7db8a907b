// Splits a command line into the program path and the argument text, and the
// argument text into the options and the target. Only the space counts as
// separator and as white space; a tab is an ordinary character.
#pragma once

#include "app/CommandLineRequest.h"
#include "core/WideString.h"

// Splits source, or the process's own command line when source is empty.
void SplitCommandLine(WideString& programPath, WideString& argumentText, const WideString& source);

// Splits the argument text (trimmed) into options and target. Options come
// first, each a token of its own beginning with "/", in any order and case:
// "/all", "/wait:N" (N whole seconds, 1 to 3600; the last one given counts)
// and "/noforce". The first token that does not begin with "/" starts the
// target, which runs to the end of the text, spaces included. Without
// options the whole argument text is the target, as it always was.
CommandLineRequest SplitOptions(const WideString& argumentText);
