// Shared by the process engine tests: every test runs with a BoxAnswerer and
// expects no failure report, finds entries of a snapshot by id, and has
// windows of its own to see what is told to close.
#pragma once

#include "process/ProcessSnapshot.h"
#include "tests/support/BoxAnswerer.h"

#include <gtest/gtest.h>

#include <string>

namespace twk_test {

class ProcessEngineTest : public ::testing::Test {
protected:
    // Code under test shows no failure report in a normal run.
    void TearDown() override
    {
        for (const SeenBox& box : boxes.Boxes())
            ADD_FAILURE() << "failure report shown: " << std::string(box.text.begin(), box.text.end());
    }

    BoxAnswerer boxes;
};

// The outcome's enumerator name, so that a failure says which outcome came.
inline std::string Name(TerminateOutcome outcome)
{
    return TerminateOutcomeName(outcome);
}

// One TerminateByImage: its outcome, when it started and how long it took.
struct Timed {
    TerminateOutcome outcome;
    ULONGLONG startTick;
    ULONGLONG elapsedMs;
};

inline Timed TimedTerminateByImage(ProcessSnapshot& snapshot, const std::wstring& target, DWORD timeoutMs)
{
    ULONGLONG start = GetTickCount64();
    TerminateOutcome outcome = snapshot.TerminateByImage(WideString(target.c_str()), timeoutMs);
    return Timed{outcome, start, GetTickCount64() - start};
}

// Index of the entry with this id, or -1.
inline int FindEntry(const ProcessSnapshot& snapshot, DWORD id)
{
    for (int i = 0; i < snapshot.count; ++i) {
        if (snapshot.entries[i].id == static_cast<int>(id))
            return i;
    }
    return -1;
}

// The image path the system gives for the process, as a fresh snapshot lists
// it; empty when it is not listed.
inline std::wstring ListedPath(DWORD id)
{
    ProcessSnapshot snapshot;
    snapshot.Enumerate();
    int index = FindEntry(snapshot, id);
    return index < 0 ? std::wstring() : std::wstring(snapshot.imagePaths[index].CStr());
}

inline std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towupper(c));
    return text;
}

inline std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

// A window of this test process, to see whether WM_CLOSE was posted to it.
class OwnWindow {
public:
    explicit OwnWindow(bool visible)
        : window(CreateWindowExW(0, L"STATIC", L"Tarnwick own window",
                                 visible ? WS_OVERLAPPED | WS_VISIBLE : 0, 0, 0, 100, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr))
    {
    }
    ~OwnWindow() { DestroyWindow(window); }

    HWND Handle() const { return window; }
    // True when a WM_CLOSE for this window waits in the queue (taken out).
    bool TakeClose()
    {
        MSG message;
        return PeekMessageW(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
    }

private:
    HWND window;
};

} // namespace twk_test
