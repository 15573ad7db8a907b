// The split of the argument text into options and target, with the command
// line it comes from and the "runas " marker before it: what each command
// line becomes.
#include "app/CommandLineSplit.h"
#include "app/ElevatedRelaunch.h"
#include "tests/support/WideStringChecks.h"

#include <gtest/gtest.h>

#include <string>

using namespace twk_test;

namespace {

const wchar_t kProgram[] = L"\"C:\\Tools\\TWK64.exe\"";

// The request a whole command line becomes, as the program splits it.
CommandLineRequest RequestOfLine(const std::wstring& line)
{
    WideString program;
    WideString arguments;
    SplitCommandLine(program, arguments, WideString(line.c_str()));
    return SplitOptions(arguments);
}

std::string Printed(const std::wstring& text)
{
    return testing::PrintToString(text);
}

struct Expected {
    const wchar_t* target;
    bool hasOptions;
    bool all;
    int waitSeconds;
    bool force;
    OptionError error;
    const wchar_t* badToken;
};

void ExpectRequest(const CommandLineRequest& request, const Expected& expected, const std::wstring& line)
{
    SCOPED_TRACE("line " + Printed(line));
    EXPECT_EQ(std::wstring(request.target.CStr()), expected.target);
    EXPECT_EQ(request.hasOptions, expected.hasOptions);
    EXPECT_EQ(request.allInstances, expected.all);
    EXPECT_EQ(request.timeoutMs, static_cast<DWORD>(expected.waitSeconds) * 1000);
    EXPECT_EQ(request.force, expected.force);
    EXPECT_EQ(static_cast<int>(request.error), static_cast<int>(expected.error));
    EXPECT_EQ(std::wstring(request.badToken.CStr()), expected.badToken);
}

const OptionError kOk = OptionError::None;

TEST(SplitOptions, WhatEachCommandLineBecomes)
{
    struct Case {
        const wchar_t* arguments; // behind the quoted program path
        Expected expected;
    } cases[] = {
        // Without options: the whole argument text is the target, as it always was.
        {L"C:\\App\\app.exe", {L"C:\\App\\app.exe", false, false, 10, true, kOk, L""}},
        {L"  \"C:\\Program Files\\App\\app.exe\"  ",
         {L"\"C:\\Program Files\\App\\app.exe\"", false, false, 10, true, kOk, L""}},
        {L"C:\\Program Files\\App\\app.exe",
         {L"C:\\Program Files\\App\\app.exe", false, false, 10, true, kOk, L""}},
        {L"runas C:\\App\\app.exe", {L"runas C:\\App\\app.exe", false, false, 10, true, kOk, L""}},
        {L"runas /all C:\\App\\app.exe", {L"runas /all C:\\App\\app.exe", false, false, 10, true, kOk, L""}},
        {L"C:\\App\\app.exe /all", {L"C:\\App\\app.exe /all", false, false, 10, true, kOk, L""}},
        {L"\"/all C:\\App\\app.exe\"", {L"\"/all C:\\App\\app.exe\"", false, false, 10, true, kOk, L""}},
        {L"\t/all C:\\App\\app.exe", {L"\t/all C:\\App\\app.exe", false, false, 10, true, kOk, L""}},
        {L"\"", {L"\"", false, false, 10, true, kOk, L""}},
        {L"app.exe", {L"app.exe", false, false, 10, true, kOk, L""}},

        // Each option alone, and together in every order.
        {L"/all C:\\App\\app.exe", {L"C:\\App\\app.exe", true, true, 10, true, kOk, L""}},
        {L"/wait:30 C:\\App\\app.exe", {L"C:\\App\\app.exe", true, false, 30, true, kOk, L""}},
        {L"/noforce C:\\App\\app.exe", {L"C:\\App\\app.exe", true, false, 10, false, kOk, L""}},
        {L"/all /wait:5 /noforce C:\\a.exe", {L"C:\\a.exe", true, true, 5, false, kOk, L""}},
        {L"/all /noforce /wait:5 C:\\a.exe", {L"C:\\a.exe", true, true, 5, false, kOk, L""}},
        {L"/wait:5 /all /noforce C:\\a.exe", {L"C:\\a.exe", true, true, 5, false, kOk, L""}},
        {L"/wait:5 /noforce /all C:\\a.exe", {L"C:\\a.exe", true, true, 5, false, kOk, L""}},
        {L"/noforce /all /wait:5 C:\\a.exe", {L"C:\\a.exe", true, true, 5, false, kOk, L""}},
        {L"/noforce /wait:5 /all C:\\a.exe", {L"C:\\a.exe", true, true, 5, false, kOk, L""}},

        // Spaces, quotes and case.
        {L"   /all    /wait:7   \"C:\\Program Files\\App\\app.exe\"   ",
         {L"\"C:\\Program Files\\App\\app.exe\"", true, true, 7, true, kOk, L""}},
        {L"/all C:\\Program Files\\App\\app.exe",
         {L"C:\\Program Files\\App\\app.exe", true, true, 10, true, kOk, L""}},
        {L"/ALL /Wait:7 /NoForce C:\\a.exe", {L"C:\\a.exe", true, true, 7, false, kOk, L""}},
        {L"/all /all C:\\a.exe", {L"C:\\a.exe", true, true, 10, true, kOk, L""}},
        {L"/wait:5 /wait:60 C:\\a.exe", {L"C:\\a.exe", true, false, 60, true, kOk, L""}},
        {L"/all runas C:\\a.exe", {L"runas C:\\a.exe", true, true, 10, true, kOk, L""}},
        {L"/all app.exe", {L"app.exe", true, true, 10, true, kOk, L""}},
        {L"/all D:\\ツール\\アプリ.exe", {L"D:\\ツール\\アプリ.exe", true, true, 10, true, kOk, L""}},
        {L"/all \\\\server\\share\\app.exe", {L"\\\\server\\share\\app.exe", true, true, 10, true, kOk, L""}},

        // The limit: whole seconds from 1 to 3600.
        {L"/wait:1 C:\\a.exe", {L"C:\\a.exe", true, false, 1, true, kOk, L""}},
        {L"/wait:3600 C:\\a.exe", {L"C:\\a.exe", true, false, 3600, true, kOk, L""}},
        {L"/wait:0010 C:\\a.exe", {L"C:\\a.exe", true, false, 10, true, kOk, L""}},
        {L"/wait:0 C:\\a.exe", {L"", true, false, 10, true, OptionError::BadWait, L"/wait:0"}},
        {L"/wait:3601 C:\\a.exe", {L"", true, false, 10, true, OptionError::BadWait, L"/wait:3601"}},
        {L"/wait:99999999999999999999 C:\\a.exe",
         {L"", true, false, 10, true, OptionError::BadWait, L"/wait:99999999999999999999"}},
        {L"/wait: C:\\a.exe", {L"", true, false, 10, true, OptionError::BadWait, L"/wait:"}},
        {L"/wait C:\\a.exe", {L"", true, false, 10, true, OptionError::BadWait, L"/wait"}},
        {L"/wait:-5 C:\\a.exe", {L"", true, false, 10, true, OptionError::BadWait, L"/wait:-5"}},
        {L"/wait:+5 C:\\a.exe", {L"", true, false, 10, true, OptionError::BadWait, L"/wait:+5"}},
        {L"/wait:5s C:\\a.exe", {L"", true, false, 10, true, OptionError::BadWait, L"/wait:5s"}},
        {L"/wait:1.5 C:\\a.exe", {L"", true, false, 10, true, OptionError::BadWait, L"/wait:1.5"}},
        {L"/wait:１０ C:\\a.exe", {L"", true, false, 10, true, OptionError::BadWait, L"/wait:１０"}},

        // Unknown options, and options without a target.
        {L"/x C:\\a.exe", {L"", true, false, 10, true, OptionError::UnknownOption, L"/x"}},
        {L"/all /force C:\\a.exe", {L"", true, true, 10, true, OptionError::UnknownOption, L"/force"}},
        {L"/wait=5 C:\\a.exe", {L"", true, false, 10, true, OptionError::UnknownOption, L"/wait=5"}},
        {L"/waiting C:\\a.exe", {L"", true, false, 10, true, OptionError::UnknownOption, L"/waiting"}},
        {L"/a-ll C:\\a.exe", {L"", true, false, 10, true, OptionError::UnknownOption, L"/a-ll"}},
        {L"/all\tC:\\a.exe", {L"", true, false, 10, true, OptionError::UnknownOption, L"/all\tC:\\a.exe"}},
        {L"/all\"C:\\a.exe\"",
         {L"", true, false, 10, true, OptionError::UnknownOption, L"/all\"C:\\a.exe\""}},
        {L"/", {L"", true, false, 10, true, OptionError::UnknownOption, L"/"}},
        {L"/Windows\\notepad.exe",
         {L"", true, false, 10, true, OptionError::UnknownOption, L"/Windows\\notepad.exe"}},
        {L"/x /wait:0 C:\\a.exe", {L"", true, false, 10, true, OptionError::UnknownOption, L"/x"}},
        {L"/all", {L"", true, true, 10, true, OptionError::NoTarget, L"/all"}},
        {L"/all /noforce   ", {L"", true, true, 10, false, OptionError::NoTarget, L"/noforce"}},
        {L"/all \"\"", {L"\"\"", true, true, 10, true, OptionError::NoTarget, L"/all"}},
        {L"/wait:5 \"", {L"\"", true, false, 5, true, OptionError::NoTarget, L"/wait:5"}},
    };
    for (const Case& c : cases) {
        std::wstring line = std::wstring(kProgram) + L" " + c.arguments;
        CommandLineRequest request = RequestOfLine(line);
        ExpectRequest(request, c.expected, line);
        ExpectSoundWideString(request.target);
        ExpectSoundWideString(request.badToken);
    }
}

// "runas " keeps its meaning: with an administrator's filtered token the
// program starts itself elevated with the rest, options included, and the
// new instance splits the options; with any other token the marker stays
// part of the target (which then names no file).
TEST(SplitOptions, RunasMarkerComesFirstAndKeepsItsMeaning)
{
    struct Case {
        const wchar_t* arguments;
        const wchar_t* parameters; // of the elevated relaunch
        Expected relaunched;       // what the elevated instance then splits
    } cases[] = {
        {L"runas /all C:\\App\\app.exe",
         L"/all C:\\App\\app.exe",
         {L"C:\\App\\app.exe", true, true, 10, true, kOk, L""}},
        {L"runas   /noforce /wait:20 \"C:\\A B\\app.exe\"",
         L"  /noforce /wait:20 \"C:\\A B\\app.exe\"",
         {L"\"C:\\A B\\app.exe\"", true, false, 20, false, kOk, L""}},
        {L"runas C:\\App\\app.exe",
         L"C:\\App\\app.exe",
         {L"C:\\App\\app.exe", false, false, 10, true, kOk, L""}},
        {L"runas /wait:0 C:\\App\\app.exe",
         L"/wait:0 C:\\App\\app.exe",
         {L"", true, false, 10, true, OptionError::BadWait, L"/wait:0"}},
    };
    for (const Case& c : cases) {
        std::wstring line = std::wstring(kProgram) + L" " + c.arguments;
        WideString program;
        WideString arguments;
        SplitCommandLine(program, arguments, WideString(line.c_str()));

        WideString parameters;
        ASSERT_TRUE(WantsElevatedRelaunch(arguments, ElevationKind::Limited, parameters)) << Printed(line);
        EXPECT_EQ(std::wstring(parameters.CStr()), c.parameters) << Printed(line);
        std::wstring relaunchedLine = std::wstring(kProgram) + L" " + parameters.CStr();
        ExpectRequest(RequestOfLine(relaunchedLine), c.relaunched, relaunchedLine);

        // Any other token: no relaunch, and the marker stays in the target.
        const ElevationKind others[] = {ElevationKind::Default, ElevationKind::Elevated};
        for (ElevationKind other : others) {
            EXPECT_FALSE(WantsElevatedRelaunch(arguments, other, parameters)) << Printed(line);
            CommandLineRequest request = SplitOptions(arguments);
            EXPECT_FALSE(request.hasOptions) << Printed(line);
            EXPECT_EQ(std::wstring(request.target.CStr()), arguments.CStr()) << Printed(line);
        }
    }
}

// Argument texts of any content split without a crash: a refused one names a
// token of the text, an accepted one has a target that is the end of it, and
// a text that does not begin with "/" is the target whole.
TEST(SplitOptions, RandomArgumentTexts)
{
    const std::wstring pieces[] = {L" ",  L"/",  L"/all", L"/noforce", L"/wait:", L"5",  L"3600",    L"0",
                                   L"\"", L"\\", L"C:",   L"a",        L"\t",     L"日", L"/WAIT:12"};
    unsigned seed = 4242;
    auto next = [&seed]() { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 500; ++round) {
        std::wstring text;
        size_t count = round == 0 ? 4000 : next() % 12;
        for (size_t i = 0; i < count; ++i)
            text += pieces[next() % (sizeof(pieces) / sizeof(pieces[0]))];
        WideString arguments = WideString(text.c_str()).Trim();
        std::wstring trimmed = arguments.CStr();

        CommandLineRequest request = SplitOptions(arguments);
        ExpectSoundWideString(request.target);
        ExpectSoundWideString(request.badToken);
        SCOPED_TRACE(Printed(trimmed.substr(0, 200)));
        if (trimmed.empty() || trimmed[0] != L'/') {
            EXPECT_FALSE(request.hasOptions);
            EXPECT_EQ(std::wstring(request.target.CStr()), trimmed);
            continue;
        }
        EXPECT_TRUE(request.hasOptions);
        if (request.error == OptionError::None) {
            std::wstring target = request.target.CStr();
            ASSERT_FALSE(target.empty());
            EXPECT_NE(target[0], L'/');
            EXPECT_EQ(trimmed.compare(trimmed.size() - target.size(), target.size(), target), 0);
            EXPECT_GE(request.timeoutMs, 1000u);
            EXPECT_LE(request.timeoutMs, 3600000u);
        } else {
            std::wstring token = request.badToken.CStr();
            ASSERT_FALSE(token.empty());
            EXPECT_EQ(token[0], L'/');
            EXPECT_NE(trimmed.find(token), std::wstring::npos);
            EXPECT_EQ(token.find(L' '), std::wstring::npos);
        }
    }
}

} // namespace
