// AboutBox: the modal version-information box of the settings window. It
// shows the program icon, the product name and version in large fonts, a
// green one-line summary and three blue maker lines; a double-click on the
// mail or home-page line hands that link to the shell.
#pragma once

#include "core/DialogBase.h"
#include "core/WideString.h"

#include <windows.h>

class AboutBox : public DialogBase {
public:
    AboutBox(HWND owner, int iconId, const WideString& version, const WideString& summary);
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    // Runs the box (template 9000) modal over owner until it is closed.
    static void Show(HWND owner, int iconId, const WideString& version, const WideString& summary);

    // Message handlers, called by AboutBoxProc.
    void OnInitDialog(HWND dialog);
    // TRUE when the command is not one of the box's own.
    INT_PTR OnCommand(int id, int notification);
    // Releases the icons and fonts made at initialisation.
    void OnDestroy();
    void Close();

    HWND owner;
    int iconId;
    WideString version;
    WideString summary;
    HICON smallIcon;
    HICON largeIcon;
    HFONT titleFont;
    HFONT versionFont;

    // The About box that is open, reached by the dialog procedure.
    static AboutBox* active;
};

// The dialog procedure of template 9000.
INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What a notification from a control of the box hands to the shell: the
// mail link for a double-click on the mail line, the home page for one on
// the home-page line, and null (nothing) for anything else.
const wchar_t* AboutLinkTarget(int controlId, int notification);

// The text colour of a static control of the box.
COLORREF AboutTextColor(int controlId);
