// PathString: cleaning, joining, splitting, command lines and special folders.
#include "core/PathString.h"
#include "tests/support/BoxAnswerer.h"
#include "tests/support/WideStringChecks.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

using twk_test::BoxAnswerer;
using twk_test::ExpectSoundWideString;

namespace {

std::wstring Text(const WideString& s)
{
    return std::wstring(s.CStr());
}

std::wstring CurrentDirectory()
{
    wchar_t buffer[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, buffer);
    return buffer;
}

// Changes the current directory for one test and puts it back afterwards.
class CurrentDirectoryChange {
public:
    explicit CurrentDirectoryChange(const wchar_t* directory) : previous(CurrentDirectory())
    {
        changed = SetCurrentDirectoryW(directory) != FALSE;
    }
    ~CurrentDirectoryChange() { SetCurrentDirectoryW(previous.c_str()); }
    bool Changed() const { return changed; }

private:
    std::wstring previous;
    bool changed;
};

TEST(PathStringText, TrimsSpacesAndOneOuterPairOfQuotes)
{
    struct Case {
        const wchar_t* given;
        const wchar_t* cleaned;
    } cases[] = {
        {L"", L""},
        {L"   ", L""},
        {L"C:\\dir\\x.exe", L"C:\\dir\\x.exe"},
        {L"  C:\\dir\\x.exe  ", L"C:\\dir\\x.exe"},
        {L"  \"C:\\Program Files\\x.exe\"  ", L"C:\\Program Files\\x.exe"},
        {L"\"C:\\dir\\x.exe", L"C:\\dir\\x.ex"},    // no closing quote: the last character goes
        {L"C:\\dir\\x.exe\"", L"C:\\dir\\x.exe\""}, // a closing quote alone stays
        {L"\"C:\\a \"b\" c\"", L"C:\\a \"b\" c"},   // inner quotes stay
        {L"\"", L""},
        {L"\"\"", L""},
        {L"\" \"", L" "},                     // spaces inside the quotes stay
        {L"\tC:\\x.exe\t", L"\tC:\\x.exe\t"}, // only U+0020 is trimmed
        {L"runas C:\\x.exe", L"runas C:\\x.exe"},
    };
    for (const Case& c : cases) {
        PathString path{WideString(c.given)};
        EXPECT_EQ(Text(path), c.cleaned) << c.given;
        ExpectSoundWideString(path);
    }
}

TEST(PathStringText, KeepsTextOfAnyLength)
{
    std::wstring longPath = L"C:\\" + std::wstring(40000, L'x') + L"\\y.exe";
    PathString path{WideString((L"  \"" + longPath + L"\"  ").c_str())};
    EXPECT_EQ(Text(path), longPath);
    ExpectSoundWideString(path);
}

TEST(PathStringSplit, DirectoryAndFileName)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* directory;
        const wchar_t* fileName;
    } cases[] = {
        {L"C:\\dir\\file.txt", L"C:\\dir", L"file.txt"},
        {L"C:\\file.txt", L"C:\\", L"file.txt"}, // a drive-root file keeps the backslash
        {L"C:\\", L"C:\\", L""},
        {L"C:\\dir\\", L"C:\\dir", L""},
        {L"\\file.txt", L"", L"file.txt"},
        {L"file.txt", L"", L"file.txt"},
        {L"", L"", L""},
        {L"ab\\x", L"ab\\", L"x"}, // any text whose last backslash is the third character
        {L"\\\\server\\share\\dir\\x.exe", L"\\\\server\\share\\dir", L"x.exe"},
        {L"\\\\server\\share", L"\\\\server", L"share"},
        {L"C:/dir/file.txt", L"", L"C:/dir/file.txt"}, // forward slashes are ordinary characters
        {L"C:\\Program Files\\a b\\x y.exe", L"C:\\Program Files\\a b", L"x y.exe"},
        {L" C:\\dir \\x.exe", L"C:\\dir", L"x.exe"},    // the directory is cleaned: trimmed
        {L"\"C:\\dir\\x.exe\"", L"C:\\di", L"x.exe\""}, // and unquoted, taking its last character
    };
    for (const Case& c : cases) {
        PathString path;
        path.Assign(c.path);
        PathString directory = path.Directory();
        WideString fileName = path.FileName();
        EXPECT_EQ(Text(directory), c.directory) << c.path;
        EXPECT_EQ(Text(fileName), c.fileName) << c.path;
        ExpectSoundWideString(directory);
        ExpectSoundWideString(fileName);
    }
}

