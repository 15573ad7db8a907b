// The commands on the selected process: the command line they write (a
// table), and end to end through TWK64.exe started without an argument: the
// real shortcut file read back and started, and the test run that ends a
// fixture while the window stays responsive. The clipboard command is in
// ClipboardCommandTest.cpp.
#include "settings/TerminationCommand.h"
#include "tests/settings/SettingsWindowFixture.h"
#include "tests/support/RegistryOverride.h"
#include "tests/support/ShortcutReader.h"
#include "tests/support/StoredText.h"

#include <gtest/gtest.h>

#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

using namespace twk_test;

namespace {

const wchar_t kCreated[] = L"ショートカットを作成しました";
const wchar_t kNotCreated[] = L"ショートカットを作成できませんでした";

TEST(TerminationCommandLine, ProgramQuotedOnlyWithASpaceTargetNeverQuoted)
{
    struct Case {
        const wchar_t* program;
        const wchar_t* image;
        ElevationKind elevation;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"C:\\Tools\\TWK64.exe", L"C:\\Program Files\\App\\app.exe", ElevationKind::Default,
         L"C:\\Tools\\TWK64.exe C:\\Program Files\\App\\app.exe"},
        {L"C:\\My Tools\\TWK64.exe", L"C:\\Program Files\\App\\app.exe", ElevationKind::Elevated,
         L"\"C:\\My Tools\\TWK64.exe\" runas C:\\Program Files\\App\\app.exe"},
        {L"C:\\設定 ツール\\TWK.exe", L"C:\\アプリ\\起動.exe", ElevationKind::Limited,
         L"\"C:\\設定 ツール\\TWK.exe\" C:\\アプリ\\起動.exe"},
        {L"TWK64.exe", L"\\\\server\\share\\tool.exe", ElevationKind::Elevated,
         L"TWK64.exe runas \\\\server\\share\\tool.exe"},
    };
    for (const Case& c : cases) {
        WideString line =
            TerminationCommandLine(PathString(WideString(c.program)), WideString(c.image), c.elevation);
        EXPECT_STREQ(line.CStr(), c.expected);
    }
    EXPECT_FALSE(ShortcutRunsAsAdministrator(ElevationKind::Default));
    EXPECT_FALSE(ShortcutRunsAsAdministrator(ElevationKind::Limited));
    EXPECT_TRUE(ShortcutRunsAsAdministrator(ElevationKind::Elevated));
}

using SettingsCommands = SettingsWindowFixture;

