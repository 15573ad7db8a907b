// The progress and result window. The termination blocks the thread between
// the constructor and ShowResult, so the constructor paints the window
// itself; the message loop runs only in Run.
#include "app/ProgressDialog.h"

#include "core/AppInstance.h"
#include "core/FailureReport.h"
#include "core/MessageBoxes.h"
#include "core/MessageLoop.h"
#include "core/PathString.h"
#include "res/resource.h"

namespace {

const int kCountdownSeconds = 5;
const UINT kCountdownTimerId = 0;
const UINT kCountdownPeriodMs = 1000;

// The one dialog of this process, set before its window exists.
ProgressDialog* g_progressDialog = nullptr;

WideString CountdownText(int seconds)
{
    return WideString(L"このダイアログは表示から")
        .Concat(WideString::FromInt(seconds).CStr())
        .Concat(L"秒後に自動的に消えます");
}

// Line 1: the cleaned target, shortened to the control's width as measured
// in the font the control draws with.
void ShowTarget(HWND dialog, const WideString& argumentText)
{
    HWND control = GetDlgItem(dialog, IDC_PROGRESS_TARGET);
    RECT rect = {};
    BOOL gotRect = GetWindowRect(control, &rect);
    ReportApiFailure(gotRect, "GetWindowRect");

    HDC dc = GetDC(control);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    WideString fitted = PathString(argumentText).FitToWidth(dc, rect.right - rect.left);
    if (oldFont)
        SelectObject(dc, oldFont);
    ReleaseDC(control, dc);
    SetWindowTextW(control, fitted.CStr());
}

INT_PTR OnClose()
{
    PostQuitMessage(0);
    return FALSE;
}

INT_PTR OnCommand(WPARAM wParam)
{
    if (LOWORD(wParam) != IDC_PROGRESS_DISMISS)
        return TRUE;
    PostQuitMessage(0);
    return FALSE;
}

INT_PTR OnTimer()
{
    if (g_progressDialog)
        g_progressDialog->Tick();
    return FALSE;
}

} // namespace

const wchar_t* ProgressResultText(TerminateOutcome outcome)
{
    switch (outcome) {
    case TerminateOutcome::FatalError:
        return L"致命的エラー";
    case TerminateOutcome::NotFound:
        return L"のプロセスが見つかりません";
    case TerminateOutcome::Failed:
        return L"のプロセス終了は失敗しました";
    case TerminateOutcome::EndedNormally:
        return L"のプロセス終了はほぼ正常に行われました";
    case TerminateOutcome::EndedByForce:
        return L"のプロセス終了を強制的に行いました";
    case TerminateOutcome::EndedByWowMethod:
        return L"のプロセス終了をNT系16bit用の方法で行いました";
    }
    return nullptr;
}

INT_PTR CALLBACK ProgressDialogProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_CLOSE:
        return OnClose();
    case WM_COMMAND:
        return OnCommand(wParam);
    case WM_TIMER:
        return OnTimer();
    }
    return FALSE;
}

ProgressDialog::ProgressDialog(const WideString& argumentText) : smallIcon(nullptr), secondsLeft(0)
{
    g_progressDialog = this;
    window =
        CreateDialogParamW(AppInstance(), MAKEINTRESOURCEW(IDD_PROGRESS), nullptr, ProgressDialogProc, 0);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    smallIcon = SetSmallIcon(IDI_TARNWICK);
    ShowTarget(window, argumentText);
    ShowWindow(GetDlgItem(window, IDC_PROGRESS_COUNTDOWN), SW_HIDE);
    ShowWindow(GetDlgItem(window, IDC_PROGRESS_DISMISS), SW_HIDE);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
}

ProgressDialog::~ProgressDialog()
{
    if (smallIcon) {
        BOOL destroyed = DestroyIcon(smallIcon);
        ReportApiFailure(destroyed, "DestroyIcon");
    }
    BOOL destroyed = DestroyWindow(window);
    ReportApiFailure(destroyed, "DestroyWindow");
    if (g_progressDialog == this)
        g_progressDialog = nullptr;
}

void ProgressDialog::ShowUnderWay(const WideString& underWay, const WideString& timeLimit)
{
    SetDlgItemTextW(window, IDC_PROGRESS_STATUS, underWay.CStr());
    SetDlgItemTextW(window, IDC_PROGRESS_COUNTDOWN, timeLimit.CStr());
    ShowWindow(GetDlgItem(window, IDC_PROGRESS_COUNTDOWN), SW_SHOW);
    UpdateWindow(window);
}

void ProgressDialog::ShowResult(TerminateOutcome outcome)
{
    const wchar_t* resultText = ProgressResultText(outcome);
    if (resultText) {
        ShowResultText(resultText);
        return;
    }
    SetWindowTextW(window, L"Tarnwick の結果");
    ShowErrorBox(WideString(L"tret error"), window);
    StartCountdown();
}

void ProgressDialog::ShowResultText(const WideString& resultText)
{
    SetWindowTextW(window, L"Tarnwick の結果");
    SetDlgItemTextW(window, IDC_PROGRESS_STATUS, resultText.CStr());
    StartCountdown();
}

void ProgressDialog::StartCountdown()
{
    secondsLeft = kCountdownSeconds;
    Tick();
    UINT_PTR timer = SetTimer(window, kCountdownTimerId, kCountdownPeriodMs, nullptr);
    ReportApiFailure(static_cast<INT_PTR>(timer), "SetTimer");

    ShowWindow(GetDlgItem(window, IDC_PROGRESS_COUNTDOWN), SW_SHOW);
    ShowWindow(GetDlgItem(window, IDC_PROGRESS_DISMISS), SW_SHOW);
}

void ProgressDialog::Tick()
{
    if (secondsLeft > 0) {
        SetDlgItemTextW(window, IDC_PROGRESS_COUNTDOWN, CountdownText(secondsLeft).CStr());
        --secondsLeft;
        return;
    }
    SetDlgItemTextW(window, IDC_PROGRESS_COUNTDOWN, L"このダイアログは消えます");
    PostMessageW(window, WM_CLOSE, 0, 0);
}

void ProgressDialog::Run()
{
    RunMessageLoop(nullptr);
}
