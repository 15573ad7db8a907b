// What the argument text of the command-line mode asks for: the target and
// the options written before it ("/all", "/wait:N", "/noforce"), or why the
// options were refused.
#pragma once

#include "core/WideString.h"

#include <windows.h>

enum class OptionError : int {
    None = 0,
    UnknownOption = 1, // a token beginning with "/" that is no option
    BadWait = 2,       // "/wait:" without a whole number of seconds from 1 to 3600
    NoTarget = 3,      // options, but no target after them
};

struct CommandLineRequest {
    WideString target;   // the text behind the options, unchanged (quotes and all)
    bool hasOptions;     // at least one option was given
    bool allInstances;   // "/all": every process of the image, not only the one listed last
    DWORD timeoutMs;     // "/wait:N" as milliseconds; 10000 without it
    bool force;          // false with "/noforce": never TerminateProcess
    OptionError error;   // None when the options were accepted
    WideString badToken; // the option the error is about
};
