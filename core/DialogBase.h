// DialogBase: the base of every dialog object of the program. It holds the
// dialog's window handle and gives the window the program's small icon, a
// control a tooltip or a font of its own. No virtual operations: each
// dialog's procedure reaches its object through a process-wide pointer of
// its own.
#pragma once

#include "core/WideString.h"

#include <windows.h>

class DialogBase {
public:
    HWND Window() const { return window; }

    // Loads the icon resource at small-icon size and sets it as the window's
    // small icon. Returns the icon (the caller destroys it with the window),
    // or null when it cannot be loaded; nothing is reported.
    HICON SetSmallIcon(int resourceId);

    // Attaches a tooltip to a control of the dialog. Lines of text are split
    // at "\n"; the tip is as wide as the widest line and hides itself after
    // autoPopMs (low 16 bits). The tooltip belongs to the dialog window and
    // ends with it; nobody needs to keep the returned handle.
    HWND AddToolTip(int controlId, const WideString& text, int autoPopMs);

    // Creates a font of the given size in points and face, as MakeLogFont
    // describes it for the dialog's screen, and sets it on the control when
    // controlId > 0 (redrawing it when redraw is true). The caller deletes
    // the font. A face too long for LOGFONTW gives null and leaves the
    // control alone.
    HFONT CreateDialogFont(int controlId, int points, const WideString& face, bool redraw);

protected:
    DialogBase() : window(nullptr) {}

    // Stored from CreateDialogParamW (modeless) or in WM_INITDIALOG (modal).
    HWND window;
};

// Fills font with a Shift JIS font of the given size in points and face for
// the device: height -MulDiv(points, LOGPIXELSY, 72) pixels, every other
// field zero. Returns false and leaves font untouched when the face with its
// terminating NUL does not fit into LF_FACESIZE (32) characters.
bool MakeLogFont(LOGFONTW& font, HDC dc, int points, const WideString& face);
