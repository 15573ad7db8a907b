// Test program: runs the start-up checks and the command-line split of the
// real program on its own process, and writes what they found to the UTF-16
// file named by the environment variable TWK_PROBE_OUT, one "name=value" line
// each. Exit code: generation * 100 + WOW64 state * 10 + elevation kind.
// It carries the program's manifest, so the system reports the same version
// to it as to TWK64.exe.
#include "app/CommandLineSplit.h"
#include "app/Environment.h"

#include <windows.h>

namespace {

void WriteLine(HANDLE file, const wchar_t* name, const WideString& value)
{
    WideString line(name);
    line.Append(L"=");
    line.Append(value.CStr());
    line.Append(L"\n");
    DWORD written = 0;
    WriteFile(file, line.CStr(), static_cast<DWORD>(line.Length() * sizeof(wchar_t)), &written, nullptr);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    BOOL isWow64 = FALSE;
    ElevationKind elevation = ElevationKind::Default;
    OsGeneration generation = CheckEnvironment(&isWow64, &elevation);

    WideString programPath;
    WideString argumentText;
    SplitCommandLine(programPath, argumentText, WideString());

    wchar_t outPath[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TWK_PROBE_OUT", outPath, MAX_PATH)) {
        HANDLE file = CreateFileW(outPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            WriteLine(file, L"generation", WideString::FromInt(generation));
            WriteLine(file, L"wow64", WideString::FromInt(isWow64 ? 1 : 0));
            WriteLine(file, L"elevation", WideString::FromInt(static_cast<int>(elevation)));
            WriteLine(file, L"program", programPath);
            WriteLine(file, L"arguments", argumentText);
            CloseHandle(file);
        }
    }
    return generation * 100 + (isWow64 ? 10 : 0) + static_cast<int>(elevation);
}
