// The texts that the command-line options add: the error box for refused
// options, the progress window's lines while a run with options waits, and
// the result line of such a run. A command line without options shows none
// of them.
#pragma once

#include "app/CommandLineRequest.h"
#include "core/WideString.h"
#include "process/TerminationCounts.h"

// The error box for a refused option: the token (shortened when very long),
// what is wrong with it, and the accepted forms.
WideString OptionErrorText(const CommandLineRequest& request);

// Line 2 while the processes are being ended.
WideString UnderWayText(const CommandLineRequest& request);
// Line 3 while the processes are being ended: the time limit, and whether
// they are ended by force after it.
WideString TimeLimitText(const CommandLineRequest& request);

// Line 2 of the result. One instance: the outcome's usual text, or that the
// process is still running and was left alone. Every instance: how many
// ended politely and by force (or were left running), and how many failed.
WideString OptionResultText(const CommandLineRequest& request, const TerminationCounts& counts);
