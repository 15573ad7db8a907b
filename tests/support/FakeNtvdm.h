// Fake NTVDM processes for the tests of the 16-bit task support: copies of
// twk_fake_ntvdm.exe (tests/fixtures/FakeNtvdm.cpp) named NTVDM.EXE, whose
// tasks the stand-in vdmdbg.dll lists and ends. The test reads back what the
// process recorded per task: WM_CLOSE messages, VDMTerminateTaskWOW calls and
// when the task ended.
#pragma once

#include "tests/fixtures/FakeNtvdmTasks.h"
#include "tests/support/ProgramRunner.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace twk_test {

struct FakeTask {
    const wchar_t* mode; // "close" or "ignore"
    int windows;
    std::wstring fileName;
};

class FakeNtvdm {
public:
    // Copies the fixture to directory\NTVDM.EXE, starts it with the tasks and
    // waits up to timeoutMs until it has published them; check Ready().
    FakeNtvdm(const std::wstring& directory, const std::vector<FakeTask>& tasks, DWORD timeoutMs = 15000);
    FakeNtvdm(const FakeNtvdm&) = delete;
    FakeNtvdm& operator=(const FakeNtvdm&) = delete;

    bool Ready() const { return view && view->Get(); }
    DWORD Id() const { return program ? program->Id() : 0; }
    const std::wstring& ImagePath() const { return imagePath; }
    // The task as published and recorded so far (index in the order given).
    const fake_ntvdm::Task& Task(int index) const { return view->Get()->tasks[index]; }
    bool WaitTaskEnded(int index, DWORD timeoutMs) const;

private:
    std::wstring imagePath;
    std::unique_ptr<RunningProgram> program;
    std::unique_ptr<fake_ntvdm::TableView> view;
};

} // namespace twk_test
