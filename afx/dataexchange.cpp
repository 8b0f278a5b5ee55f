// Dialog data exchange: members to controls and back.
#include "afxwin.h"

CDataExchange::CDataExchange(CWnd *pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

void AFXAPI DDX_Text(CDataExchange *pDX, int nIDC, CString &value)
{
    HWND hWndCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (pDX->m_bSaveAndValidate) {
        int nLength = ::GetWindowTextLengthA(hWndCtrl);
        // GetWindowTextA counts its buffer with the terminator.
        nLength = ::GetWindowTextA(hWndCtrl, value.GetBuffer(nLength), nLength + 1);
        value.ReleaseBuffer(nLength);
    } else {
        ::SetWindowTextA(hWndCtrl, value);
    }
}
