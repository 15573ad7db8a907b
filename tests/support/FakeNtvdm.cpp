#include "tests/support/FakeNtvdm.h"

#include "tests/support/TempDirectory.h"

namespace twk_test {

namespace {

const DWORD kPollMs = 20;

} // namespace

FakeNtvdm::FakeNtvdm(const std::wstring& directory, const std::vector<FakeTask>& tasks, DWORD timeoutMs)
    : imagePath(directory + L"\\NTVDM.EXE")
{
    if (!CopyFileCreatingDirectories(BinPath(L"twk_fake_ntvdm.exe"), imagePath))
        return;
    std::wstring arguments;
    for (const FakeTask& task : tasks) {
        arguments += arguments.empty() ? L"\"" : L" \"";
        arguments +=
            std::wstring(task.mode) + L"," + std::to_wstring(task.windows) + L"," + task.fileName + L"\"";
    }
    program.reset(new RunningProgram(imagePath, arguments));
    if (!program->Started())
        return;
    DWORD start = GetTickCount();
    for (;;) {
        view.reset(new fake_ntvdm::TableView(program->Id(), true));
        if (view->Get() || program->WaitExit(0) || GetTickCount() - start >= timeoutMs)
            return;
        Sleep(kPollMs);
    }
}

bool FakeNtvdm::WaitTaskEnded(int index, DWORD timeoutMs) const
{
    DWORD start = GetTickCount();
    while (Task(index).running) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

} // namespace twk_test
