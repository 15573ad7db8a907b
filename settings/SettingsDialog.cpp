// The settings window itself: its procedure, set-up, commands and the layout
// that follows the window's size. The list's rows and sorting are in
// ProcessListView.cpp.
#include "settings/SettingsDialog.h"

#include "core/AppInstance.h"
#include "core/FailureReport.h"
#include "res/ProductInfo.h"
#include "res/resource.h"
#include "settings/AboutBox.h"
#include "settings/ProcessListView.h"

#include <commctrl.h>

SettingsDialog* SettingsDialog::active = nullptr;

namespace {

const int kToolTipAutoPopMs = 5000;

// A window's rectangle in the dialog's client coordinates.
RECT RectInDialog(HWND dialog, HWND window)
{
    RECT rect = {};
    BOOL got = GetWindowRect(window, &rect);
    ReportApiFailure(got, "GetWindowRect");
    POINT topLeft = {rect.left, rect.top};
    POINT bottomRight = {rect.right, rect.bottom};
    ReportApiFailure(ScreenToClient(dialog, &topLeft), "ScreenToClient");
    ReportApiFailure(ScreenToClient(dialog, &bottomRight), "ScreenToClient");
    return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

int ControlTop(HWND dialog, int controlId)
{
    return RectInDialog(dialog, GetDlgItem(dialog, controlId)).top;
}

// Moves a button to a new top, keeping its left, width and height.
void MoveButtonTo(HWND dialog, int controlId, int top)
{
    HWND button = GetDlgItem(dialog, controlId);
    RECT rect = RectInDialog(dialog, button);
    BOOL moved = MoveWindow(button, rect.left, top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
    ReportApiFailure(moved, "MoveWindow");
}

} // namespace

const wchar_t* SettingsCaption(ElevationKind ownElevation)
{
    return ownElevation == ElevationKind::Elevated ? L"Tarnwick の設定(昇格中)" : L"Tarnwick の設定";
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    SettingsDialog* self = SettingsDialog::active;
    if (!self)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        self->OnInitDialog(dialog);
        return TRUE;
    case WM_SIZE:
        self->OnSize();
        return 0;
    case WM_GETMINMAXINFO:
        self->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_NOTIFY:
        if (wParam == IDC_SETTINGS_LIST)
            self->OnListNotify(reinterpret_cast<NMHDR*>(lParam));
        return 0;
    case WM_COMMAND:
        return self->OnCommand(LOWORD(wParam));
    case WM_CLOSE:
        self->Close();
        return 0;
    case WM_DESTROY:
        self->OnDestroy();
        return 0;
    }
    return FALSE;
}

SettingsDialog::SettingsDialog()
    : osGeneration(0), ownElevation(ElevationKind::Default), smallIcon(nullptr), list(nullptr),
      sortKey(kInitialSortKey), layout(), layoutRecorded(false)
{
}

void SettingsDialog::Show()
{
    DialogBoxParamW(AppInstance(), MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, SettingsDialogProc, 0);
}

void SettingsDialog::OnInitDialog(HWND dialog)
{
    window = dialog;
    smallIcon = SetSmallIcon(IDI_TARNWICK);
    SetWindowTextW(window, SettingsCaption(ownElevation));

    AddToolTip(IDC_SETTINGS_LIST, WideString(L"ダブルクリックすると情報表示されます"), kToolTipAutoPopMs);
    AddToolTip(IDC_SETTINGS_SHORTCUT, WideString(L"TWK*.exe を移動した場合再作成が必要です"),
               kToolTipAutoPopMs);
    AddToolTip(IDC_SETTINGS_COPY_COMMAND, WideString(L"TWK*.exe を移動した場合再設定が必要です"),
               kToolTipAutoPopMs);

    list = GetDlgItem(window, IDC_SETTINGS_LIST);
    SetUpListColumns(list);

    RECT dialogRect = RectInDialog(window, window);
    RECT listRect = RectInDialog(window, list);
    layout.dialogWidth = dialogRect.right - dialogRect.left;
    layout.dialogHeight = dialogRect.bottom - dialogRect.top;
    layout.listWidth = listRect.right - listRect.left;
    layout.listHeight = listRect.bottom - listRect.top;
    layout.infoTop = ControlTop(window, IDC_SETTINGS_INFO);
    layout.testRunTop = ControlTop(window, IDC_SETTINGS_TEST_RUN);
    layout.aboutTop = ControlTop(window, IDC_SETTINGS_ABOUT);
    layout.closeTop = ControlTop(window, IDC_SETTINGS_CLOSE);
    layoutRecorded = true;

    RefreshList();
}

void SettingsDialog::OnSize()
{
    if (!layoutRecorded)
        return;
    RECT dialogRect = RectInDialog(window, window);
    int grownWidth = dialogRect.right - dialogRect.left - layout.dialogWidth;
    int grownHeight = dialogRect.bottom - dialogRect.top - layout.dialogHeight;

    RECT listRect = RectInDialog(window, list);
    BOOL moved = MoveWindow(list, listRect.left, listRect.top, layout.listWidth + grownWidth,
                            layout.listHeight + grownHeight, TRUE);
    ReportApiFailure(moved, "MoveWindow");

    MoveButtonTo(window, IDC_SETTINGS_INFO, layout.infoTop + grownHeight);
    MoveButtonTo(window, IDC_SETTINGS_REFRESH, layout.infoTop + grownHeight);
    MoveButtonTo(window, IDC_SETTINGS_TEST_RUN, layout.testRunTop + grownHeight);
    MoveButtonTo(window, IDC_SETTINGS_SHORTCUT, layout.testRunTop + grownHeight);
    MoveButtonTo(window, IDC_SETTINGS_ABOUT, layout.aboutTop + grownHeight);
    MoveButtonTo(window, IDC_SETTINGS_COPY_COMMAND, layout.aboutTop + grownHeight);
    MoveButtonTo(window, IDC_SETTINGS_CLOSE, layout.closeTop + grownHeight);

    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

void SettingsDialog::OnGetMinMaxInfo(MINMAXINFO* info) const
{
    if (!layoutRecorded)
        return;
    info->ptMinTrackSize.x = layout.dialogWidth;
    info->ptMinTrackSize.y = layout.dialogHeight;
}

void SettingsDialog::OnListNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_COLUMNCLICK: {
        int key = reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem + 1;
        sortKey = sortKey == key ? -key : key;
        SortList();
        break;
    }
    case NM_DBLCLK:
        ShowSelectedInfo();
        break;
    case NM_CLICK:
        UpdateButtons();
        break;
    case LVN_GETDISPINFOW:
        OnCellText(reinterpret_cast<NMLVDISPINFOW*>(header));
        break;
    }
}

