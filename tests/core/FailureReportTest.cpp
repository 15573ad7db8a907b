// Failure reports, message boxes and message pumps, with the real boxes
// shown and answered on a second thread.
#include "core/FailureReport.h"
#include "core/MessageBoxes.h"
#include "core/MessageLoop.h"
#include "tests/support/BoxAnswerer.h"

#include <gtest/gtest.h>

using twk_test::BoxAnswerer;
using twk_test::BoxIcon;
using twk_test::SeenBox;

namespace {

std::vector<SeenBox> BoxesOf(BoxAnswerer& answerer)
{
    // The answerer records a box before pressing its button, so every box
    // that returned is already recorded.
    return answerer.Boxes();
}

TEST(ReportApiFailure, ShowsLabelAndSignedErrorCode)
{
    struct Case {
        DWORD error;
        const char* label;
        const wchar_t* text;
    } cases[] = {
        {5, "SetTimer", L"SetTimer Error Code =5"},
        {0, "CloseHandle1", L"CloseHandle1 Error Code =0"},
        {0x80004005, "GetWindowRect", L"GetWindowRect Error Code =-2147467259"},
        {0xFFFFFFFF, "EnumProcesses", L"EnumProcesses Error Code =-1"},
    };
    for (const Case& c : cases) {
        BoxAnswerer answerer;
        SetLastError(c.error);
        ReportApiFailure(0, c.label);
        std::vector<SeenBox> boxes = BoxesOf(answerer);
        ASSERT_EQ(boxes.size(), 1u) << c.label;
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
        EXPECT_EQ(boxes[0].owner, nullptr);
        EXPECT_EQ(boxes[0].buttons, std::vector<int>{IDOK});
    }
}

TEST(ReportApiFailure, SuccessShowsNothingAndKeepsLastError)
{
    BoxAnswerer answerer;
    const INT_PTR successes[] = {1, 42, -1, 0x7FFFFFFF};
    for (INT_PTR result : successes) {
        SetLastError(1234);
        ReportApiFailure(result, "SetTimer");
        EXPECT_EQ(GetLastError(), 1234u) << result;
    }
    SetLastError(99);
    int local = 0;
    ReportApiFailure(&local, "GetDC");
    EXPECT_EQ(GetLastError(), 99u);
    EXPECT_TRUE(BoxesOf(answerer).empty());
}

TEST(ReportComFailure, ShowsFailedResultsInHex)
{
    struct Case {
        HRESULT hr;
        const char* label;
        const wchar_t* text;
    } cases[] = {
        {E_FAIL, "SHGetMalloc Error", L"SHGetMalloc Error Error Code =0x80004005"},
        {E_OUTOFMEMORY, "SHGetSpecialFolderLocation", L"SHGetSpecialFolderLocation Error Code =0x8007000e"},
    };
    for (const Case& c : cases) {
        BoxAnswerer answerer;
        ReportComFailure(c.hr, c.label);
        std::vector<SeenBox> boxes = BoxesOf(answerer);
        ASSERT_EQ(boxes.size(), 1u) << c.label;
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
        EXPECT_EQ(boxes[0].owner, nullptr);
    }
}

TEST(ReportComFailure, NonNegativeResultsShowNothing)
{
    BoxAnswerer answerer;
    SetLastError(77);
    ReportComFailure(S_OK, "SHGetMalloc Error");
    ReportComFailure(S_FALSE, "SHGetMalloc Error");
    ReportComFailure(0x7FFFFFFF, "SHGetMalloc Error");
    EXPECT_EQ(GetLastError(), 77u);
    EXPECT_TRUE(BoxesOf(answerer).empty());
}

class OwnedBoxes : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override { DestroyWindow(owner); }
    HWND owner = nullptr;
};

TEST_F(OwnedBoxes, EachBoxHasItsIconButtonsAndOwner)
{
    struct Case {
        const char* what;
        int (*show)(HWND owner);
        int answer;
        int expectedResult;
        BoxIcon icon;
        std::vector<int> buttons;
        const wchar_t* text;
    } cases[] = {
        {"error",
         [](HWND o) { return ShowErrorBox(L"プロセスのEXEが存在しません", o); },
         IDOK,
         IDOK,
         BoxIcon::Error,
         {IDOK},
         L"プロセスのEXEが存在しません"},
        {"info",
         [](HWND o) { return ShowInfoBox(L"作成しました\n二行目", o); },
         IDOK,
         IDOK,
         BoxIcon::Information,
         {IDOK},
         L"作成しました\n二行目"},
        {"ask yes",
         [](HWND o) { return AskUser(L"上書きしますか？", o, MB_YESNO); },
         IDYES,
         IDYES,
         BoxIcon::Question,
         {IDYES, IDNO},
         L"上書きしますか？"},
        {"ask no",
         [](HWND o) { return AskUser(L"上書きしますか？", o, MB_YESNO); },
         IDNO,
         IDNO,
         BoxIcon::Question,
         {IDYES, IDNO},
         L"上書きしますか？"},
    };
    for (const Case& c : cases) {
        BoxAnswerer answerer(c.answer);
        EXPECT_EQ(c.show(owner), c.expectedResult) << c.what;
        std::vector<SeenBox> boxes = BoxesOf(answerer);
        ASSERT_EQ(boxes.size(), 1u) << c.what;
        EXPECT_EQ(boxes[0].text, c.text) << c.what;
        EXPECT_EQ(boxes[0].icon, c.icon) << c.what;
        EXPECT_EQ(boxes[0].owner, owner) << c.what;
        EXPECT_EQ(boxes[0].buttons, c.buttons) << c.what;
    }
}

