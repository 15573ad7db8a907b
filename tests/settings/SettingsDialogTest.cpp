// The settings dialog inside the test process, created modeless from the
// program's own template 110: what it shows when it opens, the rows it builds
// from snapshots made by hand (skipped entries, 16-bit tasks, long and quoted
// paths), the information box, and the layout that follows the window size.
#include "core/AppInstance.h"
#include "res/resource.h"
#include "settings/ProcessListView.h"
#include "settings/SettingsDialog.h"
#include "tests/support/BoxAnswerer.h"
#include "tests/support/ListViewDriver.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/ToolTipReader.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace twk_test;

namespace {

const int kSelectionButtons[] = {IDC_SETTINGS_INFO, IDC_SETTINGS_TEST_RUN, IDC_SETTINGS_SHORTCUT,
                                 IDC_SETTINGS_COPY_COMMAND};
const int kAlwaysEnabledButtons[] = {IDC_SETTINGS_REFRESH, IDC_SETTINGS_ABOUT, IDC_SETTINGS_CLOSE};

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetAppInstance(GetModuleHandleW(nullptr));
        dialog.ownElevation = ElevationKind::Default;
        SettingsDialog::active = &dialog;
        window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), nullptr,
                                    SettingsDialogProc, 0);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOW);
        list = GetDlgItem(window, IDC_SETTINGS_LIST);
    }

    void TearDown() override
    {
        if (window)
            DestroyWindow(window);
        SettingsDialog::active = nullptr;
        if (boxesExpected)
            return;
        for (const SeenBox& box : boxes.Boxes())
            ADD_FAILURE() << "unexpected box: " << std::string(box.text.begin(), box.text.end());
    }

    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(window, id)) != FALSE; }

    void ExpectSelectionButtons(bool enabled)
    {
        for (int id : kSelectionButtons)
            EXPECT_EQ(Enabled(id), enabled) << id;
        for (int id : kAlwaysEnabledButtons)
            EXPECT_TRUE(Enabled(id)) << id;
    }

    void Select(int row)
    {
        LVITEMW state = {};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }

    // What a click on a column header tells the dialog.
    void ClickColumn(int column)
    {
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = list;
        click.hdr.idFrom = IDC_SETTINGS_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageW(window, WM_NOTIFY, IDC_SETTINGS_LIST, reinterpret_cast<LPARAM>(&click));
    }

    RECT ChildRect(int id)
    {
        RECT rect = {};
        GetWindowRect(GetDlgItem(window, id), &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    SIZE WindowSize()
    {
        RECT rect = {};
        GetWindowRect(window, &rect);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }

    // Answers every box; a case that expects none fails when one was shown.
    BoxAnswerer boxes;
    bool boxesExpected = false;
    SettingsDialog dialog;
    HWND window = nullptr;
    HWND list = nullptr;
};

TEST_F(SettingsDialogTest, OpensWithCaptionColumnsToolTipsAndNothingSelected)
{
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(caption, L"Tarnwick の設定");
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);

    const ListColumnInfo expected[] = {
        {L"イメージ名", 100, LVCFMT_LEFT},
        {L"属性", 40, LVCFMT_LEFT},
        {L"PID", 45, LVCFMT_RIGHT},
        {L"ディレクトリ", 260, LVCFMT_LEFT},
    };
    ASSERT_EQ(ListColumnCount(list), 4);
    for (int i = 0; i < 4; ++i) {
        ListColumnInfo column = ListColumn(list, i);
        EXPECT_EQ(column.header, expected[i].header);
        EXPECT_EQ(column.width, expected[i].width) << i;
        EXPECT_EQ(column.format, expected[i].format) << i;
    }
    DWORD wanted = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
    EXPECT_EQ(ListExtendedStyle(list) & wanted, wanted);

    // The first fill lists this very process, sorted by name.
    int own = FindListRow(list, 2, std::to_wstring(GetCurrentProcessId()));
    ASSERT_GE(own, 0);
    std::wstring ownPath = BinPath(L"settings_tests.exe");
    std::vector<std::wstring> row = ListRow(list, own);
    EXPECT_EQ(row[0], L"settings_tests.exe");
    EXPECT_EQ(row[1], L"64bit 昇格");
    EXPECT_EQ(row[3], ownPath.substr(0, ownPath.rfind(L'\\')));
    std::vector<std::wstring> names = ListColumnTexts(list, 0);
    for (size_t i = 1; i < names.size(); ++i)
        EXPECT_LE(lstrcmpW(names[i - 1].c_str(), names[i].c_str()), 0) << i;
    EXPECT_EQ(SelectedListRow(list), -1);
    ExpectSelectionButtons(false);

    std::vector<std::wstring> texts;
    for (const ToolTipInfo& tip : DialogToolTips(window)) {
        texts.push_back(tip.text);
        EXPECT_EQ(tip.autoPopMs, 5000);
    }
    std::sort(texts.begin(), texts.end());
    std::vector<std::wstring> expectedTexts{L"ダブルクリックすると情報表示されます",
                                            L"TWK*.exe を移動した場合再作成が必要です",
                                            L"TWK*.exe を移動した場合再設定が必要です"};
    std::sort(expectedTexts.begin(), expectedTexts.end());
    EXPECT_EQ(texts, expectedTexts);
}

