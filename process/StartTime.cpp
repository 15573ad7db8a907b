// FormatStartTime: the creation time of a process, or of a 16-bit task's
// thread, read from the system when asked for and given as local time.
#include "process/ProcessSnapshot.h"

#include "core/FailureReport.h"

namespace {

// "YYYY/MM/DD hh:mm:ss.mmm" in local time.
WideString FormatLocalTime(const FILETIME& utc)
{
    FILETIME local = {};
    SYSTEMTIME st = {};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    wchar_t text[64];
    wsprintfW(text, L"%04d/%02d/%02d %02d:%02d:%02d.%03d", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
              st.wSecond, st.wMilliseconds);
    return WideString(text);
}

} // namespace

WideString FormatStartTime(int id)
{
    FILETIME creation = {}, exit = {}, kernel = {}, user = {};
    BOOL read = FALSE;
    if (id > 0) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, static_cast<DWORD>(id));
        if (!process)
            return WideString();
        read = GetProcessTimes(process, &creation, &exit, &kernel, &user);
        ReportApiFailure(read, "GetProcessTimes");
        ReportApiFailure(CloseHandle(process), "CloseHandle");
    } else {
        // A 16-bit task has no process of its own: it started with its thread.
        // Only the 32-bit build lists tasks; the branch is the same in both.
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, static_cast<DWORD>(-id));
        if (!thread)
            return WideString(L"0");
        read = GetThreadTimes(thread, &creation, &exit, &kernel, &user);
        ReportApiFailure(read, "GetThreadTimes");
        ReportApiFailure(CloseHandle(thread), "CloseHandle");
    }
    // Without a creation time there is nothing to show.
    if (!read)
        return WideString();
    return FormatLocalTime(creation);
}
