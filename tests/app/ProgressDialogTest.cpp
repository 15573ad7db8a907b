// The progress and result window inside the test process: its two states,
// every result text, the "tret error" box, each countdown step, the dialog
// procedure's answers, and the message loop's handling of keys.
#include "app/ProgressDialog.h"
#include "core/AppInstance.h"
#include "core/PathString.h"
#include "res/resource.h"
#include "tests/app/Line1Fit.h"
#include "tests/support/BoxAnswerer.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include <string>

using namespace twk_test;

namespace {

const wchar_t kProgressCaption[] = L"Tarnwick の経過";
const wchar_t kResultCaption[] = L"Tarnwick の結果";
const wchar_t kUnderWay[] = L"のプロセスを終了中";
const wchar_t kClosing[] = L"このダイアログは消えます";

std::wstring CountdownText(int seconds)
{
    return L"このダイアログは表示から" + std::to_wstring(seconds) + L"秒後に自動的に消えます";
}

class ProgressDialogTest : public ::testing::Test {
protected:
    void SetUp() override { SetAppInstance(GetModuleHandleW(nullptr)); }
    void TearDown() override
    {
        // Nothing of one case may reach the next through the thread's queue.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ;
    }
};

// Removes a posted message of the given kind for the window, if any.
bool TakePosted(HWND window, UINT kind)
{
    MSG message;
    return PeekMessageW(&message, window, kind, kind, PM_REMOVE | PM_NOYIELD) != FALSE;
}

bool TakeQuit()
{
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

TEST_F(ProgressDialogTest, ProgressStateShowsTheCleanedTargetTopmostAndCentred)
{
    BoxAnswerer answerer;
    ProgressDialog dialog(WideString(L"  \"C:\\Tools\\app.exe\"  "));
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(WindowText(window), kProgressCaption);
    EXPECT_EQ(ControlText(window, IDC_PROGRESS_TARGET), L"C:\\Tools\\app.exe");
    EXPECT_EQ(ControlText(window, IDC_PROGRESS_STATUS), kUnderWay);
    EXPECT_FALSE(ControlVisible(window, IDC_PROGRESS_COUNTDOWN));
    EXPECT_FALSE(ControlVisible(window, IDC_PROGRESS_DISMISS));
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    ASSERT_NE(dialog.smallIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)), dialog.smallIcon);

