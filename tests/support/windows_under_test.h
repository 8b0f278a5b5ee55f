// Finding, reading and driving the windows under test the way a user's keys
// and clicks do: the windows of this thread (a dialog run by the test itself)
// or of another process (Vorkel.exe run as a program). Everything here goes
// through messages and functions that work across processes under Wine too:
// WM_GETTEXT and WM_SETTEXT, posted clicks, keys and commands.
#ifndef VORKEL_TESTS_WINDOWS_UNDER_TEST_H
#define VORKEL_TESTS_WINDOWS_UNDER_TEST_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Texts between the ANSI code page or UTF-8 and UTF-16 (the tests' literals).
std::wstring FromAnsi(const std::string &text);
std::string ToAnsi(const std::wstring &text);
std::wstring FromUtf8(const std::string &text);
std::string ToUtf8(const std::wstring &text);

// Sends a message and waits for it to be handled, a few seconds at most (a
// window answers at once unless its thread is hung or in a modal loop that
// nobody ends); false when no answer came.
bool Send(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
          DWORD_PTR *pResult = nullptr);

// A window's text, read with WM_GETTEXT (which, unlike GetWindowText, asks
// the window itself, so an edit box of another process gives its contents).
std::wstring TextOf(HWND hWnd);
std::wstring ItemText(HWND hDlg, int nID);

// A dialog's controls in the order the dialog manager made them: its
// template's, which is also the tab order.
std::vector<HWND> Controls(HWND hDlg);

// Every visible window inside hParent, at any depth (a list inside a view
// inside the dialog too).
std::vector<HWND> VisibleDescendants(HWND hParent);

// A click on control nID of dialog hDlg: posted (for a button whose handler
// runs a modal loop: a sender would wait for the loop to end), or sent (true
// once the click has been handled).
void Click(HWND hDlg, int nID);
bool ClickNow(HWND hDlg, int nID);

// Puts text on the clipboard as a program the user copied it from does
// (CF_UNICODETEXT); an empty text empties the clipboard. Whether it could.
bool SetClipboardText(const std::wstring &text);

// Presses keys as the user does (SendInput): each down in turn, then up in
// reverse order, as Ctrl+V is pressed. They go to the window in front.
void PressKeys(const std::vector<WORD> &keys);

// Clicks the left mouse button at that point of the screen as the user does.
void ClickAt(POINT pt);

// The screen's monitors; as many as the session was given (VORKEL_MONITORS,
// cmake/wine-session.sh) where it was given some.
std::vector<MONITORINFO> Monitors();

// Types path into an open-file dialog's file name box and presses Open.
// Wine's dialog keeps the name in the combo box cmb13; the edit edt1 is the
// old-style dialog's.
void AnswerFileChooser(HWND hChooser, const std::wstring &path);

// The visible windows of one GUI thread: the caller's own, or the thread of
// another process.
class GuiThread {
public:
    GuiThread(); // the calling thread
    explicit GuiThread(DWORD threadId);

    // Its visible top-level windows, topmost first.
    std::vector<HWND> Windows() const;

    // The newest of them owned by hOwner, or null.
    HWND OwnedWindow(HWND hOwner) const;

    // The open-file dialog owned by hOwner, or null.
    HWND FileChooser(HWND hOwner) const;

    // The tooltip (a balloon, say) owned by hOwner that is shown, or null.
    HWND Tooltip(HWND hOwner) const;

    // The window that has the keyboard focus, or null.
    HWND Focus() const;

    // A key pressed and released, posted to the window with the focus.
    void PressKey(UINT vk) const;

    // Posts IDCANCEL to its newest enabled dialog: what ends a stuck test,
    // one dialog at a time.
    void CancelTopDialog() const;

private:
    DWORD m_threadId;
};

// Polls condition until it holds or timeoutMs have passed; whether it held.
// For windows of another process: it does not run this thread's messages.
// (The limit is for a run that has gone wrong: each step takes well under a
// second, but a machine busy with other work may slow it.)
bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs = 10000);

#endif
