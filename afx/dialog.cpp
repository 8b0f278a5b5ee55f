// CDialog: modal dialogs run by the system's dialog manager, with one dialog
// procedure for all of them that hands each message to its object's map.
#include "afxwin.h"

#include "afxpriv.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd *pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_pParentWnd(pParentWnd)
{
}

INT_PTR CDialog::DoModal()
{
    // The loop's messages go to PreTranslateMessage first while it runs.
    CModalMessageFilter filter(this);

    // The object rides in WM_INITDIALOG's lParam to DialogProc, which keeps
    // it with the window. DialogBoxParamA disables the owner while the
    // dialog runs its own message loop, and returns once it is destroyed.
    HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    HWND hOwner = GetOwnerForModal();
    LPARAM lParam = reinterpret_cast<LPARAM>(this);

    // Where the template's font lacks glyphs for its texts (under Wine: see
    // dialogfont.cpp), the dialog is made from a copy naming a font that has
    // them.
    CDialogTemplate dlgTemp;
    m_strStandInFace.clear();
    m_bAutoCenter = FALSE;
    if (dlgTemp.Load(hInst, m_lpszTemplateName)) {
        m_strStandInFace = AfxGetStandInFontFace(dlgTemp);
        // A template at x or y 0 gives no place of its own: the dialog
        // manager would put the dialog at its owner's top left corner (the
        // screen's, with no owner).
        POINT pt = dlgTemp.GetPosition();
        m_bAutoCenter = (pt.x == 0 || pt.y == 0) && !(dlgTemp.GetStyle() & DS_ABSALIGN);
    }
    INT_PTR nResult;
    if (m_strStandInFace.empty()) {
        nResult = ::DialogBoxParamA(hInst, m_lpszTemplateName, hOwner, DialogProc, lParam);
    } else {
        dlgTemp.SetFontFace(m_strStandInFace);
        nResult = ::DialogBoxIndirectParamA(hInst, dlgTemp.GetTemplate(), hOwner, DialogProc,
                                            lParam);
    }
    m_hWnd = NULL;
    m_strStandInFace.clear();
    return nResult;
}

HWND CDialog::GetOwnerForModal() const
{
    CWnd *pOwner = m_pParentWnd != NULL ? m_pParentWnd : AfxGetMainWnd();
    return pOwner != NULL && pOwner != this ? pOwner->m_hWnd : NULL;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        // DWLP_USER is the dialog procedure's own slot in the window.
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        reinterpret_cast<CDialog *>(lParam)->m_hWnd = hWnd;
    }
    CDialog *pDlg = reinterpret_cast<CDialog *>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (pDlg == NULL)
        return FALSE; // before WM_INITDIALOG (WM_SETFONT, for one): no object yet

    INT_PTR nResult;
    try {
        nResult = pDlg->HandleMessage(hWnd, message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through user32's frames, which are not built
        // for it (only a failed allocation can come here). A dialog that
        // could not initialise ends with -1, like one that cannot be
        // created; any other message gets the default processing.
        if (message == WM_INITDIALOG)
            ::EndDialog(hWnd, -1);
        nResult = FALSE;
    }

    if (message == WM_NCDESTROY) {
        // The window's last message: the object outlives it and may run again.
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        pDlg->m_hWnd = NULL;
    }
    return nResult;
}

namespace {

// The messages whose result a dialog procedure returns itself instead of
// leaving it in DWLP_MSGRESULT (WM_INITDIALOG, answered apart, is another).
bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
        return true;
    default:
        return false;
    }
}

} // namespace

INT_PTR CDialog::HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        // A dialog that OnInitDialog has placed or sized itself stays so.
        RECT before, after;
        ::GetWindowRect(hWnd, &before);
        BOOL bResult = OnInitDialog();
        ::GetWindowRect(hWnd, &after);
        if (m_bAutoCenter && ::EqualRect(&before, &after))
            CenterWindow();
        return bResult;
    }

    LRESULT lResult;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        return FALSE; // the dialog manager's default processing

    if (ReturnsResultDirectly(message))
        return lResult;
    // Set last, after the handler: the messages it causes to this window
    // (painting while it runs another dialog, for one) leave their results
    // here too, and would overwrite one set before.
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

namespace {

// Moves hWnd, as large as it is now, to the centre of over, kept inside the
// work area; its top left corner first for a window larger than the work
// area, so that the caption can be reached. Returns the size it placed.
SIZE PlaceCentred(HWND hWnd, const RECT &over, const RECT &work)
{
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    const SIZE size = {rect.right - rect.left, rect.bottom - rect.top};
    int x = (over.left + over.right - size.cx) / 2;
    int y = (over.top + over.bottom - size.cy) / 2;
    x = std::max(std::min(x, static_cast<int>(work.right - size.cx)), static_cast<int>(work.left));
    y = std::max(std::min(y, static_cast<int>(work.bottom - size.cy)), static_cast<int>(work.top));
    ::SetWindowPos(hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return size;
}

} // namespace

void CDialog::CenterWindow()
{
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    // With no owner (a main window), the monitor the user is at: the one
    // holding the cursor. Where the cursor can't be had (another desktop
    // is the input one), the primary monitor, which holds (0, 0).
    POINT ptUser = {0, 0};
    if (hOwner == NULL && !::GetCursorPos(&ptUser))
        ptUser = POINT{0, 0};
    HMONITOR hMonitor = hOwner != NULL ? ::MonitorFromWindow(hOwner, MONITOR_DEFAULTTONEAREST)
                                       : ::MonitorFromPoint(ptUser, MONITOR_DEFAULTTOPRIMARY);
    if (!::GetMonitorInfoA(hMonitor, &mi))
        return;
    const RECT &work = mi.rcWork;

    // A hidden or minimised owner has no place worth centring on (a
    // minimised window sits off the screen, at -32000).
    RECT over = work;
    if (hOwner != NULL && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner))
        ::GetWindowRect(hOwner, &over);

    // Moved onto a monitor of another DPI, a per-monitor aware dialog is
    // resized by the dialog manager once it is there (WM_DPICHANGED,
    // Windows 10 1703 on): placed for its old size, it would sit off centre,
    // maybe past the work area's edge. Placed once more for its new size, on
    // the same monitor, it keeps that size.
    const SIZE placed = PlaceCentred(m_hWnd, over, work);
    RECT rect;
    ::GetWindowRect(m_hWnd, &rect);
    if (rect.right - rect.left != placed.cx || rect.bottom - rect.top != placed.cy)
        PlaceCentred(m_hWnd, over, work);
}
