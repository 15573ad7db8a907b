// The command-line mode: relaunch elevated, or split the options from the
// target and check both, end the target's process (or, with "/all", every
// process of it) while the ProgressDialog shows progress and result, and wait
// for the dialog to be dismissed or counted down.
#include "app/CommandLineMode.h"

#include "app/CommandLineSplit.h"
#include "app/ElevatedRelaunch.h"
#include "app/OptionTexts.h"
#include "app/ProgressDialog.h"
#include "core/MessageBoxes.h"
#include "core/PathString.h"
#include "process/ProcessSnapshot.h"

namespace {

// A text with a backslash names a path, which must exist (a file or a
// directory); a bare name is left to the termination.
bool TargetExists(const WideString& target)
{
    if (target.Find(WideString(L"\\")) == -1)
        return true;
    return GetFileAttributesW(PathString(target).CStr()) != INVALID_FILE_ATTRIBUTES;
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

    CommandLineRequest request = SplitOptions(argumentText);
    if (request.error != OptionError::None) {
        ShowErrorBox(OptionErrorText(request), nullptr);
        return 1;
    }
    if (!TargetExists(request.target)) {
        ShowErrorBox(WideString(L"プロセスのEXEが存在しません"), nullptr);
        return 1;
    }

    // Declared in this order so that the snapshot goes before the dialog.
    ProgressDialog dialog(request.target);
    ProcessSnapshot snapshot;
    PathString target(request.target);
    if (!request.hasOptions) {
        dialog.ShowResult(snapshot.TerminateByImage(target, request.timeoutMs));
    } else {
        dialog.ShowUnderWay(UnderWayText(request), TimeLimitText(request));
        TerminationCounts counts = snapshot.TerminateInstancesByImage(target, request.timeoutMs,
                                                                      request.allInstances, request.force);
        dialog.ShowResultText(OptionResultText(request, counts));
    }
    dialog.Run();
    return 0;
}
