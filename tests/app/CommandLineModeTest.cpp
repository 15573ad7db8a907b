// TWK64.exe started with an argument, end to end under Wine: it ends copies
// of the fixture twk_target.exe and its window is read and pressed from here
// as a user would see and press it.
#include "res/resource.h"
#include "tests/app/Line1Fit.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/ResultWindow.h"
#include "tests/support/StoredText.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace twk_test;

namespace {

const wchar_t kProgressCaption[] = L"Tarnwick の経過";
const wchar_t kUnderWay[] = L"のプロセスを終了中";
const wchar_t kNotFound[] = L"のプロセスが見つかりません";
const wchar_t kEndedNormally[] = L"のプロセス終了はほぼ正常に行われました";
const wchar_t kEndedByForce[] = L"のプロセス終了を強制的に行いました";
const wchar_t kClosing[] = L"このダイアログは消えます";
const wchar_t kNoSuchExe[] = L"プロセスのEXEが存在しません";

const DWORD kWindowWaitMs = 15000;
const DWORD kExitWaitMs = 5000;

std::wstring CountdownText(int seconds)
{
    return L"このダイアログは表示から" + std::to_wstring(seconds) + L"秒後に自動的に消えます";
}

std::unique_ptr<RunningProgram> StartTwk(const std::wstring& argument)
{
    return std::unique_ptr<RunningProgram>(new RunningProgram(BinPath(L"TWK64.exe"), argument));
}

HWND WaitForResult(RunningProgram& twk, DWORD timeoutMs = kWindowWaitMs)
{
    return WaitForResultWindow(twk.Id(), timeoutMs);
}

// Presses "今消す" and expects the program to end with exit code 0.
void Dismiss(RunningProgram& twk, HWND result)
{
    PressButton(result, IDC_PROGRESS_DISMISS);
    ASSERT_TRUE(twk.WaitExit(kExitWaitMs));
    EXPECT_EQ(twk.ExitCode(), 0u);
}

// A copy of the fixture at a path of its own, under a directory of the test.
class CommandLineModeTarget : public ::testing::Test {
protected:
    CommandLineModeTarget() : directory(L"twk-cmdline") {}
    void SetUp() override { ASSERT_TRUE(directory.Created()); }

    std::wstring Copy(const std::wstring& relative)
    {
        std::wstring path = directory / relative;
        EXPECT_TRUE(CopyFileCreatingDirectories(TargetProgramPath(), path)) << path;
        return path;
    }

    TempDirectory directory;
};

TEST(CommandLineMode, NotFoundCountsDownInAsciiDigitsAndClosesAboutFiveSecondsLater)
{
    const std::wstring name = L"twk-no-such-program.exe";
    std::unique_ptr<RunningProgram> twk = StartTwk(name);
    HWND result = WaitForResult(*twk);
    ASSERT_NE(result, nullptr);
    DWORD shownAt = GetTickCount();

    EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_TARGET), name);
    EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_STATUS), kNotFound);
    EXPECT_TRUE(ControlVisible(result, IDC_PROGRESS_DISMISS));
    EXPECT_TRUE(GetWindowLongW(result, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Every text line 3 shows until the window goes, with the time it came.
    struct Seen {
        std::wstring text;
        DWORD at;
    };
    std::vector<Seen> seen;
    while (IsWindow(result) && IsWindowVisible(result) && GetTickCount() - shownAt < 15000) {
        std::wstring text = StoredControlText(result, IDC_PROGRESS_COUNTDOWN);
        if (IsWindow(result) && (seen.empty() || seen.back().text != text))
            seen.push_back({text, GetTickCount() - shownAt});
        Sleep(10);
    }
    DWORD goneAfter = GetTickCount() - shownAt;

    ASSERT_GE(seen.size(), 5u);
    for (int count = 5; count >= 1; --count) {
        const Seen& step = seen[5 - count];
        EXPECT_EQ(step.text, CountdownText(count));
        if (count < 5) {
            DWORD gap = step.at - seen[4 - count].at;
            EXPECT_GE(gap, 500u) << count;
            EXPECT_LE(gap, 1600u) << count;
        }
    }
    // The last text stands only until the posted close is handled.
    for (size_t i = 5; i < seen.size(); ++i)
        EXPECT_EQ(seen[i].text, kClosing);
    EXPECT_GE(goneAfter, 4000u);
    EXPECT_LE(goneAfter, 8000u);
    ASSERT_TRUE(twk->WaitExit(kExitWaitMs));
    EXPECT_EQ(twk->ExitCode(), 0u);
}

TEST(CommandLineMode, DismissOrCloseEndsAtOnceMidCountdown)
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
        std::unique_ptr<RunningProgram> twk = StartTwk(L"twk-no-such-program.exe");
        HWND result = WaitForResult(*twk);
        ASSERT_NE(result, nullptr) << c.way;
        ASSERT_EQ(WaitForStoredText(result, IDC_PROGRESS_COUNTDOWN, CountdownText(4), 3000),
                  CountdownText(4));
        DWORD start = GetTickCount();
        PostMessageW(c.toButton ? GetDlgItem(result, IDC_PROGRESS_DISMISS) : result, c.message, c.wParam, 0);
        ASSERT_TRUE(twk->WaitExit(kExitWaitMs)) << c.way;
        EXPECT_LT(GetTickCount() - start, 1500u) << c.way;
        EXPECT_EQ(twk->ExitCode(), 0u) << c.way;
    }
}