TEST(MessageBoxes, ErrorBoxWithoutOwner)
{
    BoxAnswerer answerer;
    EXPECT_EQ(ShowErrorBox(L"TWK64.exe を起動してください", nullptr), IDOK);
    std::vector<SeenBox> boxes = BoxesOf(answerer);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].text, L"TWK64.exe を起動してください");
}

// A window that counts the messages it receives.
struct Counts {
    int user = 0;
    int keyDown = 0;
    int chars = 0;
    std::vector<wchar_t> typed;
};
Counts g_counts;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_USER + 1:
        ++g_counts.user;
        return 0;
    case WM_KEYDOWN:
        ++g_counts.keyDown;
        return 0;
    case WM_CHAR:
        ++g_counts.chars;
        g_counts.typed.push_back(static_cast<wchar_t>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateCountingWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TwkCountingWindow";
    RegisterClassW(&windowClass);
    g_counts = Counts();
    return CreateWindowExW(0, L"TwkCountingWindow", L"counting", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(MessagePumps, PumpPendingMessagesDispatchesWhatIsQueuedAndReturns)
{
    PumpPendingMessages(); // an empty queue: returns at once
    HWND window = CreateCountingWindow();
    ASSERT_NE(window, nullptr);
    PumpPendingMessages();
    for (int i = 0; i < 3; ++i)
        PostMessageW(window, WM_USER + 1, 0, 0);
    PumpPendingMessages();
    EXPECT_EQ(g_counts.user, 3);
    MSG left;
    EXPECT_FALSE(PeekMessageW(&left, nullptr, 0, 0, PM_NOREMOVE)) << "the queue is empty afterwards";
    DestroyWindow(window);
    PumpPendingMessages();
}

TEST(MessagePumps, RunMessageLoopWithoutDialogDispatchesKeysAndReturnsQuitCode)
{
    HWND window = CreateCountingWindow();
    ASSERT_NE(window, nullptr);
    PumpPendingMessages();
    PostMessageW(window, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(window, WM_USER + 1, 0, 0);
    PostQuitMessage(42);
    EXPECT_EQ(RunMessageLoop(nullptr), 42u);
    EXPECT_EQ(g_counts.keyDown, 2);
    EXPECT_EQ(g_counts.user, 1);
    EXPECT_EQ(g_counts.typed, (std::vector<wchar_t>{L'\t', L'\r'})) << "translated into characters";
    DestroyWindow(window);
}

// An in-memory dialog with two edit controls, for the dialog keyboard case.
HWND CreateTwoEditDialog()
{
    alignas(4) static WORD buffer[256];
    ZeroMemory(buffer, sizeof(buffer));
    DLGTEMPLATE* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer);
    dialog->style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT;
    dialog->cdit = 2;
    dialog->cx = 120;
    dialog->cy = 50;
    WORD* p = reinterpret_cast<WORD*>(dialog + 1);
    *p++ = 0; // no menu
    *p++ = 0; // default class
    *p++ = 0; // no title
    *p++ = 9; // font size
    for (const wchar_t* f = L"MS Shell Dlg"; *f; ++f)
        *p++ = *f;
    *p++ = 0;
    for (int i = 0; i < 2; ++i) {
        p = reinterpret_cast<WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
        DLGITEMTEMPLATE* item = reinterpret_cast<DLGITEMTEMPLATE*>(p);
        item->style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
        item->x = 5;
        item->y = static_cast<short>(5 + 20 * i);
        item->cx = 100;
        item->cy = 14;
        item->id = static_cast<WORD>(100 + i);
        p = reinterpret_cast<WORD*>(item + 1);
        *p++ = 0xFFFF;
        *p++ = 0x0081; // edit
        *p++ = 0;      // no text
        *p++ = 0;      // no creation data
    }
    return CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), dialog, nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
}

TEST(MessagePumps, DialogKeyboardHandlingOnlyWithADialog)
{
    struct Case {
        bool passDialog;
        int focusAfterTab;
    } cases[] = {{true, 101}, {false, 100}};
    for (const Case& c : cases) {
        HWND dialog = CreateTwoEditDialog();
        ASSERT_NE(dialog, nullptr);
        HWND first = GetDlgItem(dialog, 100);
        SetForegroundWindow(dialog);
        SetFocus(first);
        PumpPendingMessages();
        ASSERT_EQ(GetFocus(), first);
        PostMessageW(first, WM_KEYDOWN, VK_TAB, 0x000F0001);
        PostQuitMessage(0);
        RunMessageLoop(c.passDialog ? dialog : nullptr);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.focusAfterTab) << (c.passDialog ? "with dialog" : "without");
        DestroyWindow(dialog);
        PumpPendingMessages();
    }
}

} // namespace
