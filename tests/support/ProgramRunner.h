// Starting programs (ours or fixtures) from tests and collecting their exit
// codes. A program still running when its RunningProgram goes is killed.
#pragma once

#include <windows.h>

#include <string>

namespace twk_test {

// Full path of a file in the directory of the running test program, where
// the build puts every exe.
std::wstring BinPath(const std::wstring& fileName);

// A whole command line, passed to the program exactly as given.
struct RawCommandLine {
    std::wstring text;
};

class RunningProgram {
public:
    // Starts "path" args; check Started().
    RunningProgram(const std::wstring& path, const std::wstring& arguments);
    // Starts path with exactly this command line (program name included).
    RunningProgram(const std::wstring& path, const RawCommandLine& commandLine);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return process != nullptr; }
    DWORD Id() const { return processId; }
    HANDLE Handle() const { return process; }

    // True when the program has ended within timeoutMs.
    bool WaitExit(DWORD timeoutMs);
    // The exit code, or STILL_ACTIVE while it runs.
    DWORD ExitCode();
    void Kill();

private:
    void Start(const std::wstring& path, const std::wstring& commandLine);

    HANDLE process;
    DWORD processId;
};

// Runs a program to its end; returns its exit code, or -1 if it did not start
// or did not end within timeoutMs (it is then killed).
long RunToExit(const std::wstring& path, const std::wstring& arguments, DWORD timeoutMs);

} // namespace twk_test
