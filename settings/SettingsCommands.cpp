// The three commands of the settings window on the selected process: the
// test run (the program itself started on the image path, and waited for),
// the desktop shortcut and the command line on the clipboard.
#include "settings/SettingsDialog.h"

#include "core/FailureReport.h"
#include "core/MessageBoxes.h"
#include "core/MessageLoop.h"
#include "settings/ShellLaunch.h"
#include "settings/TerminationCommand.h"

#include <shlobj.h>

namespace {

// The wait for a test run looks at the child and the window's messages
// once a second.
const int kTestRunPollMs = 1000;

} // namespace

const wchar_t kShortcutFileName[] = L"プロセスの終了.lnk";

WideString TerminationCommandLine(const PathString& programPath, const WideString& imagePath,
                                  ElevationKind elevation)
{
    WideString argument(imagePath);
    if (elevation == ElevationKind::Elevated)
        argument = Concat(L"runas ", argument);
    return programPath.CommandLine(argument);
}

bool ShortcutRunsAsAdministrator(ElevationKind elevation)
{
    return elevation == ElevationKind::Elevated;
}

PathString DesktopShortcutPath()
{
    PathString link(CSIDL_DESKTOPDIRECTORY, WideString(kShortcutFileName));
    // An unknown desktop folder leaves the bare "\<name>": a path on
    // whatever drive is current, which is not where the user looks.
    if (!HasDriveRoot(link) && !HasNetworkPrefix(link))
        return PathString();
    return link;
}

void SettingsDialog::TestRun()
{
    int index = SelectedIndex();
    if (index < 0 || index >= snapshot.count)
        return;
    ShellLaunch launch(programPath, snapshot.imagePaths[index], WideString(L"open"), programPath.Directory(),
                       SW_SHOWNORMAL, nullptr);
    ReportApiFailure(launch.Start(), "exec.Exec()");
    launch.WaitForExit(kTestRunPollMs, nullptr);
    PumpPendingMessages();
    RefreshList();
}

void SettingsDialog::CreateDesktopShortcut()
{
    int index = SelectedIndex();
    if (index < 0 || index >= snapshot.count)
        return;
    PathString link = DesktopShortcutPath();
    if (link.Length() == 0) {
        ShowWarningBox(WideString(L"ショートカットを作成できませんでした"), window);
        return;
    }
    if (GetFileAttributesW(link.CStr()) != INVALID_FILE_ATTRIBUTES &&
        AskUser(link.Concat(L" を置き換えますか"), window, MB_YESNO) == IDNO)
        return;

    bool runAs = ShortcutRunsAsAdministrator(snapshot.entries[index].elevation);
    if (programPath.CreateShortcut(link, snapshot.imagePaths[index], runAs))
        ShowInfoBox(WideString(L"ショートカットを作成しました"), window);
    else
        ShowWarningBox(WideString(L"ショートカットを作成できませんでした"), window);
}

void SettingsDialog::CopyCommandLine()
{
    int index = SelectedIndex();
    if (index < 0 || index >= snapshot.count)
        return;
    WideString text =
        TerminationCommandLine(programPath, snapshot.imagePaths[index], snapshot.entries[index].elevation);
    if (text.CopyToClipboard())
        ShowInfoBox(WideString(L"クリップボードにコピーしました"), window);
    else
        ShowWarningBox(WideString(L"クリップボードにコピーできませんでした"), window);
}
