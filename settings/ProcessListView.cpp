// The process list of the settings window: one row for each process the
// program may end, built from the dialog's snapshot. A row keeps its
// snapshot index as its item parameter; every refresh rebuilds all rows, so
// an index always refers to the snapshot its row was built from.
#include "settings/ProcessListView.h"

#include "core/MessageBoxes.h"
#include "core/PathString.h"
#include "res/resource.h"
#include "settings/SettingsDialog.h"

#include <commctrl.h>

namespace {

struct ListColumn {
    const wchar_t* header;
    int width;
    int format;
};

const ListColumn kColumns[] = {
    {L"イメージ名", 100, LVCFMT_LEFT},
    {L"属性", 40, LVCFMT_LEFT},
    {L"PID", 45, LVCFMT_RIGHT},
    {L"ディレクトリ", 260, LVCFMT_LEFT},
};

const int kLastSortColumn = 4;

// The sign of a comparison that must never report two rows equal.
int Strictly(bool firstIsGreater)
{
    return firstIsGreater ? 1 : -1;
}

int NonNegative(int id)
{
    return id < 0 ? 0 : id;
}

} // namespace

void SetUpListColumns(HWND list)
{
    LRESULT styles = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, styles | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);

    for (int i = 0; i < static_cast<int>(sizeof(kColumns) / sizeof(kColumns[0])); ++i) {
        WideString header(kColumns[i].header);
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = kColumns[i].format;
        column.cx = kColumns[i].width;
        column.pszText = header.CStr();
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

WideString AttributeText(const ProcessEntry& entry)
{
    WideString text;
    switch (entry.bitness) {
    case BitnessKind::Task16:
        text.Append(L"16bit");
        break;
    case BitnessKind::Bits32:
        text.Append(L"32bit");
        break;
    case BitnessKind::Bits64:
        text.Append(L"64bit");
        break;
    case BitnessKind::Unknown:
        break;
    }
    if (entry.elevation == ElevationKind::Elevated)
        text.Append(L" 昇格");
    return text;
}

WideString CellText(const ProcessSnapshot& snapshot, int index, int column)
{
    const ProcessEntry& entry = snapshot.entries[index];
    switch (column) {
    case 0:
        return PathString(snapshot.imagePaths[index]).FileName();
    case 1:
        return AttributeText(entry);
    case 2:
        return entry.id > 0 ? WideString::FromInt(entry.id) : WideString();
    case 3:
        return PathString(snapshot.imagePaths[index]).Directory();
    }
    return WideString();
}

int CompareSnapshotRows(const ProcessSnapshot& snapshot, int first, int second, int sortKey)
{
    if (sortKey < -kLastSortColumn || sortKey > kLastSortColumn)
        return 0;
    int sign = sortKey > 0 ? 1 : -1;
    int column = sortKey * sign - 1;
    const ProcessEntry& firstEntry = snapshot.entries[first];
    const ProcessEntry& secondEntry = snapshot.entries[second];

    switch (column) {
    case 0: // image name
    case 3: // directory
        return lstrcmpW(CellText(snapshot, first, column).CStr(), CellText(snapshot, second, column).CStr()) *
               sign;
    case 1: // attributes
        return Strictly(lstrcmpW(AttributeText(firstEntry).CStr(), AttributeText(secondEntry).CStr()) > 0) *
               sign;
    case 2: // PID
        return Strictly(NonNegative(firstEntry.id) > NonNegative(secondEntry.id)) * sign;
    }
    return 0;
}

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM sortKey)
{
    if (!SettingsDialog::active)
        return 0;
    return CompareSnapshotRows(SettingsDialog::active->snapshot, static_cast<int>(first),
                               static_cast<int>(second), static_cast<int>(sortKey));
}

void SettingsDialog::RefreshList()
{
    snapshot.Enumerate();
    FillList();
}

void SettingsDialog::FillList()
{
    // The rows hold only their snapshot index; the list asks for the texts
    // of the cells it draws (LVN_GETDISPINFOW), so a refresh costs one
    // insertion a row however many rows there are, and drawing costs only
    // the rows in view. The list is drawn once, after the rebuild.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);

    int rows = 0;
    for (int i = 0; i < snapshot.count; ++i) {
        if (!snapshot.entries[i].canTerminate)
            continue;
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = rows;
        item.iSubItem = 0;
        item.pszText = LPSTR_TEXTCALLBACKW;
        item.lParam = i;
        if (SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) >= 0)
            ++rows;
    }
    SortList();

    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateButtons();
}

void SettingsDialog::OnCellText(NMLVDISPINFOW* request) const
{
    LVITEMW& item = request->item;
    int index = static_cast<int>(item.lParam);
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0 || index < 0 ||
        index >= snapshot.count)
        return;
    WideString text = CellText(snapshot, index, item.iSubItem);
    lstrcpynW(item.pszText, text.CStr(), item.cchTextMax);
}

void SettingsDialog::SortList()
{
    SendMessageW(list, LVM_SORTITEMS, sortKey, reinterpret_cast<LPARAM>(CompareRows));
}

int SettingsDialog::SelectedIndex() const
{
    int row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row == -1)
        return -1;
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = 0;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<int>(item.lParam);
}

void SettingsDialog::UpdateButtons()
{
    int index = SelectedIndex();
    BOOL enable = index >= 0 && index < snapshot.count && snapshot.entries[index].canTerminate;
    const int buttons[] = {IDC_SETTINGS_INFO, IDC_SETTINGS_TEST_RUN, IDC_SETTINGS_SHORTCUT,
                           IDC_SETTINGS_COPY_COMMAND};
    for (int id : buttons)
        EnableWindow(GetDlgItem(window, id), enable);
}

void SettingsDialog::ShowSelectedInfo()
{
    int index = SelectedIndex();
    if (index < 0 || index >= snapshot.count)
        return;
    const ProcessEntry& entry = snapshot.entries[index];
    WideString text = AttributeText(entry)
                          .Concat(L"\n")
                          .Concat(snapshot.imagePaths[index].CStr())
                          .Concat(L"\n開始時間：")
                          .Concat(FormatStartTime(entry.id).CStr());
    ShowInfoBox(text, window);
}
