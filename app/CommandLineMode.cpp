// The command-line mode: relaunch elevated, or check the target, end its
// process while the ProgressDialog shows progress and result, and wait for
// the dialog to be dismissed or counted down.
#include "app/CommandLineMode.h"

#include "app/ElevatedRelaunch.h"
#include "app/ProgressDialog.h"
#include "core/MessageBoxes.h"
#include "core/PathString.h"
#include "process/ProcessSnapshot.h"

namespace {

// How long the target may take to close after WM_CLOSE before it is ended
// by force.
const DWORD kCloseTimeLimitMs = 10000;

// A text with a backslash names a path, which must exist (a file or a
// directory); a bare name is left to the termination.
bool TargetExists(const WideString& argumentText)
{
    if (argumentText.Find(WideString(L"\\")) == -1)
        return true;
    return GetFileAttributesW(PathString(argumentText).CStr()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int RunCommandLineMode(const WideString& programPath, const WideString& argumentText,
                       ElevationKind ownElevation, int showCommand)
{
    WideString parameters;
    if (WantsElevatedRelaunch(argumentText, ownElevation, parameters)) {
        RelaunchElevated(programPath, parameters, showCommand);
        return 0;
    }

    if (!TargetExists(argumentText)) {
        ShowErrorBox(WideString(L"プロセスのEXEが存在しません"), nullptr);
        return 1;
    }

    // Declared in this order so that the snapshot goes before the dialog.
    ProgressDialog dialog(argumentText);
    ProcessSnapshot snapshot;
    TerminateOutcome outcome = snapshot.TerminateByImage(PathString(argumentText), kCloseTimeLimitMs);
    dialog.ShowResult(outcome);
    dialog.Run();
    return 0;
}
