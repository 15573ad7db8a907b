// The About box inside the test process, run by AboutBox::Show over a window
// of the test as the settings window runs it: this thread waits in Show
// while a second thread finds the box, reads what it shows (texts, icons,
// fonts, colours, tooltips), presses keys and buttons and expects it to
// close or stay. Also the link decision that the box hands to the shell.
#include "core/AppInstance.h"
#include "core/DialogBase.h"
#include "res/ProductInfo.h"
#include "res/resource.h"
#include "settings/AboutBox.h"
#include "tests/support/BoxAnswerer.h"
#include "tests/support/ToolTipReader.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace twk_test;

namespace {

const wchar_t kCaption[] = L"Tarnwick のバージョン情報";
const wchar_t kFace[] = L"ＭＳ Ｐゴシック";
// Texts of the caller's own, so that the box is seen to show what it is given.
const wchar_t kVersion[] = L"Ver.0.01 試験";
const wchar_t kSummary[] = L"試験のための説明文です";
const DWORD kBoxWaitMs = 10000;
const DWORD kCloseWaitMs = 5000;

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetAppInstance(GetModuleHandleW(nullptr));
        owner = CreateWindowExW(0, L"STATIC", L"About box owner", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 50,
                                50, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
    }

    void TearDown() override
    {
        DestroyWindow(owner);
        EXPECT_EQ(AboutBox::active, nullptr) << "the pointer outlived the box";
        if (reportsExpected)
            return;
        for (const SeenBox& box : reports.Boxes())
            ADD_FAILURE() << "unexpected box: " << std::string(box.text.begin(), box.text.end());
    }

    // Shows the box on this thread and runs whileOpen on a second thread with
    // the box's window once it is visible. whileOpen is to close the box;
    // true when it did so within a few seconds. A box left open is ended
    // from here, so that a failing case cannot hang the test.
    bool Run(const std::function<void(HWND box)>& whileOpen)
    {
        returned = false;
        bool rescued = false;
        std::thread inspector([&] {
            HWND box = WaitForTopWindow(GetCurrentProcessId(), L"#32770", kCaption, kBoxWaitMs);
            if (!box) {
                ADD_FAILURE() << "no About box";
                return;
            }
            whileOpen(box);
            for (DWORD waited = 0; !returned && waited < kCloseWaitMs; waited += 20)
                Sleep(20);
            if (!returned) {
                rescued = true;
                EndDialog(box, 0);
            }
        });
        AboutBox::Show(owner, IDI_TARNWICK, WideString(kVersion), WideString(kSummary));
        returned = true;
        inspector.join();
        return !rescued;
    }

    // True when Show is still waiting for the box to close after a while.
    bool StaysOpen(HWND box)
    {
        Sleep(500);
        return !returned && IsWindowVisible(box);
    }

    HWND owner = nullptr;
    std::atomic<bool> returned{false};
    // Failure reports; a case that expects none fails when one was shown.
    BoxAnswerer reports;
    bool reportsExpected = false;
};

LOGFONTW FontOf(HWND box, int controlId)
{
    LOGFONTW font = {};
    HFONT handle = reinterpret_cast<HFONT>(SendDlgItemMessageW(box, controlId, WM_GETFONT, 0, 0));
    EXPECT_EQ(GetObjectW(handle, sizeof(font), &font), static_cast<int>(sizeof(font))) << controlId;
    return font;
}

int ScreenPixelsPerInch()
{
    HDC screen = GetDC(nullptr);
    int perInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return perInch;
}

