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
//   2. TWK64.exe's handles, GDI and USER objects and private bytes before
//      and after 200 refreshes.
// Run it with bench/run-settings-bench.sh. Not a test: it checks nothing.
#include "bench/BenchFigures.h"
#include "bench/BenchFixtures.h"
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
#include <psapi.h>

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

struct Usage {
    DWORD handles;
    DWORD gdiObjects;
    DWORD userObjects;
    SIZE_T privateUsage;
    SIZE_T pagefileUsage;
};

Usage UsageOf(HANDLE process)
{
    Usage usage{0, GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS), 0, 0};
    GetProcessHandleCount(process, &usage.handles);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof(counters))) {
        usage.privateUsage = counters.PrivateUsage;
        usage.pagefileUsage = counters.PagefileUsage;
    }
    return usage;
}

void PrintChange(const char* name, unsigned long long before, unsigned long long after)
{
    printf("  %-36s %14llu %14llu %+14lld%s\n", name, before, after,
           static_cast<long long>(after) - static_cast<long long>(before),
           before == 0 && after == 0 ? "   (Wine reads 0: not measured)" : "");
}

void BenchResources()
{
    OpenedSettings opened = OpenSettings();
    if (!opened.dialog) {
        printf("\nResources: the settings window did not open; nothing measured\n");
        return;
    }
    TimeRefresh(opened.dialog);
    Usage before = UsageOf(opened.program->Handle());
    for (int i = 0; i < kLeakRefreshes; ++i)
        TimeRefresh(opened.dialog);
    Usage after = UsageOf(opened.program->Handle());
    printf("\nTWK64.exe around %d refreshes (%d rows)\n", kLeakRefreshes, RowCount(opened.dialog));
    printf("  %-36s %14s %14s %14s\n", "", "before", "after", "change");
    PrintChange("handles (GetProcessHandleCount)", before.handles, after.handles);
    PrintChange("GDI objects (GetGuiResources)", before.gdiObjects, after.gdiObjects);
    PrintChange("USER objects (GetGuiResources)", before.userObjects, after.userObjects);
    PrintChange("private bytes (PrivateUsage)", before.privateUsage, after.privateUsage);
    PrintChange("private bytes (PagefileUsage)", before.pagefileUsage, after.pagefileUsage);
    CloseSettings(opened);
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
