// SettingsDialog: the window the program opens when started without a
// target. It lists the processes the user may end and offers, for the
// selected one, its details and the commands that end it. This file declares
// the dialog object and its procedure; the window and its layout are in
// SettingsDialog.cpp, the process list in ProcessListView.cpp.
#pragma once

#include "core/DialogBase.h"
#include "core/ElevationKind.h"
#include "core/PathString.h"
#include "process/ProcessSnapshot.h"

#include <windows.h>

#include <commctrl.h>

// What the dialog looked like when it opened, in pixels: the outer size of
// the window, the size of the list, and the top (client coordinates) of the
// first button of each button row and of the Close button.
struct SettingsLayout {
    int dialogWidth;
    int dialogHeight;
    int listWidth;
    int listHeight;
    int infoTop;
    int testRunTop;
    int aboutTop;
    int closeTop;
};

class SettingsDialog : public DialogBase {
public:
    SettingsDialog();
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    // Runs the modal dialog (template 110) until it is closed.
    void Show();

    // Message handlers, called by SettingsDialogProc.
    void OnInitDialog(HWND dialog);
    void OnSize();
    void OnGetMinMaxInfo(MINMAXINFO* info) const;
    void OnListNotify(NMHDR* header);
    // FALSE for the dialog's own command ids, TRUE for any other.
    INT_PTR OnCommand(int id);
    void OnDestroy();
    void Close();

    // The process list.
    // Takes a new snapshot and rebuilds the rows from it.
    void RefreshList();
    // Rebuilds the rows from the snapshot as it stands, sorted by sortKey.
    void FillList();
    // Answers the list's request for the text of a cell it draws.
    void OnCellText(NMLVDISPINFOW* request) const;
    // Sorts the rows by sortKey.
    void SortList();
    // The snapshot index of the selected row, or -1.
    int SelectedIndex() const;
    // Enables the four buttons that act on the selected process while a row
    // whose process may be ended is selected.
    void UpdateButtons();
    // The information box of the selected row.
    void ShowSelectedInfo();

    // The commands on the selected process.
    // Starts the program itself on the image path, waits (the window stays
    // responsive) until it has ended, and refreshes the list.
    void TestRun();
    // Writes the desktop shortcut that ends the process, after asking
    // before it replaces an existing one.
    void CreateDesktopShortcut();
    // Puts the command line that ends the process on the clipboard.
    void CopyCommandLine();

    PathString programPath;
    int osGeneration;
    ElevationKind ownElevation;
    HICON smallIcon;
    HWND list;
    ProcessSnapshot snapshot;
    // +n ascending, -n descending by column n - 1; anything else leaves the
    // rows unordered.
    int sortKey;
    SettingsLayout layout;
    // WM_SIZE and WM_GETMINMAXINFO come before WM_INITDIALOG has recorded
    // the layout; until then they are left alone.
    bool layoutRecorded;

    // The one settings dialog of the process, reached by the dialog procedure
    // and the list's sort callback.
    static SettingsDialog* active;
};

// The caption: the program's own elevation decides it.
const wchar_t* SettingsCaption(ElevationKind ownElevation);

// The dialog procedure of template 110.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
