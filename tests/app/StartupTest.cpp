// Start-up: the command-line split, the system checks (under the versions
// the prefix can report), the WOW64 refusal of the 32-bit build, and the
// program started without an argument.
#include "app/CommandLineSplit.h"
#include "app/Environment.h"
#include "app/Wow64Refusal.h"
#include "core/ElevationKind.h"
#include "tests/support/BoxAnswerer.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/RegistryOverride.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/WideStringChecks.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

using namespace twk_test;

namespace {

TEST(SplitCommandLine, RulesForEveryShapeOfCommandLine)
{
    struct Case {
        const wchar_t* line;
        const wchar_t* program;
        const wchar_t* arguments;
    } cases[] = {
        {L"\"C:\\Tools\\TWK64.exe\" C:\\App\\app.exe", L"C:\\Tools\\TWK64.exe", L"C:\\App\\app.exe"},
        {L"\"C:\\Tools\\TWK64.exe\"", L"C:\\Tools\\TWK64.exe", L""},
        {L"\"C:\\Tools\\TWK64.exe\"    ", L"C:\\Tools\\TWK64.exe", L""},
        {L"TWK64.exe", L"TWK64.exe", L""},
        {L"TWK64.exe C:\\Program Files\\App\\app.exe", L"TWK64.exe", L"C:\\Program Files\\App\\app.exe"},
        {L"\"C:\\T\\TWK64.exe\"C:\\a.exe", L"C:\\T\\TWK64.exe", L"C:\\a.exe"},
        {L"\"C:\\T\\TWK64.exe C:\\a.exe", L"", L"C:\\T\\TWK64.exe C:\\a.exe"},
        {L"\"   spaced   ", L"", L"spaced"},
        {L" C:\\a.exe", L"", L"C:\\a.exe"},
        {L"TWK64.exe \tC:\\a.exe\t ", L"TWK64.exe", L"\tC:\\a.exe\t"},
        {L"TWK64.exe\tC:\\a.exe", L"TWK64.exe\tC:\\a.exe", L""},
        {L"TWK64.exe   runas  C:\\a b\\x.exe  ", L"TWK64.exe", L"runas  C:\\a b\\x.exe"},
        {L"TWK64.exe \"C:\\a b\\x.exe\"", L"TWK64.exe", L"\"C:\\a b\\x.exe\""},
        {L"\"\"", L"", L""},
        {L"\"\" arg", L"", L"arg"},
        {L"\"", L"", L""},
        {L"   ", L"", L""},
        {L"\"C:\\日本語\\TWK64.exe\" D:\\ツール\\アプリ.exe", L"C:\\日本語\\TWK64.exe",
         L"D:\\ツール\\アプリ.exe"},
        {L"\" C:\\T\\TWK64.exe \" x", L"C:\\T\\TWK64.exe", L"x"},
    };
    for (const Case& c : cases) {
        WideString program(L"stale");
        WideString arguments(L"stale");
        SplitCommandLine(program, arguments, c.line);
        EXPECT_STREQ(program.CStr(), c.program)
            << "line [" << testing::PrintToString(std::wstring(c.line)) << "]";
        EXPECT_STREQ(arguments.CStr(), c.arguments)
            << "line [" << testing::PrintToString(std::wstring(c.line)) << "]";
    }
}

// Command lines of any content and length up to the 32767 characters Windows
// allows split without a crash, and the parts are pieces of the line.
TEST(SplitCommandLine, RandomLinesUpToTheSystemLimit)
{
    const std::wstring alphabet = L"  \"\t\\a:é日";
    unsigned seed = 12345;
    auto next = [&seed]() { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 200; ++round) {
        // Never empty: an empty source means the process's own command line.
        size_t length = round == 0 ? 32767 : 1 + next() % 400;
        std::wstring line;
        for (size_t i = 0; i < length; ++i)
            line += alphabet[next() % alphabet.size()];
        WideString program;
        WideString arguments;
        SplitCommandLine(program, arguments, line.c_str());
        ExpectSoundWideString(program);
        ExpectSoundWideString(arguments);
        ASSERT_LE(program.Length() + arguments.Length(), static_cast<int>(line.size()));
        EXPECT_NE(line.find(arguments.CStr()), std::wstring::npos);
        EXPECT_NE(line.find(program.CStr()), std::wstring::npos);
        if (arguments.Length() > 0) {
            EXPECT_NE(arguments.CStr()[0], L' ');
            EXPECT_NE(arguments.CStr()[arguments.Length() - 1], L' ');
        }
    }
}

TEST(Elevation, TokenTypesMapWithLimitedAndFullSwapped)
{
    EXPECT_EQ(ElevationKindFromTokenType(TokenElevationTypeDefault), ElevationKind::Default);
    EXPECT_EQ(ElevationKindFromTokenType(TokenElevationTypeFull), ElevationKind::Elevated);
    EXPECT_EQ(ElevationKindFromTokenType(TokenElevationTypeLimited), ElevationKind::Limited);
    EXPECT_EQ(ElevationKindFromTokenType(0), ElevationKind::Elevated);
    EXPECT_EQ(ElevationKindFromTokenType(7), ElevationKind::Elevated);
}

TEST(Elevation, TokenThatCannotBeOpenedIsReportedAndGivesDefault)
{
    BoxAnswerer answerer;
    // A thread handle is no process handle: OpenProcessToken fails.
    EXPECT_EQ(ReadProcessElevation(GetCurrentThread(), "CloseHandle"), ElevationKind::Default);
    std::vector<SeenBox> boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind(L"OpenProcessToken Error Code =", 0), 0u)
        << testing::PrintToString(boxes[0].text);
}