    RECT rect = {};
    GetWindowRect(window, &rect);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 2);
    EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 2);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(ProgressDialogTest, Line1HoldsTheTargetFittedToItsWidth)
{
    BoxAnswerer answerer;
    struct Case {
        const wchar_t* argument;
        const wchar_t* begins;
        const wchar_t* ends;
    } cases[] = {
        {L"C:\\x.exe", L"C:\\x.exe", L"C:\\x.exe"},
        {L"C:\\Program Files\\A Rather Long Vendor Name\\A Product With A Long Name\\Version 12.3\\bin\\"
         L"application.exe",
         L"C:\\...\\", L"\\bin\\application.exe"},
        {L"\"\\\\fileserver\\shared tools\\department\\long directory name\\another level\\tool.exe\"",
         L"\\\\fileserver\\shared tools\\...\\", L"\\tool.exe"},
        {L"C:"
         L"\\一二三四五六七八九十一二三四五六七八九十\\一二三四五六七八九十一二三四五六七八九十\\プログラム."
         L"exe",
         L"C:\\...\\", L"\\プログラム.exe"},
        {L"a-relative-name-that-is-far-too-long-for-the-first-line-of-the-dialog-window.exe",
         L"不正なファイル名", L"不正なファイル名"},
    };
    for (const Case& c : cases) {
        ProgressDialog dialog{WideString(c.argument)};
        std::wstring shown = ControlText(dialog.Window(), IDC_PROGRESS_TARGET);
        EXPECT_EQ(shown, ExpectedLine1(c.argument)) << c.argument;
        EXPECT_EQ(shown.rfind(c.begins, 0), 0u) << shown;
        EXPECT_EQ(shown.size() - shown.rfind(c.ends), wcslen(c.ends)) << shown;
        if (shown != L"不正なファイル名") {
            EXPECT_LT(WidthInLine1Font(shown), Line1Width()) << shown;
        }
    }
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(ProgressDialogTest, EachOutcomeHasItsResultText)
{
    struct Case {
        int code;
        const wchar_t* text;
    } cases[] = {
        {0, L"致命的エラー"},
        {1, L"のプロセスが見つかりません"},
        {2, L"のプロセス終了は失敗しました"},
        {3, L"のプロセス終了はほぼ正常に行われました"},
        {4, L"のプロセス終了を強制的に行いました"},
        {5, L"のプロセス終了をNT系16bit用の方法で行いました"},
    };
    for (const Case& c : cases) {
        BoxAnswerer answerer;
        ProgressDialog dialog(WideString(L"C:\\Tools\\app.exe"));
        HWND window = dialog.Window();
        dialog.ShowResult(static_cast<TerminateOutcome>(c.code));
        EXPECT_EQ(WindowText(window), kResultCaption) << c.code;
        EXPECT_EQ(ControlText(window, IDC_PROGRESS_STATUS), c.text) << c.code;
        EXPECT_EQ(ControlText(window, IDC_PROGRESS_TARGET), L"C:\\Tools\\app.exe");
        EXPECT_EQ(ControlText(window, IDC_PROGRESS_COUNTDOWN), CountdownText(5));
        EXPECT_TRUE(ControlVisible(window, IDC_PROGRESS_COUNTDOWN));
        EXPECT_TRUE(ControlVisible(window, IDC_PROGRESS_DISMISS));
        EXPECT_EQ(dialog.secondsLeft, 4);
        EXPECT_TRUE(answerer.Boxes().empty()) << c.code;
    }
}

TEST_F(ProgressDialogTest, UnknownOutcomeShowsTretErrorAndStillCountsDown)
{
    const int codes[] = {6, 7, -1, 1000};
    for (int code : codes) {
        BoxAnswerer answerer;
        ProgressDialog dialog(WideString(L"C:\\Tools\\app.exe"));
        HWND window = dialog.Window();
        dialog.ShowResult(static_cast<TerminateOutcome>(code));
        std::vector<SeenBox> boxes = answerer.Boxes();
        ASSERT_EQ(boxes.size(), 1u) << code;
        EXPECT_EQ(boxes[0].text, L"tret error");
        EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
        EXPECT_EQ(boxes[0].owner, window) << "the box is owned by the dialog";
        EXPECT_EQ(WindowText(window), kResultCaption);
        EXPECT_EQ(ControlText(window, IDC_PROGRESS_STATUS), kUnderWay) << "line 2 is left as it was";
        EXPECT_EQ(ControlText(window, IDC_PROGRESS_COUNTDOWN), CountdownText(5));
        EXPECT_TRUE(ControlVisible(window, IDC_PROGRESS_DISMISS));
        EXPECT_EQ(dialog.secondsLeft, 4);
    }
}

TEST_F(ProgressDialogTest, TicksCountDownInAsciiDigitsThenAskToClose)
{
    BoxAnswerer answerer;
    ProgressDialog dialog(WideString(L"C:\\Tools\\app.exe"));
    HWND window = dialog.Window();
    dialog.ShowResult(TerminateOutcome::NotFound);
    struct Step {
        const std::wstring shown;
        int secondsLeftAfter;
        bool closeAsked;
    } steps[] = {
        {CountdownText(4), 3, false}, {CountdownText(3), 2, false}, {CountdownText(2), 1, false},
        {CountdownText(1), 0, false}, {kClosing, 0, true},          {kClosing, 0, true},
    };
    EXPECT_EQ(CountdownText(4), L"このダイアログは表示から4秒後に自動的に消えます");
    for (const Step& step : steps) {
        dialog.Tick();
        EXPECT_EQ(ControlText(window, IDC_PROGRESS_COUNTDOWN), step.shown);
        EXPECT_EQ(dialog.secondsLeft, step.secondsLeftAfter);
        EXPECT_EQ(TakePosted(window, WM_CLOSE), step.closeAsked) << step.secondsLeftAfter;
    }
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(ProgressDialogTest, ProcedureQuitsOnCloseAndDismissOnly)
{
    BoxAnswerer answerer;
    ProgressDialog dialog(WideString(L"C:\\Tools\\app.exe"));
    HWND window = dialog.Window();
    dialog.ShowResult(TerminateOutcome::NotFound);
    struct Case {
        UINT message;
        WPARAM wParam;
        INT_PTR returned;
        bool quits;
    } cases[] = {
        {WM_CLOSE, 0, FALSE, true},
        {WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_DISMISS, BN_CLICKED), FALSE, true},
        {WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), TRUE, false},
        {WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), TRUE, false},
        {WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_STATUS, 0), TRUE, false},
        {WM_PAINT, 0, FALSE, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgressDialogProc(window, c.message, c.wParam, 0), c.returned)
            << c.message << " " << c.wParam;
        EXPECT_EQ(TakeQuit(), c.quits) << c.message << " " << c.wParam;
    }

    EXPECT_EQ(ProgressDialogProc(window, WM_TIMER, 7, 0), FALSE);
    EXPECT_EQ(ControlText(window, IDC_PROGRESS_COUNTDOWN), CountdownText(4)) << "any timer id ticks";
    EXPECT_EQ(dialog.secondsLeft, 3);
    EXPECT_FALSE(TakeQuit());
}

