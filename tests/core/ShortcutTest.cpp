// PathString::CreateShortcut on real files, read back through the shell's
// link object: target, arguments and working directory, Japanese and spaced
// paths, a drive root program, and the files it cannot write.
#include "core/PathString.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/ShortcutReader.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <string>

using namespace twk_test;

namespace {

class CreateShortcutTest : public ::testing::Test {
protected:
    CreateShortcutTest() : directory(L"twk-shortcut") {}
    void SetUp() override
    {
        ASSERT_TRUE(directory.Created());
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    }
    void TearDown() override { OleUninitialize(); }

    TempDirectory directory;
};

TEST_F(CreateShortcutTest, WritesTargetArgumentsAndWorkingDirectory)
{
    // Programs that exist, as the program's own path always does.
    struct Case {
        std::wstring program;
        const wchar_t* arguments;
        std::wstring workingDirectory;
    };
    const Case cases[] = {
        {directory / L"Tools\\TWK64.exe", L"C:\\Program Files\\App\\app.exe", directory / L"Tools"},
        {directory / L"設定 テスト\\ツール\\TWK64.exe", L"C:\\Program Files\\設定 テスト\\アプリ.exe",
         directory / L"設定 テスト\\ツール"},
    };
    int n = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(CopyFileCreatingDirectories(BinPath(L"twk_target.exe"), c.program));
        std::wstring link = directory / (L"プロセスの終了 " + std::to_wstring(++n) + L".lnk");
        ASSERT_TRUE(PathString(WideString(c.program.c_str()))
                        .CreateShortcut(WideString(link.c_str()), WideString(c.arguments), false));
        ShortcutContents read = ReadShortcut(link);
        ASSERT_TRUE(read.loaded);
        EXPECT_EQ(read.itemPath, c.program);
        // Wine keeps the link's plain target text in the ANSI code page (not
        // Japanese here); the item list above holds it whole.
        if (std::all_of(c.program.begin(), c.program.end(), [](wchar_t ch) { return ch < 128; })) {
            EXPECT_EQ(read.path, c.program);
        }
        EXPECT_EQ(read.arguments, c.arguments);
        EXPECT_EQ(read.workingDirectory, c.workingDirectory);
    }
}

// Wine's link object takes the run-as-administrator flag and forgets it
// (SetFlags stores nothing), so only the success of the second save shows.
TEST_F(CreateShortcutTest, AnElevatedTargetSavesTheLinkAgainWithItsFlag)
{
    std::wstring link = directory / L"elevated.lnk";
    ASSERT_TRUE(PathString(WideString(L"C:\\Tools\\TWK64.exe"))
                    .CreateShortcut(WideString(link.c_str()), WideString(L"C:\\Admin\\tool.exe"), true));
    ShortcutContents read = ReadShortcut(link);
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(read.arguments, L"C:\\Admin\\tool.exe");
}

// A folder where the link should go, and a link in a folder that does not
// exist. (A read-only file cannot stand in here: the tests run as root,
// and Wine keeps the read-only attribute in the file's write permissions.)
TEST_F(CreateShortcutTest, APlaceItCannotWriteGivesFalseAndChangesNothing)
{
    PathString program(WideString(L"C:\\Tools\\TWK64.exe"));
    std::wstring folder = directory / L"プロセスの終了.lnk";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_FALSE(program.CreateShortcut(WideString(folder.c_str()), WideString(L"C:\\a.exe"), false));
    EXPECT_FALSE(program.CreateShortcut(WideString(folder.c_str()), WideString(L"C:\\a.exe"), true));
    EXPECT_EQ(GetFileAttributesW(folder.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));

    std::wstring inMissingFolder = directory / L"no such folder\\x.lnk";
    EXPECT_FALSE(
        program.CreateShortcut(WideString(inMissingFolder.c_str()), WideString(L"C:\\a.exe"), false));
    EXPECT_EQ(FileBytes(inMissingFolder), "<missing>");
}

} // namespace