int IconWidth(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

bool IconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

// The icons and fonts the box made, read from its window.
struct Made {
    HICON smallIcon;
    HICON largeIcon;
    HFONT titleFont;
    HFONT versionFont;
};

Made MadeBy(HWND box)
{
    return Made{reinterpret_cast<HICON>(SendMessageW(box, WM_GETICON, ICON_SMALL, 0)),
                reinterpret_cast<HICON>(SendDlgItemMessageW(box, IDC_ABOUT_ICON, STM_GETICON, 0, 0)),
                reinterpret_cast<HFONT>(SendDlgItemMessageW(box, IDC_ABOUT_TITLE, WM_GETFONT, 0, 0)),
                reinterpret_cast<HFONT>(SendDlgItemMessageW(box, IDC_ABOUT_VERSION, WM_GETFONT, 0, 0))};
}

TEST_F(AboutBoxTest, ShowsItsTextsAndIconsModalOverItsOwnerAndReleasesThemWhenClosed)
{
    Made made = {};
    bool closed = Run([&](HWND box) {
        EXPECT_EQ(WindowText(box), kCaption);
        EXPECT_EQ(ControlText(box, IDC_ABOUT_TITLE), L"Tarnwick");
        EXPECT_EQ(ControlText(box, IDC_ABOUT_VERSION), kVersion);
        EXPECT_EQ(ControlText(box, IDC_ABOUT_SUMMARY), kSummary);
        EXPECT_EQ(ControlText(box, IDC_ABOUT_MAKER), L"Tarnwick の開発者");
        EXPECT_EQ(ControlText(box, IDC_ABOUT_MAIL), L"E-Mail:" TWK_MAKER_MAIL);
        EXPECT_EQ(ControlText(box, IDC_ABOUT_HOME_PAGE), L"" TWK_HOME_PAGE);
        EXPECT_EQ(ControlText(box, IDC_ABOUT_OK), L"OK");
        // The links are the very addresses the lines show.
        EXPECT_EQ(AboutLinkTarget(IDC_ABOUT_MAIL, STN_DBLCLK),
                  L"Mailto:" + ControlText(box, IDC_ABOUT_MAIL).substr(wcslen(L"E-Mail:")));
        EXPECT_EQ(AboutLinkTarget(IDC_ABOUT_HOME_PAGE, STN_DBLCLK), ControlText(box, IDC_ABOUT_HOME_PAGE));
        // The maker lines take the mouse: tooltips and double-clicks.
        for (int id : {IDC_ABOUT_MAKER, IDC_ABOUT_MAIL, IDC_ABOUT_HOME_PAGE})
            EXPECT_TRUE(GetWindowLongW(GetDlgItem(box, id), GWL_STYLE) & SS_NOTIFY) << id;

        EXPECT_EQ(GetWindow(box, GW_OWNER), owner);
        EXPECT_FALSE(IsWindowEnabled(owner)) << "the owner waits for the box";

        made = MadeBy(box);
        EXPECT_EQ(IconWidth(made.smallIcon), GetSystemMetrics(SM_CXSMICON));
        EXPECT_EQ(IconWidth(made.largeIcon), GetSystemMetrics(SM_CXICON));
        PressButton(box, IDC_ABOUT_OK);
    });
    EXPECT_TRUE(closed);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IconAlive(made.smallIcon));
    EXPECT_FALSE(IconAlive(made.largeIcon));
    EXPECT_EQ(GetObjectType(made.titleFont), 0u);
    EXPECT_EQ(GetObjectType(made.versionFont), 0u);
}

TEST_F(AboutBoxTest, TitleAndVersionHaveLargeShiftJisFontsAtTheScreensResolution)
{
    int perInch = ScreenPixelsPerInch();
    Run([&](HWND box) {
        struct Case {
            int controlId;
            int points;
        } cases[] = {{IDC_ABOUT_TITLE, 17}, {IDC_ABOUT_VERSION, 13}};
        for (const Case& c : cases) {
            LOGFONTW font = FontOf(box, c.controlId);
            EXPECT_EQ(font.lfHeight, -MulDiv(c.points, perInch, 72)) << c.controlId;
            EXPECT_STREQ(font.lfFaceName, kFace);
            EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
            EXPECT_EQ(font.lfWeight, 0);
        }
        // The rest keep the dialog's 9-point font.
        HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
        for (int id : {IDC_ABOUT_SUMMARY, IDC_ABOUT_MAKER, IDC_ABOUT_MAIL, IDC_ABOUT_HOME_PAGE, IDC_ABOUT_OK})
            EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageW(box, id, WM_GETFONT, 0, 0)), dialogFont)
                << id;
        if (perInch == 96) {
            EXPECT_EQ(FontOf(box, IDC_ABOUT_TITLE).lfHeight, -23);
            EXPECT_EQ(FontOf(box, IDC_ABOUT_VERSION).lfHeight, -17);
        }
        PressButton(box, IDC_ABOUT_OK);
    });
}