TEST_F(CommandLineModeTarget, EndsTheRunningTargetPolitelyWhateverTheArgumentsShape)
{
    struct Case {
        const wchar_t* relative;
        bool quoted;
        bool upperCase;
    } cases[] = {
        {L"plain\\twk_target.exe", false, false},
        {L"dir with spaces\\twk target.exe", true, false},
        {L"more spaces\\the twk target.exe", false, false},
        {L"case\\twk_target.exe", false, true},
        {L"長い名前のディレクトリ\\もう一つのディレクトリ\\さらに深いディレクトリ\\目標のプログラム.exe",
         false, false},
    };
    for (const Case& c : cases) {
        std::wstring path = Copy(c.relative);
        std::unique_ptr<RunningProgram> target = StartTarget(path, L"close");
        ASSERT_TRUE(target) << path;

        std::wstring argument = path;
        if (c.upperCase)
            CharUpperW(&argument[0]);
        if (c.quoted)
            argument = L"  \"" + argument + L"\"  ";
        std::unique_ptr<RunningProgram> twk = StartTwk(argument);
        HWND result = WaitForResult(*twk);
        ASSERT_NE(result, nullptr) << argument;

        EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_STATUS), kEndedNormally) << argument;
        std::wstring line1 = StoredControlText(result, IDC_PROGRESS_TARGET);
        EXPECT_EQ(line1, ExpectedLine1(argument)) << argument;
        EXPECT_EQ(line1.find(L'"'), std::wstring::npos) << "shown without quotes";
        EXPECT_LT(WidthInLine1Font(line1), Line1Width()) << line1;
        EXPECT_TRUE(target->WaitExit(2000)) << path;
        EXPECT_EQ(target->ExitCode(), 0u) << "it closed itself on WM_CLOSE";
        Dismiss(*twk, result);
    }
}

TEST_F(CommandLineModeTarget, ShowsProgressWhileTheTargetTakesItsTimeToClose)
{
    std::wstring path = Copy(L"slow\\twk_target.exe");
    std::unique_ptr<RunningProgram> target = StartTarget(path, L"delay 3000");
    ASSERT_TRUE(target);
    std::unique_ptr<RunningProgram> twk = StartTwk(path);

    // The thread is busy now: read what the window keeps, without asking it.
    HWND progress = WaitForStoredCaption(twk->Id(), L"#32770", kProgressCaption, kWindowWaitMs);
    ASSERT_NE(progress, nullptr);
    DWORD progressSeen = GetTickCount();
    EXPECT_EQ(StoredControlText(progress, IDC_PROGRESS_TARGET), ExpectedLine1(path));
    EXPECT_EQ(StoredControlText(progress, IDC_PROGRESS_STATUS), kUnderWay);
    EXPECT_FALSE(ControlVisible(progress, IDC_PROGRESS_COUNTDOWN));
    EXPECT_FALSE(ControlVisible(progress, IDC_PROGRESS_DISMISS));
    EXPECT_TRUE(GetWindowLongW(progress, GWL_EXSTYLE) & WS_EX_TOPMOST);

    HWND result = WaitForResult(*twk);
    ASSERT_EQ(result, progress) << "the same window turns into the result";
    EXPECT_GE(GetTickCount() - progressSeen, 1500u);
    EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_STATUS), kEndedNormally);
    EXPECT_TRUE(ControlVisible(result, IDC_PROGRESS_COUNTDOWN));
    EXPECT_TRUE(target->WaitExit(2000));
    Dismiss(*twk, result);
}

