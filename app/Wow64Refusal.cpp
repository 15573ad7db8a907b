#include "app/Wow64Refusal.h"

#include "core/MessageBoxes.h"

bool RefuseUnderWow64(BOOL isWow64)
{
    if (!isWow64)
        return false;
    ShowErrorBox(L"TWK64.exe を起動してください", nullptr);
    return true;
}