// Puts back the system colours that a case changed.
class SystemColors {
public:
    SystemColors(COLORREF windowText, COLORREF buttonFace)
        : oldValues{GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE)}
    {
        COLORREF values[] = {windowText, buttonFace};
        SetSysColors(2, kElements, values);
    }
    ~SystemColors() { SetSysColors(2, kElements, oldValues); }

private:
    static constexpr int kElements[] = {COLOR_WINDOWTEXT, COLOR_BTNFACE};
    COLORREF oldValues[2];
};

TEST_F(AboutBoxTest, SummaryIsGreenAndMakerLinesBlueOnButtonFaceWhateverTheSystemColours)
{
    // The system's own colours, then colours that no fixed value could match.
    const COLORREF schemes[][2] = {{GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE)},
                                   {RGB(90, 30, 60), RGB(200, 210, 170)}};
    for (const COLORREF* scheme : schemes) {
        SystemColors colors(scheme[0], scheme[1]);
        ASSERT_EQ(GetSysColor(COLOR_WINDOWTEXT), scheme[0]);
        Run([&](HWND box) {
            struct Case {
                int controlId;
                COLORREF text;
            } cases[] = {
                {IDC_ABOUT_ICON, scheme[0]},           {IDC_ABOUT_TITLE, scheme[0]},
                {IDC_ABOUT_VERSION, scheme[0]},        {IDC_ABOUT_SUMMARY, RGB(0, 128, 0)},
                {IDC_ABOUT_MAKER, RGB(0, 0, 255)},     {IDC_ABOUT_MAIL, RGB(0, 0, 255)},
                {IDC_ABOUT_HOME_PAGE, RGB(0, 0, 255)},
            };
            for (const Case& c : cases) {
                HDC dc = CreateCompatibleDC(nullptr);
                SetTextColor(dc, RGB(1, 2, 3));
                SetBkColor(dc, RGB(4, 5, 6));
                LRESULT brush = SendMessageW(box, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(GetDlgItem(box, c.controlId)));
                EXPECT_EQ(GetTextColor(dc), c.text) << c.controlId;
                EXPECT_EQ(GetBkColor(dc), scheme[1]) << c.controlId;
                EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNFACE)) << c.controlId;
                DeleteDC(dc);
            }
            PressButton(box, IDC_ABOUT_OK);
        });
    }
}

TEST_F(AboutBoxTest, MakerLinesHaveToolTipsThatHideAfterFiveSeconds)
{
    std::vector<ToolTipInfo> tips;
    Run([&](HWND box) {
        tips = DialogToolTips(box);
        PressButton(box, IDC_ABOUT_OK);
    });
    ASSERT_EQ(tips.size(), 3u);
    const wchar_t* texts[] = {L"私の詳細は秘密です", L"ダブルクリックすると作者にメールが送れます",
                              L"ダブルクリックするとホームページに飛びます"};
    const int ids[] = {IDC_ABOUT_MAKER, IDC_ABOUT_MAIL, IDC_ABOUT_HOME_PAGE};
    for (size_t i = 0; i < tips.size(); ++i) {
        EXPECT_EQ(tips[i].controlId, ids[i]);
        EXPECT_EQ(tips[i].text, texts[i]);
        EXPECT_EQ(tips[i].autoPopMs, 5000);
    }
}

