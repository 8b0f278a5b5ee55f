// The messages of a modal dialog's loop offered to the dialog before they
// are dispatched (PreTranslateMessage), through the thread's message filter
// hook.
#include "afxwin.h"

#include "afxpriv.h"

#include <algorithm>
#include <vector>

namespace {

// The dialogs running on this thread, innermost last, and the hook that
// serves them all while there is one.
thread_local std::vector<CDialog *> t_running;
thread_local HHOOK t_hHook = NULL;

// The nearest running dialog that hWnd is, is inside or is owned by (GetParent
// gives a popup's owner), if that dialog's loop is the one running: null for
// a thread message, and for the windows of a modal window of the system's
// (the file chooser, a message box) over it, which has a loop of its own and
// has disabled its owner, as every modal window does.
CDialog *RunningDialogOf(HWND hWnd)
{
    for (; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        for (auto it = t_running.rbegin(); it != t_running.rend(); ++it)
            if ((*it)->m_hWnd == hWnd)
                return ::IsWindowEnabled(hWnd) ? *it : NULL;
    }
    return NULL;
}

LRESULT CALLBACK MessageFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == MSGF_DIALOGBOX) {
        MSG *pMsg = reinterpret_cast<MSG *>(lParam);
        CDialog *pDlg = RunningDialogOf(pMsg->hwnd);
        BOOL bTaken = FALSE;
        try {
            bTaken = pDlg != NULL && pDlg->PreTranslateMessage(pMsg);
        } catch (...) {
            // Nothing may unwind into the dialog manager's loop (see
            // dialog.cpp): the message goes on as if untouched.
        }
        if (bTaken)
            return TRUE; // the loop neither translates nor dispatches it
    }
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

} // namespace

CModalMessageFilter::CModalMessageFilter(CDialog *pDlg) : m_pDlg(pDlg)
{
    t_running.push_back(pDlg);
    if (t_hHook != NULL)
        return;
    // A hook of the thread's own needs no DLL, but the system can still
    // refuse one (its memory for the desktop's windows and hooks is
    // limited). Then the dialog runs as any dialog box does, without
    // PreTranslateMessage: every key goes to its control (Ctrl+V pastes).
    // The next dialog to start tries again, and the hook it gets serves
    // this one too from then on.
    t_hHook = ::SetWindowsHookExA(WH_MSGFILTER, MessageFilterHook, NULL, ::GetCurrentThreadId());
    if (t_hHook == NULL) {
        char szMessage[80];
        ::wsprintfA(szMessage, "afx: no message filter hook (error %lu)\n", ::GetLastError());
        ::OutputDebugStringA(szMessage); // what a debugger shows
    }
}

CModalMessageFilter::~CModalMessageFilter()
{
    t_running.erase(std::find(t_running.begin(), t_running.end(), m_pDlg));
    if (t_running.empty() && t_hHook != NULL) {
        ::UnhookWindowsHookEx(t_hHook);
        t_hHook = NULL;
    }
}
