#include "core/MessageBoxes.h"

const wchar_t kBoxCaption[] = L"Tarnwick";

int ShowTarnwickBox(HWND owner, const WideString& text, UINT style)
{
    return MessageBoxW(owner, text.CStr(), kBoxCaption, style | MB_SETFOREGROUND | MB_TOPMOST);
}

int ShowErrorBox(const WideString& text, HWND owner)
{
    return ShowTarnwickBox(owner, text, MB_ICONERROR);
}

int AskUser(const WideString& text, HWND owner, UINT buttons)
{
    return ShowTarnwickBox(owner, text, buttons | MB_ICONQUESTION);
}

int ShowInfoBox(const WideString& text, HWND owner)
{
    return ShowTarnwickBox(owner, text, MB_ICONINFORMATION);
}

int ShowWarningBox(const WideString& text, HWND owner)
{
    return ShowTarnwickBox(owner, text, MB_ICONWARNING);
}