TEST(PathStringCommandLine, QuotesPathsWithSpacesAndAppendsArguments)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* arguments;
        const wchar_t* commandLine;
    } cases[] = {
        {L"C:\\tools\\TWK64.exe", L"", L"C:\\tools\\TWK64.exe"},
        {L"C:\\Program Files\\x.exe", L"notepad.exe", L"\"C:\\Program Files\\x.exe\" notepad.exe"},
        {L"C:\\tools\\TWK64.exe", L"C:\\Program Files\\y.exe",
         L"C:\\tools\\TWK64.exe C:\\Program Files\\y.exe"},
        {L"\"C:\\a b\\x.exe\"", L"", L"\"\"C:\\a b\\x.exe\"\""}, // already quoted: a second pair
        {L"\"C:\\ab\\x.exe\"", L"", L"\"C:\\ab\\x.exe\""},       // no space: left alone
        {L"C:\\a\tb\\x.exe", L"", L"C:\\a\tb\\x.exe"},           // only U+0020 counts
        {L"", L"", L""},
        {L"", L"arg", L" arg"},
        {L"x.exe", L"runas  \"C:\\y z.exe\"", L"x.exe runas  \"C:\\y z.exe\""},
    };
    for (const Case& c : cases) {
        PathString path;
        path.Assign(c.path);
        WideString commandLine = path.CommandLine(WideString(c.arguments));
        EXPECT_EQ(Text(commandLine), c.commandLine) << c.path << L" | " << c.arguments;
        ExpectSoundWideString(commandLine);
    }
}

TEST(PathStringFolders, CurrentDirectoryAndShellFolders)
{
    BoxAnswerer answerer;
    EXPECT_EQ(Text(PathString::SpecialFolderPath(-1)), CurrentDirectory());
    EXPECT_EQ(Text(PathString(-1)), CurrentDirectory());

    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(lstrcmpiW(PathString::SpecialFolderPath(CSIDL_WINDOWS).CStr(), windows), 0)
        << Text(PathString::SpecialFolderPath(CSIDL_WINDOWS)) << L" vs " << windows;

    WideString desktop = PathString::SpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
    DWORD attributes = GetFileAttributesW(desktop.CStr());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << Text(desktop);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << Text(desktop);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST(PathStringFolders, FolderAndNameJoinsWithOneBackslash)
{
    BoxAnswerer answerer;
    const WideString name(L"プロセスの終了.lnk");
    {
        CurrentDirectoryChange change(L"C:\\");
        ASSERT_TRUE(change.Changed());
        EXPECT_EQ(Text(PathString(-1, name)), L"C:\\プロセスの終了.lnk")
            << "nothing inserted after a drive root";
    }
    {
        CurrentDirectoryChange change(L"C:\\windows");
        ASSERT_TRUE(change.Changed());
        EXPECT_EQ(lstrcmpiW(PathString(-1, name).CStr(), L"C:\\windows\\プロセスの終了.lnk"), 0)
            << Text(PathString(-1, name));
    }
    WideString desktop = PathString::SpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
    EXPECT_EQ(Text(PathString(CSIDL_DESKTOPDIRECTORY, name)), Text(desktop) + L"\\プロセスの終了.lnk");
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST(PathStringFolders, UnknownFolderIsReportedAndGivesEmptyText)
{
    BoxAnswerer answerer;
    const int kNoSuchFolder = 0x7F;
    WideString path = PathString::SpecialFolderPath(kNoSuchFolder);
    EXPECT_EQ(Text(path), L"");
    ExpectSoundWideString(path);
    std::vector<twk_test::SeenBox> boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u) << "one report; the conversion is not tried without an item list";
    EXPECT_EQ(boxes[0].text.rfind(L"SHGetSpecialFolderLocation Error Code =0x", 0), 0u) << boxes[0].text;
}

} // namespace
