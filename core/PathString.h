// PathString: a WideString with path operations and no data of its own.
// Paths are Windows paths; the backslash is the only separator.
#pragma once

#include "core/WideString.h"

class PathString : public WideString {
public:
    PathString() = default;
    // Cleans a typed or passed path: spaces trimmed at both ends and, when it
    // then begins with a double quote, its first and last characters removed.
    explicit PathString(const WideString& text);
};
