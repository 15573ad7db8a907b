#include "tests/app/Line1Fit.h"

#include "core/PathString.h"
#include "res/resource.h"

namespace twk_test {

namespace {

INT_PTR CALLBACK SilentProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// A hidden copy of the progress window's template and a context of its
// line 1 with the line's font selected.
class Line1Context {
public:
    Line1Context()
    {
        dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PROGRESS), nullptr,
                                    SilentProc, 0);
        line = GetDlgItem(dialog, IDC_PROGRESS_TARGET);
        dc = GetDC(line);
        oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(line, WM_GETFONT, 0, 0)));
    }
    ~Line1Context()
    {
        SelectObject(dc, oldFont);
        ReleaseDC(line, dc);
        DestroyWindow(dialog);
    }
    int Width() const
    {
        RECT rect = {};
        GetWindowRect(line, &rect);
        return rect.right - rect.left;
    }

    HWND dialog;
    HWND line;
    HDC dc;
    HGDIOBJ oldFont;
};

} // namespace

std::wstring ExpectedLine1(const std::wstring& argument)
{
    Line1Context context;
    return PathString(WideString(argument.c_str())).FitToWidth(context.dc, context.Width()).CStr();
}

int WidthInLine1Font(const std::wstring& text)
{
    Line1Context context;
    SIZE size = {};
    GetTextExtentPoint32W(context.dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int Line1Width()
{
    return Line1Context().Width();
}

} // namespace twk_test
