#include "tests/support/ToolTipReader.h"

#include <commctrl.h>

#include <algorithm>

namespace twk_test {

namespace {

struct Search {
    HWND owner;
    std::vector<HWND> tips;
};

BOOL CALLBACK CollectToolTip(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (lstrcmpW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(window, GW_OWNER) == search->owner)
        search->tips.push_back(window);
    return TRUE;
}

} // namespace

std::vector<ToolTipInfo> DialogToolTips(HWND dialog)
{
    Search search{dialog, {}};
    EnumThreadWindows(GetWindowThreadProcessId(dialog, nullptr), CollectToolTip,
                      reinterpret_cast<LPARAM>(&search));
    std::vector<ToolTipInfo> found;
    for (HWND tip : search.tips) {
        int tools = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
        for (int i = 0; i < tools; ++i) {
            wchar_t text[512] = {};
            TOOLINFOW tool = {};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.lpszText = text;
            if (!SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool)))
                continue;
            int delay = static_cast<int>(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0));
            found.push_back(ToolTipInfo{GetDlgCtrlID(reinterpret_cast<HWND>(tool.uId)), text, delay});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const ToolTipInfo& a, const ToolTipInfo& b) { return a.controlId < b.controlId; });
    return found;
}

} // namespace twk_test
