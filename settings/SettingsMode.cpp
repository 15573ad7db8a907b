// The settings dialog is not built yet: for now the mode ends at once with
// exit code 0.
#include "settings/SettingsMode.h"

int RunSettingsMode(const WideString&, int, ElevationKind)
{
    return 0;
}