TEST_F(SettingsDialogTest, RowsComeFromEntriesThatMayBeEndedWithWholePaths)
{
    std::wstring longDirectory = L"C:\\" + std::wstring(150, L'd') + L"\\" + std::wstring(150, L'e');
    std::wstring longName = std::wstring(120, L'n') + L".exe";
    dialog.snapshot.count = 0;
    dialog.snapshot.Add(WideString(L"C:\\Program Files\\設定 テスト\\長い名前.exe"), 4242,
                        BitnessKind::Bits64, ElevationKind::Elevated, true);
    dialog.snapshot.Add(WideString(L"C:\\locked\\locked.exe"), 77, BitnessKind::Bits64,
                        ElevationKind::Default, false);
    dialog.snapshot.Add(WideString(L"C:\\WIN16\\OLDAPP.EXE"), -300, BitnessKind::Task16,
                        ElevationKind::Default, true);
    dialog.snapshot.Add(WideString((longDirectory + L"\\" + longName).c_str()), 9000, BitnessKind::Bits32,
                        ElevationKind::Limited, true);
    dialog.snapshot.Add(WideString(L"  \"C:\\x y\\quoted.exe\"  "), 31, BitnessKind::Unknown,
                        ElevationKind::Default, true);
    dialog.snapshot.Add(WideString(L"C:\\root.exe"), 32, BitnessKind::Bits64, ElevationKind::Default, true);
    dialog.FillList();

    struct Row {
        std::wstring name, attributes, pid, directory;
    };
    const Row expected[] = {
        {L"長い名前.exe", L"64bit 昇格", L"4242", L"C:\\Program Files\\設定 テスト"},
        {L"OLDAPP.EXE", L"16bit", L"", L"C:\\WIN16"},
        {longName, L"32bit", L"9000", longDirectory},
        {L"quoted.exe", L"", L"31", L"C:\\x y"},
        {L"root.exe", L"64bit", L"32", L"C:\\"},
    };
    ASSERT_EQ(ListRowCount(list), 5);
    EXPECT_EQ(FindListRow(list, 0, L"locked.exe"), -1);
    for (const Row& r : expected) {
        int row = FindListRow(list, 0, r.name);
        ASSERT_GE(row, 0) << std::string(r.name.begin(), r.name.end());
        EXPECT_EQ(ListRow(list, row), (std::vector<std::wstring>{r.name, r.attributes, r.pid, r.directory}));
    }

    // By PID: the 16-bit task counts as 0 and comes first; three clicks on
    // the same header go ascending, descending, ascending.
    ClickColumn(2);
    EXPECT_EQ(dialog.sortKey, 3);
    EXPECT_EQ(ListColumnTexts(list, 2), (std::vector<std::wstring>{L"", L"31", L"32", L"4242", L"9000"}));
    ClickColumn(2);
    EXPECT_EQ(dialog.sortKey, -3);
    EXPECT_EQ(ListColumnTexts(list, 2), (std::vector<std::wstring>{L"9000", L"4242", L"32", L"31", L""}));
    ClickColumn(2);
    EXPECT_EQ(ListColumnTexts(list, 2), (std::vector<std::wstring>{L"", L"31", L"32", L"4242", L"9000"}));
    ClickColumn(1);
    EXPECT_EQ(dialog.sortKey, 2);
    EXPECT_EQ(ListCellText(list, 0, 1), L"");
    EXPECT_EQ(ListCellText(list, 4, 1), L"64bit 昇格");

    // A refresh from the same entries keeps the sort in effect.
    ClickColumn(2);
    ClickColumn(2);
    dialog.FillList();
    EXPECT_EQ(dialog.sortKey, -3);
    EXPECT_EQ(ListColumnTexts(list, 2), (std::vector<std::wstring>{L"9000", L"4242", L"32", L"31", L""}));
}

