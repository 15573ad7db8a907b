// ProgressDialog: the command-line mode's only window. It shows the target
// while the termination runs, then the result with a five-second countdown,
// and closes itself or on "今消す" or the close command.
#pragma once

#include "core/DialogBase.h"
#include "core/WideString.h"
#include "process/TerminateOutcome.h"

#include <windows.h>

class ProgressDialog : public DialogBase {
public:
    // Creates and shows the window in its progress state, topmost and
    // painted, with the target (the argument text, cleaned and fitted) in
    // line 1. The dialog procedure reaches this object from now on.
    explicit ProgressDialog(const WideString& argumentText);
    // Destroys the icon and the window (and with it the timer).
    ~ProgressDialog();
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    // Progress state of a command line with options: line 2 says what is
    // under way and line 3, hidden otherwise, the time limit.
    void ShowUnderWay(const WideString& underWay, const WideString& timeLimit);
    // Switches to the result state: caption, result text (or the "tret
    // error" box for an unknown outcome), countdown from 5, button.
    void ShowResult(TerminateOutcome outcome);
    // The same with a result text of the caller's.
    void ShowResultText(const WideString& resultText);
    // One countdown step; at 0 the window is asked to close.
    void Tick();
    // Runs the message loop until the window is dismissed or counted down.
    void Run();

    HICON smallIcon;
    int secondsLeft;

private:
    // The rest of the result state: the countdown from 5 with its timer,
    // line 3 and the button shown.
    void StartCountdown();
};

// The dialog procedure of template 120.
INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The text of line 2 for an outcome, or null for a value outside 0 to 5.
const wchar_t* ProgressResultText(TerminateOutcome outcome);