// Thread timer of the key test: ends the loop and notes that it did.
bool g_endedByTestTimer = false;
void CALLBACK EndLoop(HWND, UINT, UINT_PTR, DWORD)
{
    g_endedByTestTimer = true;
    PostQuitMessage(0);
}

TEST_F(ProgressDialogTest, EnterAndEscapeAreNotDialogCommands)
{
    BoxAnswerer answerer;
    ProgressDialog dialog(WideString(L"C:\\Tools\\app.exe"));
    HWND window = dialog.Window();
    dialog.ShowResult(TerminateOutcome::NotFound);
    HWND button = GetDlgItem(window, IDC_PROGRESS_DISMISS);
    SetFocus(button);
    const WPARAM keys[] = {VK_RETURN, VK_ESCAPE};
    for (WPARAM key : keys) {
        PostMessageW(button, WM_KEYDOWN, key, 1);
        PostMessageW(button, WM_KEYUP, key, 0xC0000001);
        PostMessageW(window, WM_KEYDOWN, key, 1);
        PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    }
    g_endedByTestTimer = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 1500, EndLoop);
    ASSERT_NE(timer, 0u);
    dialog.Run();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(g_endedByTestTimer) << "a key ended the loop";
    EXPECT_EQ(ControlText(window, IDC_PROGRESS_COUNTDOWN), CountdownText(4)) << "one tick came meanwhile";
}

TEST_F(ProgressDialogTest, RunEndsAtOnceOnDismissOrCloseCommand)
{
    struct Case {
        const char* way;
        UINT message;
        WPARAM wParam;
        bool toButton;
    } cases[] = {
        {"今消す", BM_CLICK, 0, true},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, false},
        {"WM_CLOSE", WM_CLOSE, 0, false},
    };
    for (const Case& c : cases) {
        BoxAnswerer answerer;
        ProgressDialog dialog(WideString(L"C:\\Tools\\app.exe"));
        HWND window = dialog.Window();
        dialog.ShowResult(TerminateOutcome::NotFound);
        PostMessageW(c.toButton ? GetDlgItem(window, IDC_PROGRESS_DISMISS) : window, c.message, c.wParam, 0);
        g_endedByTestTimer = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 3000, EndLoop);
        DWORD start = GetTickCount();
        dialog.Run();
        DWORD elapsed = GetTickCount() - start;
        KillTimer(nullptr, timer);
        EXPECT_FALSE(g_endedByTestTimer) << c.way;
        EXPECT_LT(elapsed, 1000u) << c.way;
        EXPECT_TRUE(IsWindow(window)) << "the window stays until the destructor";
    }
}

TEST_F(ProgressDialogTest, DestructorDestroysTheWindow)
{
    BoxAnswerer answerer;
    HWND window = nullptr;
    {
        ProgressDialog dialog(WideString(L"C:\\Tools\\app.exe"));
        window = dialog.Window();
        dialog.ShowResult(TerminateOutcome::EndedNormally);
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(answerer.Boxes().empty()) << "DestroyIcon and DestroyWindow succeed";
}

} // namespace
