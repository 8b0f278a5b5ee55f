// CDialog: modal dialogs run by the system's dialog manager, with one dialog
// procedure for all of them that hands each message to its object's map.
#include "afxwin.h"

#include "afxpriv.h"

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
    std::wstring strStandIn;
    if (dlgTemp.Load(hInst, m_lpszTemplateName))
        strStandIn = AfxGetStandInFontFace(dlgTemp);
    INT_PTR nResult;
    if (strStandIn.empty()) {
        nResult = ::DialogBoxParamA(hInst, m_lpszTemplateName, hOwner, DialogProc, lParam);
    } else {
        dlgTemp.SetFontFace(strStandIn);
        nResult = ::DialogBoxIndirectParamA(hInst, dlgTemp.GetTemplate(), hOwner, DialogProc,
                                            lParam);
    }
    m_hWnd = NULL;
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
    if (message == WM_INITDIALOG)
        return OnInitDialog();

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