TEST(Elevation, OwnTokenIsReadWithoutReport)
{
    BoxAnswerer answerer;
    ElevationKind kind = ReadProcessElevation(GetCurrentProcess(), "CloseHandle");
    // Wine gives every process a full administrator token.
    EXPECT_EQ(kind, ElevationKind::Elevated);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST(Wow64Refusal, RefusesWithMessageOnlyUnderWow64)
{
    BoxAnswerer answerer;
    EXPECT_FALSE(RefuseUnderWow64(FALSE));
    EXPECT_TRUE(answerer.Boxes().empty());
    EXPECT_TRUE(RefuseUnderWow64(TRUE));
    std::vector<SeenBox> boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"TWK64.exe を起動してください");
    EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(boxes[0].owner, nullptr);
}

// Runs the probe and reads back what it wrote.
struct ProbeResult {
    long exitCode = -1;
    std::map<std::wstring, std::wstring> values;
    std::vector<std::wstring> boxTexts;
};

std::wstring ProbePath()
{
    return BinPath(L"twk_environment_probe.exe");
}

// Wine takes a per-program version from HKCU\Software\Wine\AppDefaults\<exe
// name>. Each test that sets one runs its own copy of the probe, so that tests
// running at the same time do not see each other's version.
class ProbeCopy {
public:
    explicit ProbeCopy(const std::wstring& name) : dir(L"twk-probe"), path(dir / name)
    {
        copied = CopyFileCreatingDirectories(ProbePath(), path);
    }
    bool Copied() const { return copied; }
    const std::wstring& Path() const { return path; }
    std::wstring DefaultsKey() const
    {
        return L"Software\\Wine\\AppDefaults\\" + path.substr(path.rfind(L'\\') + 1);
    }

private:
    TempDirectory dir;
    std::wstring path;
    bool copied;
};