// The only case that changes the desktop folder (HKCU is shared by every
// test of the run), step by step.
TEST_F(SettingsCommands, WritesTheDesktopShortcutAsksBeforeReplacingAndTheShortcutEndsTheProgram)
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    const std::wstring shellFolders =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    std::wstring desktop = directory / L"デスクトップ";
    ASSERT_TRUE(CreateDirectoryW(desktop.c_str(), nullptr));
    std::wstring link = desktop + L"\\プロセスの終了.lnk";
    std::unique_ptr<RunningProgram> first = StartCopy(L"最初 の\\first.exe");
    std::unique_ptr<RunningProgram> second = StartCopy(L"二番目 の\\second.exe");
    ASSERT_TRUE(first && second);
    {
        RegistryOverride desktopFolder(HKEY_CURRENT_USER, shellFolders, L"Desktop", desktop);
        ASSERT_TRUE(desktopFolder.Applied());
        OpenProgramCopy();

        Select(*first);
        EXPECT_EQ(Press(IDC_SETTINGS_SHORTCUT), kCreated);
        ShortcutContents written = ReadShortcut(link);
        ASSERT_TRUE(written.loaded);
        EXPECT_EQ(written.path, programPath);
        EXPECT_EQ(written.arguments, directory / L"最初 の\\first.exe");
        EXPECT_EQ(written.workingDirectory, directory / L"Tarnwick Tools");
        std::string firstBytes = FileBytes(link);

        // Another target: the question names the whole link path; No keeps
        // the first shortcut untouched, Yes replaces it.
        Select(*second);
        EXPECT_EQ(Press(IDC_SETTINGS_SHORTCUT, IDNO), link + L" を置き換えますか");
        Sleep(300);
        EXPECT_TRUE(FindTopWindows(twk->Id(), L"#32770", L"Tarnwick").empty());
        EXPECT_EQ(FileBytes(link), firstBytes);
        EXPECT_EQ(Press(IDC_SETTINGS_SHORTCUT, IDYES), link + L" を置き換えますか");
        HWND confirmation = WaitForMessageBox(twk->Id(), kWindowWaitMs);
        ASSERT_NE(confirmation, nullptr);
        EXPECT_EQ(MessageBoxText(confirmation), kCreated);
        AnswerMessageBox(confirmation, IDOK);
        ASSERT_TRUE(WaitForWindowGone(confirmation, 5000));
        EXPECT_EQ(ReadShortcut(link).arguments, directory / L"二番目 の\\second.exe");

        // Started as the desktop starts it, the shortcut ends that program.
        SHELLEXECUTEINFOW start = {};
        start.cbSize = sizeof(start);
        start.lpFile = link.c_str();
        start.nShow = SW_SHOWNORMAL;
        ASSERT_TRUE(ShellExecuteExW(&start));
        EXPECT_TRUE(second->WaitExit(20000));
        EXPECT_EQ(second->ExitCode(), 0u) << "closed when asked";
        EXPECT_EQ(first->ExitCode(), static_cast<DWORD>(STILL_ACTIVE));

        // A folder in the shortcut's place: it cannot be written.
        ASSERT_TRUE(DeleteFileW(link.c_str()));
        ASSERT_TRUE(CreateDirectoryW(link.c_str(), nullptr));
        Select(*first);
        EXPECT_EQ(Press(IDC_SETTINGS_SHORTCUT, IDYES), link + L" を置き換えますか");
        HWND warning = WaitForMessageBox(twk->Id(), kWindowWaitMs);
        ASSERT_NE(warning, nullptr);
        EXPECT_EQ(MessageBoxText(warning), kNotCreated);
        AnswerMessageBox(warning, IDOK);
        ASSERT_TRUE(WaitForWindowGone(warning, 5000));
        EXPECT_EQ(GetFileAttributesW(link.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
        CloseSettings();
    }
    {
        // A desktop at a drive root: one backslash after the drive.
        RegistryOverride desktopFolder(HKEY_CURRENT_USER, shellFolders, L"Desktop", L"C:\\");
        DeleteFileW(L"C:\\プロセスの終了.lnk");
        OpenProgramCopy();
        Select(*first);
        EXPECT_EQ(Press(IDC_SETTINGS_SHORTCUT), kCreated);
        EXPECT_EQ(ReadShortcut(L"C:\\プロセスの終了.lnk").arguments, directory / L"最初 の\\first.exe");
        DeleteFileW(L"C:\\プロセスの終了.lnk");
        CloseSettings();
    }
    OleUninitialize();
}

// Visible top-level windows with this caption whose process runs from
// imagePath (the test's own copy of the program: other tests run theirs).
std::vector<HWND> WindowsCaptioned(const wchar_t* caption, const std::wstring& imagePath)
{
    struct Search {
        const wchar_t* caption;
        std::wstring imagePath;
        std::vector<HWND> found;
    } search{caption, imagePath, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            Search* s = reinterpret_cast<Search*>(param);
            if (!IsWindowVisible(window) || StoredText(window) != s->caption)
                return TRUE;
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
            wchar_t path[MAX_PATH * 2] = {};
            DWORD size = MAX_PATH * 2;
            if (process && QueryFullProcessImageNameW(process, 0, path, &size) &&
                lstrcmpiW(path, s->imagePath.c_str()) == 0)
                s->found.push_back(window);
            if (process)
                CloseHandle(process);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Whether the window answers a sent message within timeoutMs.
bool Answers(HWND window, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

TEST_F(SettingsCommands, TestRunEndsTheProgramAndRefreshesOnceTheChildHasClosed)
{
    std::unique_ptr<RunningProgram> target = StartCopy(L"test run\\target.exe");
    ASSERT_TRUE(target);
    OpenProgramCopy();
    Select(*target);
    int row = RowOf(*target);

    PressButton(dialog, IDC_SETTINGS_TEST_RUN);
    ASSERT_TRUE(target->WaitExit(20000));
    EXPECT_EQ(target->ExitCode(), 0u) << "closed when asked";
    // The child shows its result for five seconds; meanwhile the window
    // answers (once a second: one message a second, so one cell is read)
    // and keeps the row.
    for (int i = 0; i < 100 && WindowsCaptioned(L"Tarnwick の結果", programPath).empty(); ++i)
        Sleep(20);
    EXPECT_EQ(WindowsCaptioned(L"Tarnwick の結果", programPath).size(), 1u);
    EXPECT_TRUE(Answers(dialog, 2500));
    EXPECT_EQ(ListCellText(list, row, 2), std::to_wstring(target->Id()));

    EXPECT_TRUE(WaitForRow(target->Id(), false, 20000));
    EXPECT_TRUE(WindowsCaptioned(L"Tarnwick の結果", programPath).empty());
    CloseSettings();
}

TEST_F(SettingsCommands, ASecondTestRunAndACloseDuringTheWaitEndWhenTheRunsHaveReturned)
{
    std::unique_ptr<RunningProgram> first = StartCopy(L"nested\\first.exe");
    std::unique_ptr<RunningProgram> second = StartCopy(L"nested\\second.exe");
    ASSERT_TRUE(first && second);
    OpenProgramCopy();

    // During a wait the window handles one message a second: the second
    // row is found before, and only clicked during the wait.
    int secondRow = RowOf(*second);
    ASSERT_GE(secondRow, 0);
    Select(*first);
    PressButton(dialog, IDC_SETTINGS_TEST_RUN);
    ASSERT_TRUE(first->WaitExit(20000));
    // The window runs the second command inside the first one's wait.
    ASSERT_TRUE(Answers(dialog, 2500));
    ClickListRow(list, secondRow);
    PressButton(dialog, IDC_SETTINGS_TEST_RUN);
    ASSERT_TRUE(second->WaitExit(20000));

    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_FALSE(twk->WaitExit(1000)) << "ends only once the waits have returned";
    ASSERT_TRUE(twk->WaitExit(30000));
    EXPECT_EQ(twk->ExitCode(), 0u);
    EXPECT_FALSE(IsWindow(dialog));
}

} // namespace
