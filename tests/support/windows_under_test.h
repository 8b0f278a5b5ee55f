// Finding the windows under test, reading them, and acting on them the way a
// user's keys and clicks do. All for windows of the calling thread.
#ifndef VORKEL_TESTS_WINDOWS_UNDER_TEST_H
#define VORKEL_TESTS_WINDOWS_UNDER_TEST_H

#include <windows.h>

#include <string>

// Texts between the ANSI code page and UTF-16 (the tests' literals).
std::wstring FromAnsi(const std::string &text);
std::string ToAnsi(const std::wstring &text);

std::wstring WindowText(HWND hWnd);
std::wstring ItemText(HWND hDlg, int nID);

// The visible window of this thread owned by hOwner, the newest first; null
// when there is none.
HWND FindOwnedWindow(HWND hOwner);

// The open-file dialog owned by hOwner, or null. Told apart by its file name
// box: the combo box cmb13 in Wine's explorer-style dialog, the edit edt1 in
// the old style.
HWND FindFileChooser(HWND hOwner);

// Types path (ANSI) into the chooser's file name box and presses its Open
// button.
void AnswerFileChooser(HWND hChooser, const std::string &path);

// A click on control nID of dialog hDlg: posted, or sent (returns once the
// click has been handled).
void Click(HWND hDlg, int nID);
void ClickNow(HWND hDlg, int nID);

// A key pressed and released, posted to the window that has the focus.
void PressKey(UINT vk);

// Posts IDCANCEL to the newest enabled dialog of this thread: what ends a
// stuck test, one dialog at a time.
void CancelTopDialog();

#endif
