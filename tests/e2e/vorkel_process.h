// Vorkel.exe as its own process, driven from outside the way another program
// can drive it: by finding its windows and sending or posting messages to
// them (see windows_under_test.h).
#ifndef VORKEL_TESTS_VORKEL_PROCESS_H
#define VORKEL_TESTS_VORKEL_PROCESS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "windows_under_test.h"

class VorkelProcess {
public:
    VorkelProcess() = default;
    VorkelProcess(const VorkelProcess &) = delete;
    VorkelProcess &operator=(const VorkelProcess &) = delete;
    ~VorkelProcess();

    // Starts the program with the given arguments after its name, its
    // standard output going into a pipe, in currentDirectory (when given),
    // and waits for its main window.
    testing::AssertionResult Start(const std::wstring &exe, const std::wstring &arguments = L"",
                                   const std::wstring &currentDirectory = L"");

    HWND Main() const { return m_hMain; }
    HWND Item(int nID) const { return ::GetDlgItem(m_hMain, nID); }
    std::wstring ItemText(int nID) const { return ::ItemText(m_hMain, nID); }

    // The program's one thread, which owns all its windows.
    GuiThread Gui() const { return GuiThread(m_program.ThreadId()); }
    HANDLE Process() const { return m_program.Process(); }

    // Browse, the path typed into the real file chooser, Open: done when
    // the path box shows it and the chooser has gone.
    testing::AssertionResult Browse(const std::wstring &path);

    // Files dropped on the main window as Explorer drops them, from inside
    // the program by the hook DLL hookDll (drop_hook.cpp: a drop handle
    // can't cross processes); posted, to be waited for.
    testing::AssertionResult Drop(const std::wstring &hookDll,
                                  const std::vector<std::wstring> &paths);

    // Whether the program has ended within timeoutMs; its exit code then.
    bool Exited(DWORD timeoutMs, DWORD &exitCode) const
    {
        return m_program.Exited(timeoutMs, exitCode);
    }

    // What the program wrote to its standard output so far.
    std::string Output() { return m_program.Output(); }

private:
    ChildProcess m_program; // ended, should a test leave it running
    HWND m_hMain = NULL;
    HHOOK m_hDropHook = NULL; // set by the first Drop
};

#endif
