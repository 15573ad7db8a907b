// Reading the tooltips a dialog of this very process gave its controls: the
// tooltip windows owned by the dialog, each with the control it describes,
// its text and its auto-pop delay. Same process only: the text is read into
// a buffer of the caller.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace twk_test {

struct ToolTipInfo {
    int controlId;
    std::wstring text;
    int autoPopMs;
};

// Ordered by control id.
std::vector<ToolTipInfo> DialogToolTips(HWND dialog);

} // namespace twk_test
