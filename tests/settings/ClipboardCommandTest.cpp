// The clipboard command of the settings window end to end through TWK64.exe
// started without an argument: the text on the real clipboard, and the
// warning while another program holds the clipboard open.
#include "tests/settings/SettingsWindowFixture.h"
#include "tests/support/Clipboard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace twk_test;

namespace {

const wchar_t kCopied[] = L"クリップボードにコピーしました";
const wchar_t kNotCopied[] = L"クリップボードにコピーできませんでした";

using SettingsCommands = SettingsWindowFixture;

TEST_F(SettingsCommands, CopiesTheCommandLineAndWarnsWhileTheClipboardIsHeld)
{
    std::unique_ptr<RunningProgram> target = StartCopy(L"対象 アプリ\\target app.exe");
    ASSERT_TRUE(target);
    OpenProgramCopy();
    Select(*target);

    // Every process is elevated under Wine, so the command carries "runas ".
    std::wstring expected = L"\"" + programPath + L"\" runas " + (directory / L"対象 アプリ\\target app.exe");
    EXPECT_EQ(Press(IDC_SETTINGS_COPY_COMMAND), kCopied);
    EXPECT_EQ(ClipboardText(), expected);

    // Held open by a window of this process: Wine, like Windows, then
    // refuses the program's own open.
    {
        ClipboardHolder holder;
        EXPECT_EQ(Press(IDC_SETTINGS_COPY_COMMAND), kNotCopied);
    }
    EXPECT_EQ(ClipboardText(), expected);

    ClearClipboard();
    EXPECT_EQ(Press(IDC_SETTINGS_COPY_COMMAND), kCopied);
    EXPECT_EQ(ClipboardText(), expected);
    CloseSettings();
}

TEST_F(SettingsCommands, AProgramStartedByItsBareNameWritesThatName)
{
    std::unique_ptr<RunningProgram> target = StartCopy(L"bare\\target.exe");
    ASSERT_TRUE(target);
    OpenSettingsFrom(BinPath(L"TWK64.exe"), RawCommandLine{L"TWK64.exe"});
    Select(*target);
    EXPECT_EQ(Press(IDC_SETTINGS_COPY_COMMAND), kCopied);
    EXPECT_EQ(ClipboardText(), L"TWK64.exe runas " + (directory / L"bare\\target.exe"));
    CloseSettings();
}

} // namespace
