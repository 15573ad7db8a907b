#include "bench/EnumerateBench.h"

#include "bench/BenchFixtures.h"
#include "process/ProcessSnapshot.h"

#include <windows.h>

#include <psapi.h>

#include <stdio.h>

namespace twk_bench {

namespace {

enum class PathRead { NullModule, FirstModule };

struct RawEntry {
    std::wstring path;
    DWORD id;
    BOOL isWow;
    DWORD elevationType;
    bool canTerminate;
};

const int kIdCapacity = 4096;
const DWORD kQuietLimitMs = 1000;

// One enumeration pass made of the system calls alone: no strings, no
// allocation, no failure reports. With `record`, the entries are kept for
// comparison (that pass is not timed). Returns the number of entries.
int RawPass(PathRead read, std::vector<DWORD>& ids, std::vector<RawEntry>* record)
{
    DWORD bytes = 0;
    if (!K32EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes))
        return 0;
    int listed = 0;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        DWORD id = ids[i];
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
        if (!process)
            continue;
        wchar_t path[MAX_PATH];
        path[0] = L'\0';
        HMODULE module = nullptr;
        DWORD needed = 0;
        if (read == PathRead::FirstModule &&
            !K32EnumProcessModules(process, &module, sizeof(module), &needed)) {
            CloseHandle(process);
            continue;
        }
        DWORD length = K32GetModuleFileNameExW(process, module, path, MAX_PATH);
        bool listable =
            length >= 3 && ((path[1] == L':' && path[2] == L'\\') || (path[0] == L'\\' && path[1] == L'\\'));
        if (!listable) {
            CloseHandle(process);
            continue;
        }
        BOOL isWow = FALSE;
        IsWow64Process(process, &isWow);
        HANDLE token = nullptr;
        TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
        if (OpenProcessToken(process, TOKEN_QUERY, &token)) {
            DWORD returned = 0;
            GetTokenInformation(token, TokenElevationType, &type, sizeof(type), &returned);
            CloseHandle(token);
        }
        CloseHandle(process);
        HANDLE terminable = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
        if (terminable)
            CloseHandle(terminable);
        ++listed;
        if (record)
            record->push_back(RawEntry{path, id, isWow, static_cast<DWORD>(type), terminable != nullptr});
    }
    return listed;
}

bool SameEntries(const ProcessSnapshot& snapshot, const std::vector<RawEntry>& raw)
{
    if (snapshot.count != static_cast<int>(raw.size()))
        return false;
    for (int i = 0; i < snapshot.count; ++i) {
        const ProcessEntry& entry = snapshot.entries[i];
        const RawEntry& expected = raw[i];
        BitnessKind bitness = expected.isWow ? BitnessKind::Bits32 : BitnessKind::Bits64;
        if (expected.path != snapshot.imagePaths[i].CStr() || entry.id != static_cast<int>(expected.id) ||
            entry.bitness != bitness ||
            entry.elevation != ElevationKindFromTokenType(expected.elevationType) ||
            entry.canTerminate != expected.canTerminate)
            return false;
    }
    return true;
}

std::string Cell(const Figures& figures)
{
    if (figures.Empty())
        return "not measured";
    char text[64];
    snprintf(text, sizeof(text), "%7.1f [%6.1f-%7.1f]", figures.Median(), figures.Min(), figures.Max());
    return text;
}

} // namespace

void MeasureEnumerate(EnumerateLevel& level, int rounds)
{
    std::vector<DWORD> ids(kIdCapacity);
    ProcessSnapshot snapshot;

    // The same processes give the same entries; a process that starts or
    // ends in between spoils one comparison, so a few are tried.
    level.identical = false;
    for (int attempt = 0; attempt < 3 && !level.identical; ++attempt) {
        std::vector<RawEntry> raw;
        snapshot.Enumerate();
        RawPass(PathRead::NullModule, ids, &raw);
        level.identical = SameEntries(snapshot, raw);
    }

    // Alternating rounds; the order turns by one each round. The snapshot is
    // warm: its slots exist, as in a refresh of the settings list.
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < 3; ++i) {
            int which = (round + i) % 3;
            // Each pass begins at a quiet moment: back to back, the passes
            // would soon run on processors the machine has slowed down.
            WaitForQuietMachine(kQuietLimitMs);
            double start = NowMs();
            int listed = 0;
            if (which == 0) {
                snapshot.Enumerate();
                listed = snapshot.count;
            } else {
                listed = RawPass(which == 1 ? PathRead::NullModule : PathRead::FirstModule, ids, nullptr);
            }
            double perProcessUs = 1000.0 * (NowMs() - start) / (listed > 0 ? listed : 1);
            (which == 0 ? level.enumerate : which == 1 ? level.rawNull : level.rawFirst).Add(perProcessUs);
        }
    }
    level.listed = snapshot.count;
}

void PrintEnumerateLevels(const std::vector<EnumerateLevel>& levels, int rounds)
{
    printf("\nEnumerate beside the raw calls on the same processes (microseconds per listed process,\n"
           "median [min-max] of %d alternating rounds)\n",
           rounds);
    printf("  %-6s %-6s %-9s %-28s %-28s %-28s %s\n", "wanted", "listed", "same", "Enumerate",
           "raw calls, null module", "raw calls, first module", "Enumerate / raw");
    for (const EnumerateLevel& level : levels) {
        if (!level.reached) {
            printf("  %-6d not measured: %s\n", level.wanted, level.problem.c_str());
            continue;
        }
        printf("  %-6d %-6d %-9s %-28s %-28s %-28s %.2f\n", level.wanted, level.listed,
               level.identical ? "yes" : "no", Cell(level.enumerate).c_str(), Cell(level.rawNull).c_str(),
               Cell(level.rawFirst).c_str(), level.enumerate.Median() / level.rawNull.Median());
    }
    const EnumerateLevel* first = nullptr;
    const EnumerateLevel* last = nullptr;
    for (const EnumerateLevel& level : levels) {
        if (!level.reached)
            continue;
        if (!first)
            first = &level;
        last = &level;
    }
    if (first)
        printf("  (same: the raw calls with the null module handle gave Enumerate's entries exactly)\n");
    if (first && last && first != last)
        printf("  per process at %d / at %d: Enumerate %.2f, raw calls (null module) %.2f, (first module) "
               "%.2f\n",
               last->wanted, first->wanted, last->enumerate.Median() / first->enumerate.Median(),
               last->rawNull.Median() / first->rawNull.Median(),
               last->rawFirst.Median() / first->rawFirst.Median());
}

} // namespace twk_bench
