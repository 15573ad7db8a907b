// twk_bench_settings.exe: figures for the settings window, printed as a table.
//   1. With about 25, 100 and 250 processes running (copies of twk_target.exe
//      in "nowindow" mode): TWK64.exe started without an argument until its
//      window is up with the list filled (the list is filled before the
//      window shows; the program is idle, WaitForInputIdle), one refresh
//      (command 1103 sent to the window, until it returns), and beside them
//      one ProcessSnapshot::Enumerate in this process on the same processes.
//      The same two in this process, without the messages between two
//      programs: the settings dialog made here from the program's own
//      template, RefreshList beside Enumerate, in alternating rounds.
//   2. The handles, GDI and USER objects and private bytes of this process
//      before and after 200 refreshes of the dialog made here.
// Run it with bench/run-settings-bench.sh. Not a test: it checks nothing.
#include "bench/BenchFigures.h"
#include "bench/BenchFixtures.h"
#include "bench/GrowthBench.h"
#include "core/AppInstance.h"
#include "process/ProcessSnapshot.h"
#include "res/resource.h"
#include "settings/SettingsDialog.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/WindowDriver.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <stdio.h>
#include <string>
#include <vector>

namespace {

using twk_bench::Figures;
using twk_bench::NowMs;
using twk_bench::PrintFiguresRow;
using twk_test::RunningProgram;

const int kProcessLevels[] = {25, 100, 250};
const int kRounds = 7;
const int kLeakRefreshes = 200;
const wchar_t kCaption[] = L"Tarnwick の設定(昇格中)";

// The settings window of a TWK64.exe started without an argument.
struct OpenedSettings {
    std::unique_ptr<RunningProgram> program;
    HWND dialog;
    double startMs;
};

OpenedSettings OpenSettings()
{
    OpenedSettings opened{nullptr, nullptr, 0};
    double start = NowMs();
    opened.program.reset(new RunningProgram(twk_test::BinPath(L"TWK64.exe"), L""));
    if (!opened.program->Started())
        return opened;
    WaitForInputIdle(opened.program->Handle(), 30000);
    opened.dialog = twk_test::WaitForTopWindow(opened.program->Id(), L"#32770", kCaption, 30000);
    opened.startMs = NowMs() - start;
    return opened;
}

void CloseSettings(OpenedSettings& opened)
{
    if (opened.dialog)
        PostMessageW(opened.dialog, WM_CLOSE, 0, 0);
    opened.program->WaitExit(10000);
}

int RowCount(HWND dialog)
{
    return static_cast<int>(SendMessageW(GetDlgItem(dialog, IDC_SETTINGS_LIST), LVM_GETITEMCOUNT, 0, 0));
}

double TimeRefresh(HWND dialog)
{
    double start = NowMs();
    SendMessageW(dialog, WM_COMMAND, IDC_SETTINGS_REFRESH, 0);
    return NowMs() - start;
}

// The settings dialog inside this process: RefreshList beside a plain
// Enumerate of the same processes, alternating.
void BenchInProcess()
{
    SettingsDialog dialog;
    SettingsDialog::active = &dialog;
    HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), nullptr,
                                     SettingsDialogProc, 0);
    if (!window) {
        printf("    in this process: the dialog could not be made; nothing measured\n");
        return;
    }
    ShowWindow(window, SW_SHOW);
    Figures enumerate, refresh, fill;
    ProcessSnapshot snapshot;
    for (int round = 0; round < 2 * kRounds; ++round) {
        double begin = NowMs();
        snapshot.Enumerate();
        enumerate.Add(NowMs() - begin);
        begin = NowMs();
        dialog.RefreshList();
        refresh.Add(NowMs() - begin);
        begin = NowMs();
        dialog.FillList();
        fill.Add(NowMs() - begin);
    }
    DestroyWindow(window);
    SettingsDialog::active = nullptr;
    PrintFiguresRow("Enumerate, in this process (dialog beside)", enumerate);
    PrintFiguresRow("RefreshList of the dialog in this process", refresh);
    PrintFiguresRow("of it the rows alone (FillList)", fill);
    printf("  RefreshList / Enumerate: %.2f\n", refresh.Median() / enumerate.Median());
}

void BenchLevel(int level)
{
    Figures enumerate, start, refresh;
    int listed = 0, rows = 0;
    for (int round = 0; round < kRounds; ++round) {
        ProcessSnapshot snapshot;
        double begin = NowMs();
        snapshot.Enumerate();
        enumerate.Add(NowMs() - begin);
        listed = snapshot.count;

        OpenedSettings opened = OpenSettings();
        if (!opened.dialog) {
            printf("  %d processes: the settings window did not open; nothing measured\n", level);
            return;
        }
        start.Add(opened.startMs);
        refresh.Add(TimeRefresh(opened.dialog));
        rows = RowCount(opened.dialog);
        CloseSettings(opened);
    }
    printf("  about %d processes (%d listed by Enumerate, %d rows)\n", level, listed, rows);
    twk_bench::PrintFiguresHeader("ms");
    PrintFiguresRow("Enumerate, in this process", enumerate);
    PrintFiguresRow("TWK64.exe start to its list filled", start);
    PrintFiguresRow("one refresh of TWK64.exe (command 1103 sent)", refresh);
    printf("  refresh / Enumerate: %.2f\n", refresh.Median() / enumerate.Median());
    BenchInProcess();
}

// The settings dialog inside this process around many refreshes: what it
// leaves behind (handles are counted by probing, which works in the own
// process under Wine too).
void BenchResources()
{
    SettingsDialog dialog;
    SettingsDialog::active = &dialog;
    HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), nullptr,
                                     SettingsDialogProc, 0);
    if (!window) {
        printf("\nResources: the dialog could not be made; nothing measured\n");
        return;
    }
    ShowWindow(window, SW_SHOW);
    dialog.RefreshList();
    twk_bench::Usage before = twk_bench::OwnUsage();
    for (int i = 0; i < kLeakRefreshes; ++i)
        dialog.RefreshList();
    twk_bench::Usage after = twk_bench::OwnUsage();
    printf("\nThis process around %d refreshes of the settings dialog (%d processes listed)\n",
           kLeakRefreshes, dialog.snapshot.count);
    twk_bench::PrintUsageChange(before, after);
    DestroyWindow(window);
    SettingsDialog::active = nullptr;
}

} // namespace

int wmain()
{
    SetAppInstance(GetModuleHandleW(nullptr));
    twk_test::TempDirectory dir(L"twk-bench-settings");
    std::wstring image = dir / L"BenchIdle.exe";
    if (!dir.Created() || !twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), image)) {
        fprintf(stderr, "twk_target.exe not found beside the benchmark\n");
        return 1;
    }
    printf("Settings window benchmark (%d processes listed before any fixture starts; load average %s)\n\n",
           twk_bench::ListedCount(), twk_bench::LoadAverage().c_str());

    twk_bench::BackgroundLoad load(image);
    for (int level : kProcessLevels) {
        std::string problem;
        if (!load.GrowTo(level, problem)) {
            printf("  about %d processes: not reached (%s); nothing measured\n", level, problem.c_str());
            break;
        }
        BenchLevel(level);
        if (level == kProcessLevels[0])
            BenchResources();
        printf("\n");
        fflush(stdout);
    }
    load.Clear();
    return 0;
}
