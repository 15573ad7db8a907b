#include "core/ElevationKind.h"

#include "core/FailureReport.h"

ElevationKind ElevationKindFromTokenType(DWORD tokenElevationType)
{
    switch (tokenElevationType) {
    case TokenElevationTypeDefault:
        return ElevationKind::Default;
    case TokenElevationTypeLimited:
        return ElevationKind::Limited;
    default:
        return ElevationKind::Elevated;
    }
}

ElevationKind ReadProcessElevation(HANDLE process, const char* closeLabel)
{
    HANDLE token = nullptr;
    BOOL opened = OpenProcessToken(process, TOKEN_QUERY, &token);
    ReportApiFailure(opened, "OpenProcessToken");
    if (!opened)
        return ElevationKind::Default;

    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD returned = 0;
    BOOL queried = GetTokenInformation(token, TokenElevationType, &type, sizeof(type), &returned);
    ReportApiFailure(queried, "GetTokenInformation");
    ReportApiFailure(CloseHandle(token), closeLabel);
    if (!queried)
        return ElevationKind::Default;
    return ElevationKindFromTokenType(type);
}
