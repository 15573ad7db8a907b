// Small icon, tooltips and fonts for the program's dialogs.
#include "core/DialogBase.h"

#include "core/AppInstance.h"

#include <commctrl.h>

#include <string.h>

namespace {

// The width in pixels of the widest line of text in dc's font.
int WidestLine(HDC dc, const WideString& text)
{
    int widest = 0;
    WideString rest(text.Length() == 0 ? L" " : text.CStr());
    for (;;) {
        int lineEnd = rest.Find(WideString(L"\n"));
        WideString line = lineEnd == -1 ? rest : rest.Left(lineEnd);
        SIZE size = {};
        if (GetTextExtentPoint32W(dc, line.CStr(), line.Length(), &size) && size.cx > widest)
            widest = size.cx;
        if (lineEnd == -1)
            return widest;
        rest = rest.Mid(lineEnd + 1);
    }
}

} // namespace

HICON DialogBase::SetSmallIcon(int resourceId)
{
    HICON icon = static_cast<HICON>(LoadImageW(AppInstance(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_DEFAULTCOLOR));
    if (icon)
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return icon;
}

HWND DialogBase::AddToolTip(int controlId, const WideString& text, int autoPopMs)
{
    // The tooltip class is registered by comctl32 when a program loads it;
    // without this call Windows would not load it for a program that uses
    // the class by name only. (Wine happens to load comctl32 anyway.)
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);

    HWND tip = CreateWindowExW(0, L"tooltips_class32", nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, AppInstance(), nullptr);

    // The version-2 size: the structure without its trailing reserved
    // pointer, which older tooltip implementations do not accept.
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, controlId));
    tool.hinst = AppInstance();
    tool.lpszText = text.CStr();
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));

    // A maximum width turns on multi-line display with the text's own breaks.
    HDC dc = GetDC(tip);
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, WidestLine(dc, text));
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(LOWORD(autoPopMs), 0));
    ReleaseDC(tip, dc);
    return tip;
}

HFONT DialogBase::CreateDialogFont(int controlId, int points, const WideString& face, bool redraw)
{
    HDC dc = GetDC(window);
    LOGFONTW description = {};
    bool described = MakeLogFont(description, dc, points, face);
    ReleaseDC(window, dc);
    if (!described)
        return nullptr;
    HFONT font = CreateFontIndirectW(&description);
    if (controlId > 0)
        SendDlgItemMessageW(window, controlId, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    return font;
}

bool MakeLogFont(LOGFONTW& font, HDC dc, int points, const WideString& face)
{
    if (face.Length() + 1 > LF_FACESIZE)
        return false;
    memset(&font, 0, sizeof(font));
    font.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynW(font.lfFaceName, face.CStr(), LF_FACESIZE);
    return true;
}
