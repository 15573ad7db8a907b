// DialogBase on a small dialog made in the test from an in-memory template:
// the small icon, tooltips with one, two or no lines of text, and fonts made
// for a control; MakeLogFont on the screen.
#include "core/AppInstance.h"
#include "core/DialogBase.h"
#include "res/resource.h"
#include "tests/support/BoxAnswerer.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
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

int ScreenPixelsPerInch()
{
    HDC screen = GetDC(nullptr);
    int perInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return perInch;
}

// A structure full of a pattern that no field of a made font has.
LOGFONTW Scribbled()
{
    LOGFONTW font;
    std::memset(&font, 0xA5, sizeof(font));
    return font;
}

TEST(MakeLogFont, ShiftJisFontOfTheSizeAndFaceAtTheDevicesResolution)
{
    const std::wstring face31(31, L'字');
    struct Case {
        int points;
        std::wstring face;
    } cases[] = {
        {17, L"ＭＳ Ｐゴシック"},
        {13, L"ＭＳ Ｐゴシック"},
        {9, L"Tahoma"},
        {1, L"x"},
        {0, L"x"},
        {72, L""},
        {13, face31},
    };
    int perInch = ScreenPixelsPerInch();
    HDC screen = GetDC(nullptr);
    for (const Case& c : cases) {
        LOGFONTW font = Scribbled();
        ASSERT_TRUE(MakeLogFont(font, screen, c.points, WideString(c.face.c_str()))) << c.points;
        EXPECT_EQ(font.lfHeight, -MulDiv(c.points, perInch, 72)) << c.points;
        EXPECT_EQ(std::wstring(font.lfFaceName), c.face);
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
        // Everything else is zero: default width, weight and precisions.
        LOGFONTW rest = font;
        rest.lfHeight = 0;
        rest.lfCharSet = 0;
        std::memset(rest.lfFaceName, 0, sizeof(rest.lfFaceName));
        LOGFONTW zero = {};
        EXPECT_EQ(std::memcmp(&rest, &zero, sizeof(rest)), 0) << c.points;
    }
    ReleaseDC(nullptr, screen);
}

TEST(MakeLogFont, TitleAndVersionSizesOnAScreenOf96PixelsPerInch)
{
    HDC screen = GetDC(nullptr);
    if (GetDeviceCaps(screen, LOGPIXELSY) != 96) {
        ReleaseDC(nullptr, screen);
        GTEST_SKIP() << "the screen does not have 96 pixels per inch";
    }
    LOGFONTW font = {};
    ASSERT_TRUE(MakeLogFont(font, screen, 17, WideString(L"ＭＳ Ｐゴシック")));
    EXPECT_EQ(font.lfHeight, -23);
    ASSERT_TRUE(MakeLogFont(font, screen, 13, WideString(L"ＭＳ Ｐゴシック")));
    EXPECT_EQ(font.lfHeight, -17);
    ReleaseDC(nullptr, screen);
}

TEST(MakeLogFont, FaceWithoutRoomForItsNulLeavesTheStructureUntouched)
{
    HDC screen = GetDC(nullptr);
    for (int length : {32, 33, 200}) {
        LOGFONTW font = Scribbled();
        LOGFONTW before = font;
        EXPECT_FALSE(MakeLogFont(font, screen, 9, WideString(std::wstring(length, L'a').c_str()))) << length;
        EXPECT_EQ(std::memcmp(&font, &before, sizeof(font)), 0) << length;
    }
    ReleaseDC(nullptr, screen);
}

TEST(DialogBaseFont, SetsTheNewFontOnTheControl)
{
    TestDialog dialog;
    HFONT font = dialog.CreateDialogFont(kButtonId, 17, WideString(L"ＭＳ Ｐゴシック"), false);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(dialog.button, WM_GETFONT, 0, 0)), font);
    LOGFONTW made = {};
    ASSERT_EQ(GetObjectW(font, sizeof(made), &made), static_cast<int>(sizeof(made)));
    EXPECT_EQ(made.lfHeight, -MulDiv(17, ScreenPixelsPerInch(), 72));
    EXPECT_STREQ(made.lfFaceName, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(made.lfCharSet, SHIFTJIS_CHARSET);
    DestroyWindow(dialog.Window());
    EXPECT_NE(GetObjectType(font), 0u) << "the font is the caller's";
    DeleteObject(font);
}

TEST(DialogBaseFont, RedrawsTheControlOnlyWhenAsked)
{
    for (bool redraw : {false, true}) {
        TestDialog dialog;
        UpdateWindow(dialog.Window());
        ValidateRect(dialog.button, nullptr);
        HFONT font = dialog.CreateDialogFont(kButtonId, 13, WideString(L"Tahoma"), redraw);
        EXPECT_EQ(GetUpdateRect(dialog.button, nullptr, FALSE) != FALSE, redraw);
        DestroyWindow(dialog.Window());
        DeleteObject(font);
    }
}

TEST(DialogBaseFont, NoControlOrAFaceTooLongLeavesTheControlsAlone)
{
    TestDialog dialog;
    HFONT before = reinterpret_cast<HFONT>(SendMessageW(dialog.button, WM_GETFONT, 0, 0));
    for (int controlId : {0, -1}) {
        HFONT font = dialog.CreateDialogFont(controlId, 13, WideString(L"Tahoma"), true);
        EXPECT_NE(font, nullptr) << controlId;
        EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << controlId;
        DeleteObject(font);
    }
    EXPECT_EQ(dialog.CreateDialogFont(kButtonId, 13, WideString(std::wstring(32, L'a').c_str()), true),
              nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(dialog.button, WM_GETFONT, 0, 0)), before);
}

} // namespace