TEST_F(CommandLineModeTarget, EndsATargetThatIgnoresCloseByForceAfterTheTenSecondLimit)
{
    std::wstring path = Copy(L"stubborn\\twk_target.exe");
    std::unique_ptr<RunningProgram> target = StartTarget(path, L"ignore");
    ASSERT_TRUE(target);
    DWORD start = GetTickCount();
    std::unique_ptr<RunningProgram> twk = StartTwk(path);
    HWND result = WaitForResult(*twk, 40000);
    ASSERT_NE(result, nullptr);
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 9500u) << "the target had its ten seconds";
    EXPECT_LE(took, 25000u);
    EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_STATUS), kEndedByForce);
    EXPECT_TRUE(target->WaitExit(2000));
    Dismiss(*twk, result);
}

TEST_F(CommandLineModeTarget, RejectsATargetPathThatDoesNotExistWithExitCodeOne)
{
    std::wstring existing = Copy(L"exists\\twk_target.exe");
    const std::wstring arguments[] = {
        L"C:\\no\\such\\program.exe",
        L"\"C:\\no such directory\\program.exe\"",
        L"C:\\no such directory\\program.exe",
        L"C:\\" + std::wstring(300, L'a') + L"\\program.exe", // longer than MAX_PATH
        L"C:\\" + std::wstring(3000, L'b') + L"\\" + std::wstring(3000, L'c') + L"\\program.exe",
        L"\\\\nosuchserver\\share\\x.exe",
        L"runas " + existing, // an elevated token keeps "runas " in the target
        L"\"" + existing,     // a lone leading quote takes the last character with it
        existing + L"\"",     // a lone trailing quote stays
        L"\"C:\\no\\such\\\"program.exe\"",
    };
    for (const std::wstring& argument : arguments) {
        std::unique_ptr<RunningProgram> twk = StartTwk(argument);
        HWND box = WaitForMessageBox(twk->Id(), 30000);
        ASSERT_NE(box, nullptr) << argument.substr(0, 80);
        EXPECT_EQ(MessageBoxText(box), kNoSuchExe);
        // Icon handles cannot be compared across processes: only its presence.
        EXPECT_NE(MessageBoxIcon(box), BoxIcon::None);
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "no owner window";
        EXPECT_TRUE(FindTopWindows(twk->Id(), L"#32770", nullptr).size() == 1u) << "no progress window";
        AnswerMessageBox(box, IDOK);
        ASSERT_TRUE(twk->WaitExit(kExitWaitMs)) << argument.substr(0, 80);
        EXPECT_EQ(twk->ExitCode(), 1u) << argument.substr(0, 80);
    }
    EXPECT_TRUE(DeleteFileW(LongPathForm(existing).c_str())) << "no process of it was started or left";
}

TEST_F(CommandLineModeTarget, AcceptsExistingPathsAndBareNamesThatNoProcessRuns)
{
    std::wstring notRunning = Copy(L"idle\\twk_target.exe");
    std::wstring spaced = directory / L"a directory with spaces";
    ASSERT_TRUE(CreateDirectoryW(spaced.c_str(), nullptr));
    struct Case {
        std::wstring argument;
        std::wstring line1; // empty: as fitted from the argument
    } cases[] = {
        {notRunning, L""},
        {directory.Path(), L""}, // an existing directory passes the check
        {L"\"" + spaced + L"\"", L""},
        {L"runas", L"runas"}, // no relaunch, no backslash: a bare name
        {L"twk-no-such-program.exe", L"twk-no-such-program.exe"},
        {L"C:/windows/notepad.exe", L"C:/windows/notepad.exe"}, // no backslash, so no check
        {L"\"", L""},                                           // lone quote: an empty target
    };
    for (const Case& c : cases) {
        std::unique_ptr<RunningProgram> twk = StartTwk(c.argument);
        HWND result = WaitForResult(*twk);
        ASSERT_NE(result, nullptr) << c.argument;
        EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_STATUS), kNotFound) << c.argument;
        std::wstring expected = c.line1.empty() ? ExpectedLine1(c.argument) : c.line1;
        EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_TARGET), expected) << c.argument;
        EXPECT_EQ(WaitForMessageBox(twk->Id(), 0), nullptr) << "no box";
        Dismiss(*twk, result);
    }
}

