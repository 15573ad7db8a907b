// Answers the message boxes that this very test process shows. A box blocks
// the thread that shows it, so a second thread finds each "Tarnwick" box of
// the process, records what it says and presses a button.
#pragma once

#include "tests/support/WindowDriver.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace twk_test {

struct SeenBox {
    std::wstring text;
    BoxIcon icon;
    HWND owner;
    std::vector<int> buttons; // ids of the box's push buttons
};

class BoxAnswerer {
public:
    // Answers every box with buttonId (IDOK, IDYES, ...) until destroyed.
    explicit BoxAnswerer(int buttonId = IDOK);
    ~BoxAnswerer();

    std::vector<SeenBox> Boxes();

private:
    void Watch();

    int buttonId;
    std::atomic<bool> stopping;
    std::mutex lock;
    std::vector<SeenBox> seen;
    std::thread watcher;
};

} // namespace twk_test
