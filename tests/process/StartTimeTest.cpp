// FormatStartTime: the creation time of a running fixture and of a thread,
// as local time text, and the texts for what is no longer there.
#include "process/ProcessSnapshot.h"
#include "tests/process/ProcessTestSupport.h"
#include "tests/support/TargetProgram.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

using twk_test::ProcessEngineTest;

const std::wregex kStartTimeForm(L"\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}\\.\\d{3}");

SYSTEMTIME LocalTimeOf(const FILETIME& utc)
{
    FILETIME local = {};
    SYSTEMTIME st = {};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    return st;
}

// The text has the form YYYY/MM/DD hh:mm:ss.mmm and says the given time.
void ExpectStartTimeText(const std::wstring& text, const SYSTEMTIME& expected)
{
    ASSERT_TRUE(std::regex_match(text, kStartTimeForm)) << "text: " << std::string(text.begin(), text.end());
    int year, month, day, hour, minute, second, ms;
    ASSERT_EQ(
        swscanf(text.c_str(), L"%d/%d/%d %d:%d:%d.%d", &year, &month, &day, &hour, &minute, &second, &ms), 7);
    EXPECT_EQ(year, expected.wYear);
    EXPECT_EQ(month, expected.wMonth);
    EXPECT_EQ(day, expected.wDay);
    EXPECT_EQ(hour, expected.wHour);
    EXPECT_EQ(minute, expected.wMinute);
    EXPECT_EQ(second, expected.wSecond);
    EXPECT_EQ(ms, expected.wMilliseconds);
}

using FormatStartTimeTest = ProcessEngineTest;

TEST_F(FormatStartTimeTest, GivesTheCreationTimeOfAProcessInLocalTime)
{
    twk_test::TempDirectory dir(L"twk-time");
    ASSERT_TRUE(dir.Created());
    std::wstring image = dir / L"Timed.exe";
    ASSERT_TRUE(twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), image));
    auto program = twk_test::StartTarget(image, L"nowindow");
    ASSERT_TRUE(program);

    FILETIME creation, exit, kernel, user;
    ASSERT_TRUE(GetProcessTimes(program->Handle(), &creation, &exit, &kernel, &user));
    std::wstring text = FormatStartTime(static_cast<int>(program->Id())).CStr();
    ExpectStartTimeText(text, LocalTimeOf(creation));

    // And it is today's local time: within a minute of now.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a{{creation.dwLowDateTime, creation.dwHighDateTime}};
    ULARGE_INTEGER b{{now.dwLowDateTime, now.dwHighDateTime}};
    EXPECT_LT(b.QuadPart - a.QuadPart, 60ull * 10000000ull);
}

TEST_F(FormatStartTimeTest, GivesTheCreationTimeOfAThreadForATaskId)
{
    // A 16-bit task's id is its thread id negated; any thread answers the same way.
    FILETIME creation, exit, kernel, user;
    ASSERT_TRUE(GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user));
    std::wstring text = FormatStartTime(-static_cast<int>(GetCurrentThreadId())).CStr();
    ExpectStartTimeText(text, LocalTimeOf(creation));
}

TEST_F(FormatStartTimeTest, GivesNoTextForAProcessThatIsGone)
{
    twk_test::TempDirectory dir(L"twk-time");
    ASSERT_TRUE(dir.Created());
    std::wstring image = dir / L"Gone.exe";
    ASSERT_TRUE(twk_test::CopyFileCreatingDirectories(twk_test::TargetProgramPath(), image));
    DWORD id = 0;
    {
        auto program = twk_test::StartTarget(image, L"nowindow");
        ASSERT_TRUE(program);
        id = program->Id();
        ASSERT_FALSE(FormatStartTime(static_cast<int>(id)).Length() == 0);
    } // killed here, and its handle closed
    ASSERT_TRUE(twk_test::WaitForProcessGone(id, 5000));
    EXPECT_STREQ(FormatStartTime(static_cast<int>(id)).CStr(), L"");
    // An id that never named a process.
    EXPECT_STREQ(FormatStartTime(0x7FFFFFF0).CStr(), L"");
}

TEST_F(FormatStartTimeTest, GivesZeroForATaskWhoseThreadHasEnded)
{
    DWORD threadId = 0;
    HANDLE thread = CreateThread(
        nullptr, 0, [](void*) -> DWORD { return 0; }, nullptr, 0, &threadId);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread); // the last handle: the thread object is gone
    EXPECT_STREQ(FormatStartTime(-static_cast<int>(threadId)).CStr(), L"0");
    // A thread id that never named a thread.
    EXPECT_STREQ(FormatStartTime(-0x7FFFFFF0).CStr(), L"0");
}

} // namespace
