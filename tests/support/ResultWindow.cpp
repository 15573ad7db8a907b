#include "tests/support/ResultWindow.h"

#include "res/resource.h"
#include "tests/support/StoredText.h"
#include "tests/support/WindowDriver.h"

namespace twk_test {

const wchar_t kResultCaption[] = L"Tarnwick の結果";

HWND WaitForResultWindow(DWORD processId, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    HWND result = WaitForStoredCaption(processId, L"#32770", kResultCaption, timeoutMs);
    while (result && !ControlVisible(result, IDC_PROGRESS_DISMISS)) {
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(10);
    }
    return result;
}

} // namespace twk_test