TEST_F(CommandLineModeTarget, ExistingPathLongerThanMaxPathIsCheckedOrNotFoundNeverACrash)
{
    std::wstring deep = directory / (std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e'));
    std::wstring path = deep + L"\\twk_target.exe";
    ASSERT_TRUE(CopyFileCreatingDirectories(TargetProgramPath(), path));
    ASSERT_GT(path.size(), static_cast<size_t>(MAX_PATH));

    std::unique_ptr<RunningProgram> twk = StartTwk(path);
    // Windows' own limit fails the existence check (the box, exit code 1);
    // a system without the limit finds no process of it (exit code 0).
    HWND result = WaitForResult(*twk, kWindowWaitMs);
    if (result) {
        EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_STATUS), kNotFound);
        EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_TARGET), ExpectedLine1(path));
        EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_TARGET).rfind(L"C:\\...\\", 0), 0u);
        Dismiss(*twk, result);
    } else {
        HWND box = WaitForMessageBox(twk->Id(), 0);
        ASSERT_NE(box, nullptr) << "neither the result nor the box";
        EXPECT_EQ(MessageBoxText(box), kNoSuchExe);
        AnswerMessageBox(box, IDOK);
        ASSERT_TRUE(twk->WaitExit(kExitWaitMs));
        EXPECT_EQ(twk->ExitCode(), 1u);
    }
}

// The options before the target: "/all", "/wait:N", "/noforce".

const wchar_t kAllUnderWay[] = L"のプロセスをすべて終了中";

// Line 3 of the progress window once the limit is shown in it.
void ExpectLimitShown(HWND progress, const std::wstring& limit)
{
    EXPECT_EQ(WaitForStoredText(progress, IDC_PROGRESS_COUNTDOWN, limit, 3000), limit);
    EXPECT_TRUE(ControlVisible(progress, IDC_PROGRESS_COUNTDOWN));
    EXPECT_FALSE(ControlVisible(progress, IDC_PROGRESS_DISMISS));
}

TEST_F(CommandLineModeTarget, AllAsksEveryInstanceAtOnceAndForcesThoseStillRunningAtTheLimit)
{
    std::wstring path = Copy(L"all of them\\twk target.exe");
    auto polite = StartTarget(path, L"close");
    auto stubborn = StartTarget(path, L"ignore");
    auto hidden = StartTarget(path, L"hidden");
    auto bystander = StartTarget(Copy(L"bystander\\twk target.exe"), L"close");
    ASSERT_TRUE(polite && stubborn && hidden && bystander);

    DWORD start = GetTickCount();
    std::unique_ptr<RunningProgram> twk = StartTwk(L"/all /wait:2 \"" + path + L"\"");
    HWND progress = WaitForStoredCaption(twk->Id(), L"#32770", kProgressCaption, kWindowWaitMs);
    ASSERT_NE(progress, nullptr);
    ExpectLimitShown(progress, L"2秒待って、閉じなければ強制終了します");
    EXPECT_EQ(StoredControlText(progress, IDC_PROGRESS_STATUS), kAllUnderWay);
    EXPECT_EQ(StoredControlText(progress, IDC_PROGRESS_TARGET), ExpectedLine1(path));

    HWND result = WaitForResult(*twk, 30000);
    ASSERT_EQ(result, progress);
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 1900u) << "the stubborn one had its two seconds";
    EXPECT_LE(took, 15000u);
    EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_STATUS), L"のプロセス終了: 正常 2、強制 1");
    EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_TARGET), ExpectedLine1(path));
    EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_COUNTDOWN).rfind(L"このダイアログは表示から", 0), 0u);
    for (RunningProgram* target : {polite.get(), stubborn.get(), hidden.get()}) {
        ASSERT_TRUE(target->WaitExit(2000));
        EXPECT_EQ(target->ExitCode(), 0u);
    }
    EXPECT_FALSE(bystander->WaitExit(0)) << "another image is left alone";
    Dismiss(*twk, result);
}

