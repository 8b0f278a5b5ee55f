// Vorkel.exe as its own process, driven from outside the way another program
// can drive it: by finding its windows and sending or posting messages to
// them. What works across processes under Wine: WM_GETTEXT and WM_SETTEXT,
// posted clicks, keys and commands; a click whose handler runs a modal loop
// must be posted, or the sender waits for the loop to end.
#ifndef VORKEL_TESTS_VORKEL_PROCESS_H
#define VORKEL_TESTS_VORKEL_PROCESS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// What the test run was started with (see main.cpp).
struct E2eInputs {
    std::wstring vorkelExe;    // Windows path of Vorkel.exe
    std::wstring sampleFile;   // Windows path of a file to hash
    std::wstring sampleDigest; // md5sum's digest of it, upper case
};
const E2eInputs &Inputs();

// Polls condition until it holds or timeoutMs have passed; returns whether
// it held. (The limits are for a run that has gone wrong: each step takes
// well under a second, but a machine busy with other work may slow it.)
bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs = 10000);

// Sends a message and waits for it to be handled, a few seconds at most
// (the program answers at once unless it is hung or in a modal loop that
// nobody ends); false when no answer came.
bool Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR *result = nullptr);

// A window's text, read with WM_GETTEXT (which, unlike GetWindowText, asks
// the window itself, so an edit box of another process gives its contents).
std::wstring TextOf(HWND hWnd);

// The caption of the program's main window, by which it is found.
extern const wchar_t kMainCaption[];

class VorkelProcess {
public:
    VorkelProcess() = default;
    VorkelProcess(const VorkelProcess &) = delete;
    VorkelProcess &operator=(const VorkelProcess &) = delete;
    ~VorkelProcess(); // ends the program if it still runs

    // Starts Vorkel.exe with the given arguments after its name, its
    // standard output going into a pipe, and waits for its main window.
    testing::AssertionResult Start(const std::wstring &arguments);

    HWND Main() const { return m_hMain; }
    HWND Item(int nID) const { return ::GetDlgItem(m_hMain, nID); }
    std::wstring ItemText(int nID) const { return TextOf(Item(nID)); }

    // The program's visible top-level windows.
    std::vector<HWND> Windows() const;
    // The visible window owned by the main window, or null.
    HWND OwnedWindow() const;
    // The control that has the keyboard focus in the program's thread.
    HWND Focus() const;

    // A key pressed and released, posted to the control with the focus.
    void PressKey(UINT vk) const;

    // Whether the program has ended within timeoutMs; its exit code then.
    bool Exited(DWORD timeoutMs, DWORD &exitCode) const;

    // Everything the program wrote to its standard output so far (all of it
    // once it has ended: the C runtime flushes its buffer at exit).
    std::string Output();

private:
    PROCESS_INFORMATION m_process = {};
    HANDLE m_hOutput = NULL; // the pipe's reading end
    HWND m_hMain = NULL;
    std::string m_output;
};

#endif
