// CCmdTarget and CWnd: message maps and the window operations the program uses.
#include "afxwin.h"

BOOL CCmdTarget::ProcessMessageMap(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                                   LRESULT * /*pResult*/)
{
    return FALSE; // the end of every chain of maps
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                               reinterpret_cast<LPARAM>(hIcon)));
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    ::GetClientRect(m_hWnd, lpRect);
}

CMenu *CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

HFONT CWnd::GetFont() const
{
    return reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
}

void CWnd::SetFont(HFONT hFont, BOOL bRedraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

int CWnd::MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType)
{
    return ::MessageBoxW(m_hWnd, lpszText, lpszCaption, nType);
}

BOOL CWnd::PreTranslateMessage(MSG * /*pMsg*/)
{
    return FALSE;
}

void CWnd::DoDataExchange(CDataExchange * /*pDX*/)
{
    // No controls bound: nothing to exchange.
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult)
{
    // Messages nest (a handler that runs a modal dialog keeps this window
    // receiving messages meanwhile): each one gets its own mark, and the
    // outer one's is back in place afterwards, even when a handler throws.
    struct DefaultMark {
        BOOL *&m_pbCurrent;
        BOOL *m_pbOuter;
        BOOL m_bWantDefault = FALSE;
        explicit DefaultMark(BOOL *&pbCurrent) : m_pbCurrent(pbCurrent), m_pbOuter(pbCurrent)
        {
            m_pbCurrent = &m_bWantDefault;
        }
        ~DefaultMark() { m_pbCurrent = m_pbOuter; }
    } mark(m_pbWantDefault);

    *pResult = 0;
    BOOL bHandled = ProcessMessageMap(message, wParam, lParam, pResult);
    if (!bHandled && message == WM_COMMAND) {
        // As menus' commands reach the application in the classic library:
        // that is how ID_HELP finds CWinApp::OnHelp.
        CWinApp *pApp = AfxGetApp();
        if (pApp != NULL)
            bHandled = pApp->ProcessMessageMap(message, wParam, lParam, pResult);
    }
    return bHandled && !mark.m_bWantDefault;
}

LRESULT CWnd::Default()
{
    // The default processing of a dialog's message is the dialog manager's,
    // which it does when the dialog procedure returns FALSE. Calling
    // DefDlgProc from here instead would call the dialog procedure again with
    // the same message: endless recursion.
    if (m_pbWantDefault != NULL)
        *m_pbWantDefault = TRUE;
    return 0;
}

void CWnd::OnSysCommand(UINT /*nID*/, LPARAM /*lParam*/)
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnMove(int /*x*/, int /*y*/)
{
    Default();
}

void CWnd::OnActivate(UINT /*nState*/, CWnd * /*pWndOther*/, BOOL /*bMinimized*/)
{
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC * /*pDC*/, CWnd * /*pWnd*/, UINT /*nCtlColor*/)
{
    Default();
    return NULL;
}