INT_PTR SettingsDialog::OnCommand(int id)
{
    switch (id) {
    case IDC_SETTINGS_INFO:
        ShowSelectedInfo();
        return FALSE;
    case IDC_SETTINGS_REFRESH:
        RefreshList();
        return FALSE;
    case IDC_SETTINGS_TEST_RUN:
        TestRun();
        return FALSE;
    case IDC_SETTINGS_SHORTCUT:
        CreateDesktopShortcut();
        return FALSE;
    case IDC_SETTINGS_COPY_COMMAND:
        CopyCommandLine();
        return FALSE;
    case IDC_SETTINGS_ABOUT:
        AboutBox::Show(window, IDI_TARNWICK, WideString(L"Ver." TWK_VERSION_TEXT),
                       WideString(L"コマンドでプロセスを終了させるソフトです"));
        return FALSE;
    case IDC_SETTINGS_CLOSE:
        Close();
        return FALSE;
    }
    // Escape's IDCANCEL among them: the window stays open.
    return TRUE;
}

void SettingsDialog::OnDestroy()
{
    DestroyIcon(smallIcon);
    smallIcon = nullptr;
}

void SettingsDialog::Close()
{
    BOOL ended = EndDialog(window, 1);
    ReportApiFailure(ended, "EndDialog");
}
