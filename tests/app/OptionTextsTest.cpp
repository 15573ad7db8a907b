// The texts the command-line options add, and the progress window showing
// them in this process: the error box text, the progress lines and the
// result line for every way a run with options can end, each fitting its
// line of template 120.
#include "app/CommandLineSplit.h"
#include "app/OptionTexts.h"
#include "app/ProgressDialog.h"
#include "core/AppInstance.h"
#include "res/resource.h"
#include "tests/app/Line1Fit.h"
#include "tests/support/BoxAnswerer.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include <string>

using namespace twk_test;

namespace {

const wchar_t kAcceptedForms[] = L"\n\n"
                                 L"書式: [/all] [/wait:秒数] [/noforce] EXEのフルパス\n"
                                 L"/all : そのEXEのプロセスをすべて終了します\n"
                                 L"/wait:秒数 : 強制終了まで待つ秒数です（1～3600、既定は10）\n"
                                 L"/noforce : 強制終了はしません\n"
                                 L"オプションはEXEのパスの前に、空白で区切って書きます。";

CommandLineRequest Request(const wchar_t* argumentText)
{
    return SplitOptions(WideString(argumentText));
}

TerminationCounts Counts(int normally, int byForce, int wow, int leftRunning, int failed)
{
    return TerminationCounts{normally, byForce, wow, leftRunning, failed};
}

TEST(OptionTexts, ErrorBoxNamesTheTokenWhatIsWrongAndTheAcceptedForms)
{
    const std::wstring longToken = L"/" + std::wstring(200, L'x');
    struct Case {
        std::wstring argumentText;
        std::wstring text;
    } cases[] = {
        {L"/x C:\\a.exe", L"「/x」というオプションはありません。"},
        {L"/all /Force C:\\a.exe", L"「/Force」というオプションはありません。"},
        {L"/wait:0 C:\\a.exe", L"「/wait:0」の秒数が正しくありません。秒数は 1 から 3600 までの整数です。"},
        {L"/wait C:\\a.exe", L"「/wait」の秒数が正しくありません。秒数は 1 から 3600 までの整数です。"},
        {L"/all /wait:5", L"「/wait:5」の後に、終了するEXEのパスがありません。"},
        {L"/noforce \"\"", L"「/noforce」の後に、終了するEXEのパスがありません。"},
        // A very long token is shown by its beginning.
        {longToken + L" C:\\a.exe", L"「" + longToken.substr(0, 57) + L"...」というオプションはありません。"},
        {L"/" + std::wstring(59, L'y') + L" C:\\a.exe",
         L"「/" + std::wstring(59, L'y') + L"」というオプションはありません。"},
    };
    for (const Case& c : cases) {
        CommandLineRequest request = Request(c.argumentText.c_str());
        ASSERT_NE(request.error, OptionError::None) << c.argumentText.substr(0, 80);
        EXPECT_EQ(std::wstring(OptionErrorText(request).CStr()), c.text + kAcceptedForms)
            << c.argumentText.substr(0, 80);
    }
}

TEST(OptionTexts, ProgressLinesSayWhatIsUnderWayAndTheLimit)
{
    struct Case {
        const wchar_t* argumentText;
        const wchar_t* underWay;
        const wchar_t* timeLimit;
    } cases[] = {
        {L"/wait:2 C:\\a.exe", L"のプロセスを終了中", L"2秒待って、閉じなければ強制終了します"},
        {L"/all C:\\a.exe", L"のプロセスをすべて終了中", L"10秒待って、閉じなければ強制終了します"},
        {L"/noforce C:\\a.exe", L"のプロセスを終了中", L"10秒待ちます（強制終了はしません）"},
        {L"/all /noforce /wait:3600 C:\\a.exe", L"のプロセスをすべて終了中",
         L"3600秒待ちます（強制終了はしません）"},
    };
    for (const Case& c : cases) {
        CommandLineRequest request = Request(c.argumentText);
        EXPECT_STREQ(UnderWayText(request).CStr(), c.underWay) << c.argumentText;
        EXPECT_STREQ(TimeLimitText(request).CStr(), c.timeLimit) << c.argumentText;
    }
}

TEST(OptionTexts, ResultLineForEveryWayARunWithOptionsEnds)
{
    struct Case {
        const wchar_t* argumentText;
        TerminationCounts counts;
        const wchar_t* text;
    } cases[] = {
        // One instance: the usual texts, and one of ours for a process left running.
        {L"/wait:2 C:\\a.exe", Counts(0, 0, 0, 0, 0), L"のプロセスが見つかりません"},
        {L"/wait:2 C:\\a.exe", Counts(1, 0, 0, 0, 0), L"のプロセス終了はほぼ正常に行われました"},
        {L"/wait:2 C:\\a.exe", Counts(0, 1, 0, 0, 0), L"のプロセス終了を強制的に行いました"},
        {L"/wait:2 C:\\a.exe", Counts(0, 0, 0, 0, 1), L"のプロセス終了は失敗しました"},
        {L"/wait:2 C:\\a.exe", Counts(0, 0, 1, 0, 0), L"のプロセス終了をNT系16bit用の方法で行いました"},
        {L"/noforce C:\\a.exe", Counts(0, 0, 0, 1, 0), L"のプロセスは実行中のまま残しました"},
        {L"/noforce C:\\a.exe", Counts(1, 0, 0, 0, 0), L"のプロセス終了はほぼ正常に行われました"},
        // Every instance: how many ended which way; failures and 16-bit tasks when there are any.
        {L"/all C:\\a.exe", Counts(0, 0, 0, 0, 0), L"のプロセスが見つかりません"},
        {L"/all C:\\a.exe", Counts(2, 1, 0, 0, 0), L"のプロセス終了: 正常 2、強制 1"},
        {L"/all C:\\a.exe", Counts(1, 0, 0, 0, 0), L"のプロセス終了: 正常 1、強制 0"},
        {L"/all C:\\a.exe", Counts(0, 3, 0, 0, 2), L"のプロセス終了: 正常 0、強制 3、失敗 2"},
        {L"/all C:\\a.exe", Counts(1, 0, 2, 0, 0), L"のプロセス終了: 正常 1、強制 0、16bit 2"},
        {L"/all /noforce C:\\a.exe", Counts(2, 0, 0, 1, 0), L"のプロセス終了: 正常 2、実行中のまま 1"},
        {L"/all /noforce C:\\a.exe", Counts(0, 0, 0, 4, 1),
         L"のプロセス終了: 正常 0、実行中のまま 4、失敗 1"},
    };
    for (const Case& c : cases) {
        CommandLineRequest request = Request(c.argumentText);
        EXPECT_STREQ(OptionResultText(request, c.counts).CStr(), c.text) << c.argumentText;
    }
}

class OptionProgressDialog : public ::testing::Test {
protected:
    void SetUp() override { SetAppInstance(GetModuleHandleW(nullptr)); }
    void TearDown() override
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ;
    }
};

