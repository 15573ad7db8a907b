// Reading and clicking a report list view (SysListView32) of any process,
// this one included. Messages that carry pointers go through a buffer inside
// the list's own process; clicks are mouse messages sent to the list or its
// header at client coordinates, so the list notifies its parent exactly as
// for a real click.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace twk_test {

// A block of memory inside the process that owns a window.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address != nullptr; }
    // The address in the other process, as a message parameter.
    LPARAM At(size_t offset = 0) const
    {
        return reinterpret_cast<LPARAM>(static_cast<char*>(address) + offset);
    }
    bool Write(const void* data, size_t size, size_t offset = 0);
    bool Read(void* data, size_t size, size_t offset = 0) const;

private:
    HANDLE process;
    void* address;
};

struct ListColumnInfo {
    std::wstring header;
    int width;
    int format; // LVCFMT_LEFT, LVCFMT_RIGHT, ...
};

int ListRowCount(HWND list);
int ListColumnCount(HWND list);
ListColumnInfo ListColumn(HWND list, int column);
std::wstring ListCellText(HWND list, int row, int column);
// Every cell of a row, one text per column.
std::vector<std::wstring> ListRow(HWND list, int row);
// One column's text of every row, top to bottom.
std::vector<std::wstring> ListColumnTexts(HWND list, int column);
// The first row whose cell in column reads text, or -1.
int FindListRow(HWND list, int column, const std::wstring& text);
// The selected row, or -1.
int SelectedListRow(HWND list);
DWORD ListExtendedStyle(HWND list);

// Client coordinates of the middle of a row's first cell.
POINT ListRowPoint(HWND list, int row);
// A point in the list's client area below its last row.
POINT ListPointBelowRows(HWND list);

// Sent: the list has handled the click (and notified its parent) on return.
void ClickList(HWND list, POINT at);
void ClickListRow(HWND list, int row);
void ClickListHeader(HWND list, int column);
// The second click is posted, since a double-click may open a modal box.
void DoubleClickList(HWND list, POINT at);
// Posts a key press to the list, as if it had the keyboard focus.
void PressListKey(HWND list, UINT virtualKey);

} // namespace twk_test