TEST_F(AboutBoxTest, EscapeAndOtherCommandsLeaveItOpen)
{
    bool closed = Run([&](HWND box) {
        HWND ok = GetDlgItem(box, IDC_ABOUT_OK);
        PostMessageW(ok, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(StaysOpen(box)) << "Escape";
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(StaysOpen(box)) << "IDCANCEL";
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(StaysOpen(box)) << "IDOK is not the box's button";
        // A single click on a link line, and a double-click on the name line.
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_MAIL, STN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDC_ABOUT_MAIL)));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_MAKER, STN_DBLCLK),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDC_ABOUT_MAKER)));
        EXPECT_TRUE(StaysOpen(box)) << "clicks";
        PressButton(box, IDC_ABOUT_OK);
    });
    EXPECT_TRUE(closed);
}

TEST_F(AboutBoxTest, OkTheCloseBoxAndEnterCloseIt)
{
    struct Case {
        const char* what;
        std::function<void(HWND box)> press;
    } cases[] = {
        {"OK button", [](HWND box) { PressButton(box, IDC_ABOUT_OK); }},
        {"close box", [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"WM_CLOSE", [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); }},
        // Enter on the focused default button.
        {"Enter", [](HWND box) { PostMessageW(GetDlgItem(box, IDC_ABOUT_OK), WM_KEYDOWN, VK_RETURN, 0); }},
    };
    for (const Case& c : cases) {
        bool closed = Run(c.press);
        EXPECT_TRUE(closed) << c.what;
        EXPECT_TRUE(IsWindowEnabled(owner)) << c.what;
    }
}

TEST_F(AboutBoxTest, FailedReleasesAreReportedAndTheBoxStillCloses)
{
    reportsExpected = true;
    Made made = {};
    bool closed = Run([&](HWND box) {
        made = MadeBy(box);
        // Released behind the box's back: its own release then fails.
        DeleteObject(made.titleFont);
        DestroyIcon(made.smallIcon);
        PressButton(box, IDC_ABOUT_OK);
    });
    EXPECT_TRUE(closed);
    std::vector<SeenBox> seen = reports.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text.rfind(L"DeleteObject Error Code =", 0), 0u);
    EXPECT_EQ(seen[1].text.rfind(L"DestroyIcon Error Code =", 0), 0u);
    EXPECT_EQ(seen[0].owner, nullptr);
    EXPECT_EQ(GetObjectType(made.versionFont), 0u) << "the other font is still released";
    EXPECT_FALSE(IconAlive(made.largeIcon)) << "the other icon is still released";
}

TEST(AboutLinkTarget, OnlyADoubleClickOnTheMailOrHomePageLineOpensALink)
{
    const wchar_t* mail = L"Mailto:" TWK_MAKER_MAIL;
    const wchar_t* homePage = L"" TWK_HOME_PAGE;
    struct Case {
        int controlId;
        int notification;
        const wchar_t* target;
    } cases[] = {
        {IDC_ABOUT_MAIL, STN_DBLCLK, mail},       {IDC_ABOUT_HOME_PAGE, STN_DBLCLK, homePage},
        {IDC_ABOUT_MAIL, STN_CLICKED, nullptr},   {IDC_ABOUT_HOME_PAGE, STN_CLICKED, nullptr},
        {IDC_ABOUT_MAIL, STN_ENABLE, nullptr},    {IDC_ABOUT_HOME_PAGE, STN_DISABLE, nullptr},
        {IDC_ABOUT_MAKER, STN_DBLCLK, nullptr},   {IDC_ABOUT_MAKER, STN_CLICKED, nullptr},
        {IDC_ABOUT_SUMMARY, STN_DBLCLK, nullptr}, {IDC_ABOUT_OK, STN_DBLCLK, nullptr},
        {IDCANCEL, STN_DBLCLK, nullptr},
    };
    for (const Case& c : cases) {
        const wchar_t* target = AboutLinkTarget(c.controlId, c.notification);
        if (!c.target) {
            EXPECT_EQ(target, nullptr) << c.controlId << " " << c.notification;
            continue;
        }
        ASSERT_NE(target, nullptr) << c.controlId << " " << c.notification;
        EXPECT_STREQ(target, c.target);
    }
}

} // namespace
