#include "tests/support/ListViewDriver.h"

#include <commctrl.h>

namespace twk_test {

namespace {

const int kCellCapacity = 4096;

DWORD OwnerProcessId(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
    return static_cast<LRESULT>(result);
}

void SendClick(HWND window, POINT at)
{
    LPARAM where = MAKELPARAM(at.x, at.y);
    Send(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    Send(window, WM_LBUTTONUP, 0, where);
}

} // namespace

RemoteBuffer::RemoteBuffer(HWND window, size_t size) : process(nullptr), address(nullptr)
{
    process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, OwnerProcessId(window));
    if (process)
        address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer()
{
    if (address)
        VirtualFreeEx(process, address, 0, MEM_RELEASE);
    if (process)
        CloseHandle(process);
}

bool RemoteBuffer::Write(const void* data, size_t size, size_t offset)
{
    SIZE_T written = 0;
    return address &&
           WriteProcessMemory(process, static_cast<char*>(address) + offset, data, size, &written) &&
           written == size;
}

bool RemoteBuffer::Read(void* data, size_t size, size_t offset) const
{
    SIZE_T read = 0;
    return address && ReadProcessMemory(process, static_cast<char*>(address) + offset, data, size, &read) &&
           read == size;
}

int ListRowCount(HWND list)
{
    return static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
}

int ListColumnCount(HWND list)
{
    HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
    return static_cast<int>(Send(header, HDM_GETITEMCOUNT, 0, 0));
}

ListColumnInfo ListColumn(HWND list, int column)
{
    const size_t textOffset = sizeof(LVCOLUMNW);
    RemoteBuffer buffer(list, textOffset + kCellCapacity * sizeof(wchar_t));
    LVCOLUMNW info = {};
    info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    info.pszText = reinterpret_cast<wchar_t*>(buffer.At(textOffset));
    info.cchTextMax = kCellCapacity;
    buffer.Write(&info, sizeof(info));
    Send(list, LVM_GETCOLUMNW, column, buffer.At());
    buffer.Read(&info, sizeof(info));
    std::wstring text(kCellCapacity, L'\0');
    buffer.Read(&text[0], kCellCapacity * sizeof(wchar_t), textOffset);
    text.resize(text.find(L'\0'));
    return ListColumnInfo{text, info.cx, info.fmt & LVCFMT_JUSTIFYMASK};
}

std::wstring ListCellText(HWND list, int row, int column)
{
    const size_t textOffset = sizeof(LVITEMW);
    RemoteBuffer buffer(list, textOffset + kCellCapacity * sizeof(wchar_t));
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(buffer.At(textOffset));
    item.cchTextMax = kCellCapacity;
    buffer.Write(&item, sizeof(item));
    int length = static_cast<int>(Send(list, LVM_GETITEMTEXTW, row, buffer.At()));
    if (length <= 0)
        return std::wstring();
    std::wstring text(length, L'\0');
    buffer.Read(&text[0], length * sizeof(wchar_t), textOffset);
    return text;
}

std::vector<std::wstring> ListRow(HWND list, int row)
{
    std::vector<std::wstring> cells;
    for (int column = 0; column < ListColumnCount(list); ++column)
        cells.push_back(ListCellText(list, row, column));
    return cells;
}

std::vector<std::wstring> ListColumnTexts(HWND list, int column)
{
    std::vector<std::wstring> texts;
    for (int row = 0; row < ListRowCount(list); ++row)
        texts.push_back(ListCellText(list, row, column));
    return texts;
}

int FindListRow(HWND list, int column, const std::wstring& text)
{
    for (int row = 0; row < ListRowCount(list); ++row) {
        if (ListCellText(list, row, column) == text)
            return row;
    }
    return -1;
}

int SelectedListRow(HWND list)
{
    return static_cast<int>(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

DWORD ListExtendedStyle(HWND list)
{
    return static_cast<DWORD>(Send(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

POINT ListRowPoint(HWND list, int row)
{
    RemoteBuffer buffer(list, sizeof(RECT));
    RECT rect = {};
    rect.left = LVIR_LABEL;
    buffer.Write(&rect, sizeof(rect));
    Send(list, LVM_GETITEMRECT, row, buffer.At());
    buffer.Read(&rect, sizeof(rect));
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT ListPointBelowRows(HWND list)
{
    RECT client = {};
    GetClientRect(list, &client);
    return POINT{20, client.bottom - 3};
}

void ClickList(HWND list, POINT at)
{
    SendClick(list, at);
}

void ClickListRow(HWND list, int row)
{
    Send(list, LVM_ENSUREVISIBLE, row, FALSE);
    SendClick(list, ListRowPoint(list, row));
}

void ClickListHeader(HWND list, int column)
{
    HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
    RemoteBuffer buffer(list, sizeof(RECT));
    Send(header, HDM_GETITEMRECT, column, buffer.At());
    RECT rect = {};
    buffer.Read(&rect, sizeof(rect));
    SendClick(header, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void DoubleClickList(HWND list, POINT at)
{
    LPARAM where = MAKELPARAM(at.x, at.y);
    Send(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    Send(list, WM_LBUTTONUP, 0, where);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
    PostMessageW(list, WM_LBUTTONUP, 0, where);
}

void PressListKey(HWND list, UINT virtualKey)
{
    PostMessageW(list, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(list, WM_KEYUP, virtualKey, 0xC0000001);
}

} // namespace twk_test
