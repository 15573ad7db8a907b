// TWK64.exe started without an argument, end to end under Wine: its settings
// window lists copies of the fixture twk_target.exe running from paths of
// this test, and is clicked, sorted, refreshed and closed from here as a
// user would.
#include "res/resource.h"
#include "tests/settings/SettingsWindowFixture.h"
#include "tests/support/ListViewDriver.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace twk_test;

namespace {

using SettingsWindow = SettingsWindowFixture;

std::vector<long> Numbers(const std::vector<std::wstring>& texts)
{
    std::vector<long> numbers;
    for (const std::wstring& text : texts)
        numbers.push_back(wcstol(text.c_str(), nullptr, 10));
    return numbers;
}

bool SortedByName(const std::vector<std::wstring>& names)
{
    for (size_t i = 1; i < names.size(); ++i) {
        if (lstrcmpW(names[i - 1].c_str(), names[i].c_str()) > 0)
            return false;
    }
    return true;
}

TEST_F(SettingsWindow, ListsRunningProgramsAndARefreshDropsOneThatEnded)
{
    std::unique_ptr<RunningProgram> spaced = StartCopy(L"設定 テスト\\twk target.exe");
    std::unique_ptr<RunningProgram> plain = StartCopy(L"plain\\twk_listed.exe");
    ASSERT_TRUE(spaced && plain);
    OpenSettings();

    ASSERT_GE(RowOf(*spaced), 0);
    EXPECT_EQ(ListRow(list, RowOf(*spaced)),
              (std::vector<std::wstring>{L"twk target.exe", L"64bit 昇格", std::to_wstring(spaced->Id()),
                                         directory / L"設定 テスト"}));
    ASSERT_GE(RowOf(*plain), 0);
    EXPECT_EQ(ListRow(list, RowOf(*plain)),
              (std::vector<std::wstring>{L"twk_listed.exe", L"64bit 昇格", std::to_wstring(plain->Id()),
                                         directory / L"plain"}));
    // TWK64.exe lists itself too; it opens sorted by image name.
    EXPECT_GE(RowOf(*twk), 0);
    EXPECT_TRUE(SortedByName(ListColumnTexts(list, 0)));
    EXPECT_EQ(SelectedListRow(list), -1);
    ExpectSelectionButtons(false, "opened");

    DWORD plainId = plain->Id();
    plain.reset(); // killed, and its handle closed
    ASSERT_TRUE(WaitForProcessGone(plainId, 5000));
    EXPECT_GE(RowOf(plainId), 0) << "rows stay until the next refresh";
    PressButton(dialog, IDC_SETTINGS_REFRESH);
    EXPECT_TRUE(WaitForRow(plainId, false));
    EXPECT_GE(RowOf(*spaced), 0);
    EXPECT_TRUE(SortedByName(ListColumnTexts(list, 0)));

    CloseSettings();
}

TEST_F(SettingsWindow, ClicksEnableTheButtonsAndADoubleClickShowsTheInformation)
{
    std::unique_ptr<RunningProgram> target = StartCopy(L"info\\twk_info.exe");
    ASSERT_TRUE(target);
    OpenSettings();
    // A window as large as the screen leaves room below the rows.
    SetWindowPos(dialog, nullptr, 0, 0, 1280, 800, SWP_NOZORDER);
    int rows = ListRowCount(list);
    RECT client = {};
    GetClientRect(list, &client);
    ASSERT_LT(ListRowPoint(list, rows - 1).y + 20, client.bottom)
        << "no empty area below " << rows << " rows";

    ClickListRow(list, RowOf(*target));
    EXPECT_EQ(SelectedListRow(list), RowOf(*target));
    ExpectSelectionButtons(true, "row clicked");

    ClickList(list, ListPointBelowRows(list));
    EXPECT_EQ(SelectedListRow(list), -1);
    ExpectSelectionButtons(false, "clicked below the rows");

    // The keyboard selects without touching the buttons.
    PressListKey(list, VK_DOWN);
    PressListKey(list, VK_DOWN);
    for (int i = 0; i < 100 && SelectedListRow(list) == -1; ++i)
        Sleep(20);
    EXPECT_NE(SelectedListRow(list), -1);
    ExpectSelectionButtons(false, "selected by keyboard");

    DoubleClickList(list, ListRowPoint(list, RowOf(*target)));
    HWND box = WaitForMessageBox(twk->Id(), kWindowWaitMs);
    ASSERT_NE(box, nullptr);
    std::wstring text = MessageBoxText(box);
    std::wstring prefix = L"64bit 昇格\n" + (directory / L"info\\twk_info.exe") + L"\n開始時間：";
    EXPECT_EQ(text.substr(0, prefix.size()), prefix);
    EXPECT_EQ(text.size(), prefix.size() + 23) << std::string(text.begin(), text.end());
    EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
    AnswerMessageBox(box, IDOK);
    ASSERT_TRUE(WaitForWindowGone(box, 5000));
    ExpectSelectionButtons(true, "double-clicked");

    // A double-click below the rows clears the selection and shows nothing.
    DoubleClickList(list, ListPointBelowRows(list));
    Sleep(700);
    EXPECT_TRUE(FindTopWindows(twk->Id(), L"#32770", L"Tarnwick").empty());
    EXPECT_EQ(SelectedListRow(list), -1);

    CloseSettings();
}

TEST_F(SettingsWindow, HeaderClicksSortAndARefreshKeepsTheSort)
{
    OpenSettings();
    ClickListHeader(list, 2);
    std::vector<long> ids = Numbers(ListColumnTexts(list, 2));
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    ClickListHeader(list, 2);
    ids = Numbers(ListColumnTexts(list, 2));
    EXPECT_TRUE(std::is_sorted(ids.rbegin(), ids.rend()));
    ClickListHeader(list, 2);
    ids = Numbers(ListColumnTexts(list, 2));
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));

    ClickListHeader(list, 3);
    ClickListHeader(list, 0);
    EXPECT_TRUE(SortedByName(ListColumnTexts(list, 0)));

    ClickListHeader(list, 2);
    ClickListHeader(list, 2);
    PressButton(dialog, IDC_SETTINGS_REFRESH);
    Sleep(500);
    ids = Numbers(ListColumnTexts(list, 2));
    EXPECT_TRUE(std::is_sorted(ids.rbegin(), ids.rend()));

    CloseSettings();
}

TEST_F(SettingsWindow, EscapeDoesNothingAndEnterOnTheListCloses)
{
    OpenSettings();
    PressListKey(list, VK_ESCAPE);
    EXPECT_FALSE(twk->WaitExit(700));
    EXPECT_TRUE(IsWindowVisible(dialog));

    PressListKey(list, VK_RETURN);
    ASSERT_TRUE(twk->WaitExit(5000));
    EXPECT_EQ(twk->ExitCode(), 0u);
}

} // namespace
