#include "app/Startup.h"

#include "app/CommandLineMode.h"
#include "app/CommandLineSplit.h"
#include "app/Environment.h"
#include "core/AppInstance.h"
#include "settings/SettingsMode.h"

#ifdef TWK_WOW_SUPPORT
#include "app/Wow64Refusal.h"
#endif

int RunStartup(HINSTANCE instance, int showCommand)
{
    SetAppInstance(instance);

    BOOL isWow64 = FALSE;
    ElevationKind ownElevation = ElevationKind::Default;
    OsGeneration osGeneration = CheckEnvironment(&isWow64, &ownElevation);

#ifdef TWK_WOW_SUPPORT
    if (RefuseUnderWow64(isWow64))
        return 1;
#endif

    WideString programPath;
    WideString argumentText;
    SplitCommandLine(programPath, argumentText, WideString());

    if (argumentText.Length() > 0)
        return RunCommandLineMode(programPath, argumentText, ownElevation, showCommand);
    return RunSettingsMode(programPath, osGeneration, ownElevation);
}
