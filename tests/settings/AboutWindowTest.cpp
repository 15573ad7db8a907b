// The About box of TWK64.exe end to end under Wine: open the settings window,
// press About, read the box from outside, close it with OK, close the
// settings window. And the links: with the shell's mailto and https handlers
// of the test prefix pointed at a command that writes down what it was given,
// double-clicks on the box's lines show what reaches the shell.
#include "res/ProductInfo.h"
#include "res/resource.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/RegistryOverride.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

using namespace twk_test;

namespace {

// Every process under Wine has an elevated token, this program's included.
const wchar_t kSettingsCaption[] = L"Tarnwick の設定(昇格中)";
const wchar_t kAboutCaption[] = L"Tarnwick のバージョン情報";
const DWORD kWindowWaitMs = 15000;

class AboutWindow : public ::testing::Test {
protected:
    // TWK64.exe without an argument, its settings window and, after About,
    // the About box.
    void OpenAbout()
    {
        twk.reset(new RunningProgram(BinPath(L"TWK64.exe"), L""));
        ASSERT_TRUE(twk->Started());
        settings = WaitForTopWindow(twk->Id(), L"#32770", kSettingsCaption, kWindowWaitMs);
        ASSERT_NE(settings, nullptr) << "no settings window";
        // Posted: the box is modal and the click returns only when it closes.
        PressButton(settings, IDC_SETTINGS_ABOUT);
        about = WaitForTopWindow(twk->Id(), L"#32770", kAboutCaption, kWindowWaitMs);
        ASSERT_NE(about, nullptr) << "no About box";
    }

    void CloseSettings()
    {
        PostMessageW(settings, WM_CLOSE, 0, 0);
        ASSERT_TRUE(twk->WaitExit(5000));
        EXPECT_EQ(twk->ExitCode(), 0u);
    }

    std::unique_ptr<RunningProgram> twk;
    HWND settings = nullptr;
    HWND about = nullptr;
};

TEST_F(AboutWindow, AboutOpensTheVersionBoxOverTheSettingsWindowAndOkClosesIt)
{
    OpenAbout();
    EXPECT_EQ(ControlText(about, IDC_ABOUT_TITLE), L"Tarnwick");
    EXPECT_EQ(ControlText(about, IDC_ABOUT_VERSION), L"Ver." TWK_VERSION_TEXT);
    EXPECT_EQ(ControlText(about, IDC_ABOUT_SUMMARY), L"コマンドでプロセスを終了させるソフトです");
    EXPECT_EQ(ControlText(about, IDC_ABOUT_MAKER), L"Tarnwick の開発者");
    EXPECT_EQ(ControlText(about, IDC_ABOUT_MAIL), L"E-Mail:" TWK_MAKER_MAIL);
    EXPECT_EQ(ControlText(about, IDC_ABOUT_HOME_PAGE), L"" TWK_HOME_PAGE);
    EXPECT_NE(SendDlgItemMessageW(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0), 0);
    EXPECT_EQ(GetWindow(about, GW_OWNER), settings);
    EXPECT_FALSE(IsWindowEnabled(settings));

    PressButton(about, IDC_ABOUT_OK);
    ASSERT_TRUE(WaitForWindowGone(about, 5000));
    // Destroyed, not just hidden: its icons and fonts have been released.
    for (int i = 0; i < 250 && IsWindow(about); ++i)
        Sleep(20);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(IsWindowEnabled(settings));
    EXPECT_TRUE(FindTopWindows(twk->Id(), L"#32770", L"Tarnwick").empty()) << "a failure was reported";
    CloseSettings();
}

// What the recording command has written so far, "" while nothing.
std::string Recorded(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string WaitForRecorded(const std::wstring& path)
{
    for (int i = 0; i < 250 && Recorded(path).empty(); ++i)
        Sleep(20);
    Sleep(200); // a second line, were there one, would come now
    return Recorded(path);
}

// A click or a double-click of the left button on a control of the box.
void Click(HWND dialog, int controlId, bool twice)
{
    HWND control = GetDlgItem(dialog, controlId);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    if (!twice)
        return;
    PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

TEST_F(AboutWindow, DoubleClicksOnTheMailAndHomePageLinesHandTheirLinksToTheShell)
{
    TempDirectory directory(L"twk-about");
    ASSERT_TRUE(directory.Created());
    std::wstring mailFile = directory / L"mail.txt";
    std::wstring webFile = directory / L"web.txt";
    // The shell runs the handler's command with %1 replaced by the link.
    auto recorder = [](const std::wstring& file) {
        return L"C:\\windows\\system32\\cmd.exe /c echo %1>>\"" + file + L"\"";
    };
    RegistryOverride mailto(HKEY_CLASSES_ROOT, L"mailto\\shell\\open\\command", L"", recorder(mailFile));
    RegistryOverride https(HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", L"", recorder(webFile));
    ASSERT_TRUE(mailto.Applied() && https.Applied());
    OpenAbout();

    // A single click on either link and a double-click on the name line open nothing.
    Click(about, IDC_ABOUT_MAIL, false);
    Click(about, IDC_ABOUT_HOME_PAGE, false);
    Click(about, IDC_ABOUT_MAKER, true);
    Sleep(1500);
    EXPECT_EQ(Recorded(mailFile), "");
    EXPECT_EQ(Recorded(webFile), "");

    Click(about, IDC_ABOUT_MAIL, true);
    EXPECT_EQ(WaitForRecorded(mailFile), "Mailto:" TWK_MAKER_MAIL "\r\n");
    Click(about, IDC_ABOUT_HOME_PAGE, true);
    EXPECT_EQ(WaitForRecorded(webFile), TWK_HOME_PAGE "\r\n");
    EXPECT_TRUE(IsWindowVisible(about)) << "the box stays open";

    PressButton(about, IDC_ABOUT_OK);
    ASSERT_TRUE(WaitForWindowGone(about, 5000));
    CloseSettings();
}

} // namespace
