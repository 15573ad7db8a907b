// DialogBase on a small dialog made in the test from an in-memory template:
// the small icon and tooltips with one, two or no lines of text.
#include "core/AppInstance.h"
#include "core/DialogBase.h"
#include "res/resource.h"
#include "tests/support/BoxAnswerer.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace {

const int kButtonId = 100;

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// A visible modeless dialog with one push button.
class TestDialog : public DialogBase {
public:
    TestDialog()
    {
        SetAppInstance(GetModuleHandleW(nullptr));
        struct alignas(4) Template {
            DLGTEMPLATE header;
            WORD menu, windowClass, title;
        } dialogTemplate = {{WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 40, 40, 200, 100}, 0, 0, 0};
        window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &dialogTemplate.header, nullptr,
                                            PlainDialogProc, 0);
        button = CreateWindowExW(0, L"BUTTON", L"button", WS_CHILD | WS_VISIBLE, 10, 10, 100, 30, window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)),
                                 GetModuleHandleW(nullptr), nullptr);
    }
    ~TestDialog()
    {
        if (IsWindow(window))
            DestroyWindow(window);
    }

    HWND button;
};

std::wstring ClassName(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The widest "\n"-separated line of text in the tooltip's own context, an
// empty text counting as one space.
int ExpectedTipWidth(HWND tip, const std::wstring& text)
{
    std::wstring measured = text.empty() ? L" " : text;
    HDC dc = GetDC(tip);
    int widest = 0;
    size_t start = 0;
    for (;;) {
        size_t end = measured.find(L'\n', start);
        std::wstring line =
            measured.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        SIZE size = {};
        GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    ReleaseDC(tip, dc);
    return widest;
}

TEST(DialogBaseToolTip, RegistersTheControlWithItsTextAndWidestLine)
{
    const wchar_t* texts[] = {
        L"対象のプロセスを一覧から選びます",
        L"短い行\nこちらは長い方の二行目です",
        L"the longer first line of the two\nshort",
        L"a\nbb\nccc",
        L"trailing break\n",
        L"",
    };
    for (const wchar_t* text : texts) {
        TestDialog dialog;
        ASSERT_NE(dialog.Window(), nullptr);
        HWND tip = dialog.AddToolTip(kButtonId, WideString(text), 5000);
        ASSERT_NE(tip, nullptr) << text;
        EXPECT_EQ(ClassName(tip), L"tooltips_class32");
        EXPECT_EQ(GetWindow(tip, GW_OWNER), dialog.Window());
        EXPECT_TRUE(GetWindowLongW(tip, GWL_STYLE) & TTS_ALWAYSTIP);

        ASSERT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
        wchar_t toolText[256] = {};
        TOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.lpszText = toolText;
        ASSERT_TRUE(SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
        EXPECT_EQ(tool.hwnd, dialog.Window());
        EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(dialog.button));
        EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS),
                  static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
        EXPECT_EQ(std::wstring(toolText), text);

        int width = static_cast<int>(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
        EXPECT_EQ(width, ExpectedTipWidth(tip, text)) << text;
        EXPECT_GT(width, 0) << text;
        EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 5000);
    }
}

TEST(DialogBaseToolTip, TwoLinesAsWideAsTheLongerLine)
{
    TestDialog dialog;
    const wchar_t longer[] = L"こちらは長い方の行です";
    HWND twoLines = dialog.AddToolTip(kButtonId, WideString(L"短い\nこちらは長い方の行です"), 5000);
    HWND oneLine = dialog.AddToolTip(kButtonId, WideString(longer), 5000);
    EXPECT_EQ(SendMessageW(twoLines, TTM_GETMAXTIPWIDTH, 0, 0),
              SendMessageW(oneLine, TTM_GETMAXTIPWIDTH, 0, 0));
    EXPECT_EQ(SendMessageW(twoLines, TTM_GETMAXTIPWIDTH, 0, 0), ExpectedTipWidth(twoLines, longer));
}

TEST(DialogBaseToolTip, AutoPopDelayKeepsTheLowSixteenBits)
{
    struct Case {
        int delay;
        LRESULT kept;
    } cases[] = {{5000, 5000}, {1, 1}, {65535, 65535}, {70000, 70000 & 0xFFFF}};
    for (const Case& c : cases) {
        TestDialog dialog;
        HWND tip = dialog.AddToolTip(kButtonId, WideString(L"tip"), c.delay);
        EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), c.kept) << c.delay;
    }
}

TEST(DialogBaseToolTip, EndsWithTheDialog)
{
    HWND tip = nullptr;
    {
        TestDialog dialog;
        tip = dialog.AddToolTip(kButtonId, WideString(L"tip"), 5000);
        ASSERT_TRUE(IsWindow(tip));
    }
    EXPECT_FALSE(IsWindow(tip));
}

TEST(DialogBaseIcon, SetsTheProgramIconAtSmallIconSize)
{
    twk_test::BoxAnswerer answerer;
    TestDialog dialog;
    HICON icon = dialog.SetSmallIcon(IDI_TARNWICK);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(dialog.Window(), WM_GETICON, ICON_SMALL, 0)), icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST(DialogBaseIcon, MissingIconLeavesTheWindowWithout)
{
    twk_test::BoxAnswerer answerer;
    TestDialog dialog;
    EXPECT_EQ(dialog.SetSmallIcon(9999), nullptr);
    EXPECT_EQ(SendMessageW(dialog.Window(), WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_TRUE(answerer.Boxes().empty()) << "nothing is reported";
}

} // namespace