int ControlWidth(HWND dialog, int controlId)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, controlId), &rect);
    return rect.right - rect.left;
}

// The longest texts measured in the window's own font (every line shares
// line 1's): the limit in line 3, the results in line 2.
TEST_F(OptionProgressDialog, LongestTextsFitTheirLines)
{
    BoxAnswerer answerer;
    ProgressDialog dialog(WideString(L"C:\\a.exe"));
    const int line2 = ControlWidth(dialog.Window(), IDC_PROGRESS_STATUS);
    const int line3 = ControlWidth(dialog.Window(), IDC_PROGRESS_COUNTDOWN);
    ASSERT_GT(line3, 0);

    const wchar_t* limits[] = {L"/all /wait:3600 C:\\a.exe", L"/noforce /wait:3600 C:\\a.exe"};
    for (const wchar_t* argumentText : limits) {
        std::wstring text = TimeLimitText(Request(argumentText)).CStr();
        EXPECT_LE(WidthInLine1Font(text), line3) << argumentText;
    }
    struct Result {
        const wchar_t* argumentText;
        TerminationCounts counts;
    } results[] = {
        {L"/all C:\\a.exe", Counts(88, 88, 0, 0, 88)},
        {L"/all /noforce C:\\a.exe", Counts(88, 0, 0, 88, 88)},
        {L"/noforce C:\\a.exe", Counts(0, 0, 0, 1, 0)},
        {L"/all C:\\a.exe", Counts(0, 0, 0, 0, 0)},
    };
    for (const Result& r : results) {
        std::wstring text = OptionResultText(Request(r.argumentText), r.counts).CStr();
        EXPECT_LE(WidthInLine1Font(text), line2) << r.argumentText;
    }
    EXPECT_EQ(line2, Line1Width());
}

TEST_F(OptionProgressDialog, ShowsTheLimitWhileUnderWayThenTheResultInTheSameLayout)
{
    BoxAnswerer answerer;
    CommandLineRequest request = Request(L"/all /wait:2 \"C:\\Program Files\\app.exe\"");
    ProgressDialog dialog(request.target);
    HWND window = dialog.Window();
    dialog.ShowUnderWay(UnderWayText(request), TimeLimitText(request));

    EXPECT_EQ(WindowText(window), L"Tarnwick の経過");
    EXPECT_EQ(ControlText(window, IDC_PROGRESS_TARGET), L"C:\\Program Files\\app.exe");
    EXPECT_EQ(ControlText(window, IDC_PROGRESS_STATUS), L"のプロセスをすべて終了中");
    EXPECT_EQ(ControlText(window, IDC_PROGRESS_COUNTDOWN), L"2秒待って、閉じなければ強制終了します");
    EXPECT_TRUE(ControlVisible(window, IDC_PROGRESS_COUNTDOWN));
    EXPECT_FALSE(ControlVisible(window, IDC_PROGRESS_DISMISS));

    dialog.ShowResultText(OptionResultText(request, Counts(2, 1, 0, 0, 0)));
    EXPECT_EQ(WindowText(window), L"Tarnwick の結果");
    EXPECT_EQ(ControlText(window, IDC_PROGRESS_TARGET), L"C:\\Program Files\\app.exe");
    EXPECT_EQ(ControlText(window, IDC_PROGRESS_STATUS), L"のプロセス終了: 正常 2、強制 1");
    EXPECT_EQ(ControlText(window, IDC_PROGRESS_COUNTDOWN),
              L"このダイアログは表示から5秒後に自動的に消えます");
    EXPECT_TRUE(ControlVisible(window, IDC_PROGRESS_DISMISS));
    EXPECT_EQ(dialog.secondsLeft, 4);
    EXPECT_TRUE(answerer.Boxes().empty());
}

} // namespace
