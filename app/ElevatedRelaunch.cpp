#include "app/ElevatedRelaunch.h"

#include "core/PathString.h"

#include <shellapi.h>

namespace {

const wchar_t kRelaunchMarker[] = L"runas ";
const int kRelaunchMarkerLength = 6;

} // namespace

bool WantsElevatedRelaunch(const WideString& argumentText, ElevationKind ownElevation, WideString& parameters)
{
    if (ownElevation != ElevationKind::Limited || argumentText.Find(WideString(kRelaunchMarker)) != 0)
        return false;
    parameters = argumentText.Mid(kRelaunchMarkerLength);
    return true;
}

void RelaunchElevated(const WideString& programPath, const WideString& parameters, int showCommand)
{
    PathString directory(-1);
    ShellExecuteW(nullptr, L"runas", programPath.CStr(), parameters.CStr(), directory.CStr(), showCommand);
}
