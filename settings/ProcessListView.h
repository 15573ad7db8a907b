// The settings window's process list: its columns, the text of a row, and
// the order of rows by column. The SettingsDialog members that fill, sort and
// read the list are defined in ProcessListView.cpp too.
#pragma once

#include "core/WideString.h"
#include "process/ProcessEntry.h"
#include "process/ProcessSnapshot.h"

#include <windows.h>

// The list opens sorted by image name, ascending, so that a program is found
// by its name at once.
const int kInitialSortKey = 1;

// Grid lines, full-row selection and the four columns: image name,
// attributes, PID, directory.
void SetUpListColumns(HWND list);

// "16bit", "32bit" or "64bit" by the entry's bitness (nothing when it is not
// known), then " 昇格" when the process is elevated.
WideString AttributeText(const ProcessEntry& entry);

// The text of one cell of an entry's row: image name (the file name of the
// trimmed and unquoted image path), attributes, PID (empty for ids of 0 or
// below), directory; empty for any other column.
WideString CellText(const ProcessSnapshot& snapshot, int index, int column);

// The order of two snapshot entries for a sort key: +n ascending and -n
// descending by column n - 1. Equal attributes and equal ids never compare
// equal; any other key reports every pair equal.
int CompareSnapshotRows(const ProcessSnapshot& snapshot, int first, int second, int sortKey);

// LVM_SORTITEMS callback: the item parameters are snapshot indexes of the
// active settings dialog.
int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM sortKey);