ProbeResult RunProbe(const std::wstring& commandLine, const std::wstring& probePath = ProbePath())
{
    wchar_t tempDir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tempDir);
    std::wstring outPath =
        std::wstring(tempDir) + L"twk_probe_" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(outPath.c_str());
    SetEnvironmentVariableW(L"TWK_PROBE_OUT", outPath.c_str());

    ProbeResult result;
    RunningProgram probe(probePath, RawCommandLine{commandLine});
    if (!probe.Started())
        return result;
    // The probe may show the unsupported-OS box; read and answer it.
    DWORD start = GetTickCount();
    while (!probe.WaitExit(50) && GetTickCount() - start < 20000) {
        HWND box = FindTopWindows(probe.Id(), L"#32770", L"Tarnwick").empty()
                       ? nullptr
                       : WaitForMessageBox(probe.Id(), 0);
        if (box && GetDlgItem(box, IDOK)) {
            result.boxTexts.push_back(MessageBoxText(box));
            AnswerMessageBox(box, IDOK);
            WaitForWindowGone(box, 5000);
        }
    }
    if (!probe.WaitExit(0))
        return result;
    result.exitCode = static_cast<long>(probe.ExitCode());

    HANDLE file =
        CreateFileW(outPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return result;
    std::wstring text(32768, L'\0');
    DWORD read = 0;
    ReadFile(file, &text[0], static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    DeleteFileW(outPath.c_str());
    text.resize(read / sizeof(wchar_t));
    std::wistringstream lines(text);
    std::wstring line;
    while (std::getline(lines, line)) {
        size_t equals = line.find(L'=');
        if (equals != std::wstring::npos)
            result.values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return result;
}

TEST(CheckEnvironment, GenerationFollowsTheReportedVersion)
{
    struct Case {
        const wchar_t* wineVersion;
        int generation;
    } cases[] = {{L"winvista", 1}, {L"win7", 2}, {L"win8", 3}, {L"win81", 4}, {L"win10", 5}};
    ProbeCopy copy(L"twk_probe_versions.exe");
    ASSERT_TRUE(copy.Copied());
    for (const Case& c : cases) {
        RegistryOverride version(HKEY_CURRENT_USER, copy.DefaultsKey(), L"Version", c.wineVersion);
        ASSERT_TRUE(version.Applied());
        ProbeResult probe = RunProbe(L"\"" + copy.Path() + L"\"", copy.Path());
        EXPECT_EQ(probe.values[L"generation"], std::to_wstring(c.generation)) << c.wineVersion;
        EXPECT_TRUE(probe.boxTexts.empty()) << c.wineVersion;
        EXPECT_EQ(probe.exitCode, c.generation * 100 + 3) << c.wineVersion << ": not WOW64, elevated";
    }
}

TEST(CheckEnvironment, Build22000IsWindows11)
{
    const wchar_t kCurrentVersion[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
    RegistryOverride build(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentBuild", L"22000");
    RegistryOverride buildNumber(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentBuildNumber", L"22000");
    ASSERT_TRUE(build.Applied() && buildNumber.Applied());
    ProbeResult probe = RunProbe(L"\"" + ProbePath() + L"\"");
    EXPECT_EQ(probe.values[L"generation"], L"6");
}

TEST(CheckEnvironment, OlderSystemShowsMessageAndGoesOn)
{
    ProbeCopy copy(L"twk_probe_old_system.exe");
    ASSERT_TRUE(copy.Copied());
    RegistryOverride version(HKEY_CURRENT_USER, copy.DefaultsKey(), L"Version", L"winxp64");
    ProbeResult probe = RunProbe(L"\"" + copy.Path() + L"\" C:\\x.exe", copy.Path());
    ASSERT_EQ(probe.boxTexts.size(), 1u);
    EXPECT_EQ(probe.boxTexts[0], L"このＯＳではサポートされていません。");
    EXPECT_EQ(probe.values[L"generation"], L"0");
    EXPECT_EQ(probe.values[L"arguments"], L"C:\\x.exe") << "start-up goes on after the message";
    EXPECT_EQ(probe.exitCode, 3);
}

// The split of the process's own command line, as the system hands it over.
TEST(CheckEnvironment, OwnCommandLineIsSplit)
{
    std::wstring quoted = L"\"" + ProbePath() + L"\"";
    struct Case {
        std::wstring line;
        std::wstring program;
        std::wstring arguments;
    } cases[] = {
        {quoted + L"  C:\\Program Files\\App\\app.exe  ", ProbePath(), L"C:\\Program Files\\App\\app.exe"},
        {quoted, ProbePath(), L""},
        {L"twk_environment_probe.exe runas C:\\a.exe", L"twk_environment_probe.exe", L"runas C:\\a.exe"},
        {quoted + L"\t\"C:\\a b\\アプリ.exe\"", ProbePath(), L"\t\"C:\\a b\\アプリ.exe\""},
    };
    for (const Case& c : cases) {
        ProbeResult probe = RunProbe(c.line);
        EXPECT_EQ(probe.values[L"program"], c.program);
        EXPECT_EQ(probe.values[L"arguments"], c.arguments);
        EXPECT_EQ(probe.values[L"wow64"], L"0");
        EXPECT_EQ(probe.values[L"elevation"], L"3");
    }
}

} // namespace

namespace {

// Without an argument (spaces only) the program opens the settings window;
// closing it ends the program with exit code 0.
TEST(Startup, WithoutArgumentOpensTheSettingsWindow)
{
    RunningProgram program(BinPath(L"TWK64.exe"), L"   ");
    ASSERT_TRUE(program.Started());
    HWND settings = WaitForTopWindow(program.Id(), L"#32770", L"Tarnwick の設定(昇格中)", 20000);
    ASSERT_NE(settings, nullptr);
    PostMessageW(settings, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitExit(5000));
    EXPECT_EQ(program.ExitCode(), 0u);
}

} // namespace
