// The termination and its result window are not built yet: for now the
// mode ends at once with exit code 0.
#include "app/CommandLineMode.h"

int RunCommandLineMode(const WideString&, const WideString&, ElevationKind, int)
{
    return 0;
}
