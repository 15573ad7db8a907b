#include "tests/support/BoxAnswerer.h"

namespace twk_test {

namespace {

std::vector<int> ButtonIds(HWND box)
{
    std::vector<int> ids;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (lstrcmpiW(name, L"Button") == 0 && IsWindowVisible(child))
            ids.push_back(GetDlgCtrlID(child));
    }
    return ids;
}

} // namespace

BoxAnswerer::BoxAnswerer(int buttonId)
    : buttonId(buttonId), stopping(false), watcher(&BoxAnswerer::Watch, this)
{
}

BoxAnswerer::~BoxAnswerer()
{
    stopping = true;
    watcher.join();
}

std::vector<SeenBox> BoxAnswerer::Boxes()
{
    std::lock_guard<std::mutex> guard(lock);
    return seen;
}

void BoxAnswerer::Watch()
{
    std::vector<HWND> answered;
    while (!stopping) {
        for (HWND box : FindTopWindows(GetCurrentProcessId(), L"#32770", L"Tarnwick")) {
            // Wait until the box has its text: a box can be found before its controls exist.
            if (!GetDlgItem(box, 0xFFFF) || ButtonIds(box).empty())
                continue;
            bool known = false;
            for (HWND done : answered)
                known = known || done == box;
            if (!known) {
                SeenBox record{MessageBoxText(box), MessageBoxIcon(box), GetWindow(box, GW_OWNER),
                               ButtonIds(box)};
                std::lock_guard<std::mutex> guard(lock);
                seen.push_back(record);
                answered.push_back(box);
            }
            AnswerMessageBox(box, buttonId);
        }
        Sleep(20);
    }
}

} // namespace twk_test
