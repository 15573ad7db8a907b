// A test that drives TWK64.exe's settings window from outside: it starts
// copies of the fixture twk_target.exe from paths of its own, opens the
// window and finds rows by process id.
#pragma once

#include "res/resource.h"
#include "tests/support/ListViewDriver.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace twk_test {

// Every process under Wine has an elevated token, this program's included.
const wchar_t kSettingsCaption[] = L"Tarnwick の設定(昇格中)";
const DWORD kWindowWaitMs = 15000;
const int kSelectionButtons[] = {IDC_SETTINGS_INFO, IDC_SETTINGS_TEST_RUN, IDC_SETTINGS_SHORTCUT,
                                 IDC_SETTINGS_COPY_COMMAND};

class SettingsWindowFixture : public ::testing::Test {
protected:
    SettingsWindowFixture() : directory(L"twk-settings") {}

    void SetUp() override { ASSERT_TRUE(directory.Created()); }

    // A running copy of the fixture at a path of this test.
    std::unique_ptr<RunningProgram> StartCopy(const std::wstring& relative,
                                              const std::wstring& mode = L"close")
    {
        std::wstring path = directory / relative;
        EXPECT_TRUE(CopyFileCreatingDirectories(TargetProgramPath(), path));
        std::unique_ptr<RunningProgram> target = StartTarget(path, mode);
        EXPECT_NE(target, nullptr) << "could not start the fixture";
        return target;
    }

    // TWK64.exe without an argument, its settings window and its list.
    void OpenSettings()
    {
        OpenSettingsFrom(BinPath(L"TWK64.exe"), RawCommandLine{L"\"" + BinPath(L"TWK64.exe") + L"\""});
    }

    // The program at path, started with exactly this command line.
    void OpenSettingsFrom(const std::wstring& path, const RawCommandLine& commandLine)
    {
        twk.reset(new RunningProgram(path, commandLine));
        ASSERT_TRUE(twk->Started());
        dialog = WaitForTopWindow(twk->Id(), L"#32770", kSettingsCaption, kWindowWaitMs);
        ASSERT_NE(dialog, nullptr) << "no settings window";
        list = GetDlgItem(dialog, IDC_SETTINGS_LIST);
        ASSERT_NE(list, nullptr);
    }

    // A copy of the program in a folder whose name holds a space, so that
    // the commands must quote it.
    void OpenProgramCopy()
    {
        programPath = directory / L"Tarnwick Tools\\TWK64.exe";
        if (GetFileAttributesW(programPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
            ASSERT_TRUE(CopyFileCreatingDirectories(BinPath(L"TWK64.exe"), programPath));
        }
        OpenSettingsFrom(programPath, RawCommandLine{L"\"" + programPath + L"\""});
    }

    void CloseSettings()
    {
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        ASSERT_TRUE(twk->WaitExit(5000));
        EXPECT_EQ(twk->ExitCode(), 0u);
    }

    // Clicks the program's row and expects it selected.
    void Select(const RunningProgram& program)
    {
        ASSERT_GE(RowOf(program), 0);
        ClickListRow(list, RowOf(program));
        ASSERT_EQ(SelectedListRow(list), RowOf(program));
    }

    // Presses a button that answers with a box; returns the box's text once
    // it has been answered with answer.
    std::wstring Press(int buttonId, int answer = IDOK)
    {
        PressButton(dialog, buttonId);
        HWND box = WaitForMessageBox(twk->Id(), kWindowWaitMs);
        if (!box)
            return L"<no box>";
        std::wstring text = MessageBoxText(box);
        AnswerMessageBox(box, answer);
        WaitForWindowGone(box, 5000);
        return text;
    }

    int RowOf(DWORD processId) { return FindListRow(list, 2, std::to_wstring(processId)); }
    int RowOf(const RunningProgram& program) { return RowOf(program.Id()); }

    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

    void ExpectSelectionButtons(bool enabled, const char* when)
    {
        for (int id : kSelectionButtons)
            EXPECT_EQ(Enabled(id), enabled) << when << ": " << id;
        EXPECT_TRUE(Enabled(IDC_SETTINGS_REFRESH)) << when;
        EXPECT_TRUE(Enabled(IDC_SETTINGS_ABOUT)) << when;
        EXPECT_TRUE(Enabled(IDC_SETTINGS_CLOSE)) << when;
    }

    // Waits until the row of the process is there (or gone).
    bool WaitForRow(DWORD processId, bool present, DWORD timeoutMs = 5000)
    {
        DWORD start = GetTickCount();
        for (;;) {
            if ((RowOf(processId) >= 0) == present)
                return true;
            if (GetTickCount() - start >= timeoutMs)
                return false;
            Sleep(20);
        }
    }

    TempDirectory directory;
    std::wstring programPath; // of the copy that OpenProgramCopy starts
    std::unique_ptr<RunningProgram> twk;
    HWND dialog = nullptr;
    HWND list = nullptr;
};

} // namespace twk_test
