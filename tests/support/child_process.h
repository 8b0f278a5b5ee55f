// A program a test starts as its own process, its standard output going into
// a pipe that the test reads.
#ifndef VORKEL_TESTS_CHILD_PROCESS_H
#define VORKEL_TESTS_CHILD_PROCESS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    ~ChildProcess(); // ends the program if it still runs

    // Starts exe with commandLine as its whole command line (the program's
    // name in it can be any), and with the show state nCmdShow in its
    // start-up information unless that is -1, in currentDirectory (when not
    // empty; else in ours).
    testing::AssertionResult Start(const std::wstring &exe, std::wstring commandLine,
                                   int nCmdShow = -1, const std::wstring &currentDirectory = L"");

    DWORD ThreadId() const { return m_process.dwThreadId; }
    HANDLE Process() const { return m_process.hProcess; }

    // Whether the program has ended within timeoutMs; its exit code then.
    bool Exited(DWORD timeoutMs, DWORD &exitCode) const;

    // Everything the program wrote to its standard output so far (all of it
    // once it has ended: the C runtime flushes its buffer at exit).
    std::string Output();

private:
    PROCESS_INFORMATION m_process = {};
    HANDLE m_hOutput = NULL; // the pipe's reading end
    std::string m_output;
};

#endif
