// The settings mode: the settings window between OleInitialize and
// OleUninitialize (the desktop shortcut is written through COM).
#include "settings/SettingsMode.h"

#include "settings/SettingsDialog.h"

#include <commctrl.h>
#include <ole2.h>

int RunSettingsMode(const WideString& programPath, int osGeneration, ElevationKind ownElevation)
{
    OleInitialize(nullptr);
    // The window's list is a common control used by class name: the class
    // exists only once comctl32 has registered it.
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    SettingsDialog dialog;
    dialog.programPath.Assign(programPath.CStr());
    dialog.osGeneration = osGeneration;
    dialog.ownElevation = ownElevation;
    SettingsDialog::active = &dialog;
    dialog.Show();
    SettingsDialog::active = nullptr;
    OleUninitialize();
    return 0;
}