TEST_F(SettingsDialogTest, SelectionEnablesButtonsAndEverySkippedEntryEmptiesTheList)
{
    ASSERT_GT(ListRowCount(list), 0);
    Select(0);
    dialog.UpdateButtons();
    ExpectSelectionButtons(true);

    dialog.snapshot.count = 0;
    dialog.snapshot.Add(WideString(L"C:\\a\\a.exe"), 10, BitnessKind::Bits64, ElevationKind::Default, false);
    dialog.snapshot.Add(WideString(L"C:\\b\\b.exe"), 11, BitnessKind::Bits64, ElevationKind::Default, false);
    dialog.FillList();
    EXPECT_EQ(ListRowCount(list), 0);
    EXPECT_EQ(dialog.SelectedIndex(), -1);
    ExpectSelectionButtons(false);
}

TEST_F(SettingsDialogTest, InformationBoxShowsAttributesPathAndStartTime)
{
    // A process that runs (this one) and one that has gone since the list
    // was filled: its start time is empty.
    dialog.snapshot.count = 0;
    std::wstring ownPath = L"  " + BinPath(L"settings_tests.exe");
    dialog.snapshot.Add(WideString(ownPath.c_str()), static_cast<int>(GetCurrentProcessId()),
                        BitnessKind::Bits64, ElevationKind::Elevated, true);
    dialog.snapshot.Add(WideString(L"C:\\gone\\gone.exe"), 0x7FFFFFF0, BitnessKind::Bits32,
                        ElevationKind::Default, true);
    dialog.FillList();

    boxesExpected = true;
    Select(FindListRow(list, 0, L"settings_tests.exe"));
    SendMessageW(window, WM_COMMAND, IDC_SETTINGS_INFO, 0);
    Select(FindListRow(list, 0, L"gone.exe"));
    SendMessageW(window, WM_COMMAND, IDC_SETTINGS_INFO, 0);

    std::vector<SeenBox> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    std::wstring prefix = L"64bit 昇格\n" + ownPath + L"\n開始時間：";
    ASSERT_EQ(seen[0].text.substr(0, prefix.size()), prefix);
    std::wstring time = seen[0].text.substr(prefix.size());
    ASSERT_EQ(time.size(), 23u) << std::string(time.begin(), time.end());
    EXPECT_EQ(time.substr(4, 1) + time.substr(7, 1) + time.substr(10, 1) + time.substr(13, 1) +
                  time.substr(16, 1) + time.substr(19, 1),
              L"// ::.");
    EXPECT_EQ(seen[0].icon, BoxIcon::Information);
    EXPECT_EQ(seen[0].owner, window);
    EXPECT_EQ(seen[1].text, L"32bit\nC:\\gone\\gone.exe\n開始時間：");
}

// The rectangle one of ids had when the window opened.
RECT ChildRectAtOpening(const int* ids, const std::vector<RECT>& rects, int id)
{
    for (size_t i = 0; i < rects.size(); ++i) {
        if (ids[i] == id)
            return rects[i];
    }
    return RECT{};
}