// "/wait:2" forces a target that ignores WM_CLOSE after about two seconds;
// with "/noforce" it is still running when the program has ended.
TEST_F(CommandLineModeTarget, WaitAndNoforceOnATargetThatIgnoresClose)
{
    struct Case {
        const wchar_t* options;
        const wchar_t* limit;
        const wchar_t* result;
        bool targetEnds;
    } cases[] = {
        {L"/wait:2 ", L"2秒待って、閉じなければ強制終了します", kEndedByForce, true},
        {L"/noforce /wait:2 ", L"2秒待ちます（強制終了はしません）", L"のプロセスは実行中のまま残しました",
         false},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.options)));
        std::wstring path = Copy(L"ignores" + std::to_wstring(number++) + L"\\twk_target.exe");
        std::unique_ptr<RunningProgram> target = StartTarget(path, L"ignore");
        ASSERT_TRUE(target);
        DWORD start = GetTickCount();
        std::unique_ptr<RunningProgram> twk = StartTwk(c.options + path);
        HWND progress = WaitForStoredCaption(twk->Id(), L"#32770", kProgressCaption, kWindowWaitMs);
        ASSERT_NE(progress, nullptr);
        ExpectLimitShown(progress, c.limit);
        EXPECT_EQ(StoredControlText(progress, IDC_PROGRESS_STATUS), kUnderWay);

        HWND result = WaitForResult(*twk, 30000);
        ASSERT_NE(result, nullptr);
        DWORD took = GetTickCount() - start;
        EXPECT_GE(took, 1900u);
        EXPECT_LE(took, 9000u) << "well before the ten seconds of a plain command line";
        EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_STATUS), c.result);
        Dismiss(*twk, result);
        EXPECT_EQ(target->WaitExit(1000), c.targetEnds);
    }
}

TEST_F(CommandLineModeTarget, WithoutAllOneOfTwoInstancesEndsAsBefore)
{
    std::wstring path = Copy(L"twice\\twk_target.exe");
    auto first = StartTarget(path, L"close");
    auto second = StartTarget(path, L"close");
    ASSERT_TRUE(first && second);
    std::unique_ptr<RunningProgram> twk = StartTwk(path);
    HWND result = WaitForResult(*twk);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(StoredControlText(result, IDC_PROGRESS_STATUS), kEndedNormally);
    bool firstEnded = first->WaitExit(1000);
    bool secondEnded = second->WaitExit(firstEnded ? 0 : 1000);
    EXPECT_NE(firstEnded, secondEnded) << "exactly one of the two ends";
    Dismiss(*twk, result);
}

TEST_F(CommandLineModeTarget, RefusedOptionsShowTheirBoxEndWithExitCodeOneAndEndNothing)
{
    std::wstring path = Copy(L"refused\\twk_target.exe");
    std::unique_ptr<RunningProgram> target = StartTarget(path, L"close");
    ASSERT_TRUE(target);
    struct Case {
        std::wstring argument;
        std::wstring text; // the box text begins with this
    } cases[] = {
        {L"/x " + path, L"「/x」というオプションはありません。"},
        {L"/all /wait:0 " + path, L"「/wait:0」の秒数が正しくありません。"},
        {L"/wait:3601 \"" + path + L"\"", L"「/wait:3601」の秒数が正しくありません。"},
        {L"/wait:abc " + path, L"「/wait:abc」の秒数が正しくありません。"},
        {L"/all", L"「/all」の後に、終了するEXEのパスがありません。"},
        {L"/all  /noforce  ", L"「/noforce」の後に、終了するEXEのパスがありません。"},
        // As before: "runas " kept by an elevated token, and anything behind the target.
        {L"runas /all " + path, kNoSuchExe},
        {path + L" /all", kNoSuchExe},
    };
    for (const Case& c : cases) {
        std::unique_ptr<RunningProgram> twk = StartTwk(c.argument);
        HWND box = WaitForMessageBox(twk->Id(), 30000);
        ASSERT_NE(box, nullptr) << c.argument;
        std::wstring text = MessageBoxText(box);
        EXPECT_EQ(text.rfind(c.text, 0), 0u) << c.argument;
        if (c.text != kNoSuchExe) {
            EXPECT_NE(text.find(L"[/all] [/wait:秒数] [/noforce] EXEのフルパス"), std::wstring::npos);
        }
        EXPECT_NE(MessageBoxIcon(box), BoxIcon::None);
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "no owner window";
        EXPECT_TRUE(FindTopWindows(twk->Id(), L"#32770", nullptr).size() == 1u) << "no progress window";
        AnswerMessageBox(box, IDOK);
        ASSERT_TRUE(twk->WaitExit(kExitWaitMs)) << c.argument;
        EXPECT_EQ(twk->ExitCode(), 1u) << c.argument;
    }
    EXPECT_FALSE(target->WaitExit(500)) << "nothing was told to close";
}

} // namespace