TEST_F(SettingsDialogTest, ListGrowsAndButtonsMoveDownWithTheWindowButNeverBelowItsOpeningSize)
{
    const int ids[] = {IDC_SETTINGS_INFO,     IDC_SETTINGS_REFRESH, IDC_SETTINGS_TEST_RUN,
                       IDC_SETTINGS_SHORTCUT, IDC_SETTINGS_ABOUT,   IDC_SETTINGS_COPY_COMMAND,
                       IDC_SETTINGS_CLOSE};
    // Each button follows the first button of its row: 1107 stands one
    // dialog unit lower than 1105 in the template and lines up with it once
    // the window is resized.
    const int rowOf[] = {IDC_SETTINGS_INFO,  IDC_SETTINGS_INFO,  IDC_SETTINGS_TEST_RUN, IDC_SETTINGS_TEST_RUN,
                         IDC_SETTINGS_ABOUT, IDC_SETTINGS_ABOUT, IDC_SETTINGS_CLOSE};
    SIZE opening = WindowSize();
    RECT listAtOpening = ChildRect(IDC_SETTINGS_LIST);
    std::vector<RECT> buttonsAtOpening;
    for (int id : ids)
        buttonsAtOpening.push_back(ChildRect(id));
    HWND prompt = GetWindow(list, GW_HWNDPREV);
    RECT promptAtOpening = {};
    GetWindowRect(prompt, &promptAtOpening);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&promptAtOpening), 2);

    // The layout for whatever size the window ends up with.
    auto expectLayoutFor = [&](const char* what) {
        SIZE now = WindowSize();
        int dW = now.cx - opening.cx;
        int dH = now.cy - opening.cy;
        RECT listNow = ChildRect(IDC_SETTINGS_LIST);
        EXPECT_EQ(listNow.left, listAtOpening.left) << what;
        EXPECT_EQ(listNow.top, listAtOpening.top) << what;
        EXPECT_EQ(listNow.right - listNow.left, listAtOpening.right - listAtOpening.left + dW) << what;
        EXPECT_EQ(listNow.bottom - listNow.top, listAtOpening.bottom - listAtOpening.top + dH) << what;
        for (size_t i = 0; i < buttonsAtOpening.size(); ++i) {
            RECT before = buttonsAtOpening[i];
            RECT after = ChildRect(ids[i]);
            int rowTop = ChildRectAtOpening(ids, buttonsAtOpening, rowOf[i]).top;
            EXPECT_EQ(after.left, before.left) << what << " " << ids[i];
            EXPECT_EQ(after.right, before.right) << what << " " << ids[i];
            EXPECT_EQ(after.top, rowTop + dH) << what << " " << ids[i];
            EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << what << " " << ids[i];
        }
        RECT promptNow = {};
        GetWindowRect(prompt, &promptNow);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&promptNow), 2);
        EXPECT_TRUE(EqualRect(&promptNow, &promptAtOpening)) << what;
    };

    SetWindowPos(window, nullptr, 0, 0, opening.cx + 150, opening.cy + 90, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowSize().cx, opening.cx + 150);
    EXPECT_EQ(WindowSize().cy, opening.cy + 90);
    expectLayoutFor("enlarged");

    SetWindowPos(window, nullptr, 0, 0, opening.cx - 60, opening.cy - 40, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowSize().cx, opening.cx);
    EXPECT_EQ(WindowSize().cy, opening.cy);
    expectLayoutFor("shrunk");

    SetWindowPos(window, nullptr, 0, 0, 20000, 20000, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GT(WindowSize().cx, opening.cx);
    expectLayoutFor("very large");

    SetWindowPos(window, nullptr, 0, 0, opening.cx, opening.cy, SWP_NOMOVE | SWP_NOZORDER);
    expectLayoutFor("back");
    RECT listBack = ChildRect(IDC_SETTINGS_LIST);
    EXPECT_TRUE(EqualRect(&listAtOpening, &listBack));

    MINMAXINFO limits = {};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, opening.cx);
    EXPECT_EQ(limits.ptMinTrackSize.y, opening.cy);
}

} // namespace
