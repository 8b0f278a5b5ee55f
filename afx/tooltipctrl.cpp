// CToolTipCtrl: the system's tooltip control, from comctl32 loaded at run
// time (systemdll.cpp).
#include "afxcmn.h"

#include "afxpriv.h"

namespace {

typedef BOOL(WINAPI *PFNINITCOMMONCONTROLSEX)(const INITCOMMONCONTROLSEX *picce);

// The window procedure of the tooltip's class: the same for every tooltip.
WNDPROC g_pfnToolTipProc;

// A tooltip tells; it is never a window to work in: a click on it leaves the
// active window as it was. (Wine's tooltip takes the activation from its
// owner at a click, WS_EX_NOACTIVATE or not, and as it hides then, leaves no
// window active.)
LRESULT CALLBACK NoActivateProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    return ::CallWindowProcW(g_pfnToolTipProc, hWnd, message, wParam, lParam);
}

// A TOOLINFO for the tool nIDTool of window hWnd. The size of the second
// version of the record: comctl32 5 refuses a larger one, 6 takes it too.
TOOLINFOA ToolInfo(CWnd *pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = pWnd->m_hWnd;
    ti.uId = nIDTool;
    return ti;
}

} // namespace

BOOL CToolTipCtrl::Create(CWnd *pParentWnd, DWORD dwStyle)
{
    m_hWnd = NULL;
    // The module a program loads by name is the one its manifest names
    // (Common Controls 6, from the system's side-by-side store) before any
    // folder is searched; System32 is the only folder searched.
    PFNINITCOMMONCONTROLSEX pfnInitCommonControlsEx =
        AfxGetSystemProc<PFNINITCOMMONCONTROLSEX>("comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES}; // the tooltip's class among them
    if (pfnInitCommonControlsEx == NULL || !pfnInitCommonControlsEx(&icc))
        return FALSE;
    m_hWnd = ::CreateWindowExA(WS_EX_NOACTIVATE, TOOLTIPS_CLASSA, NULL,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | dwStyle, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->m_hWnd,
                               NULL, ::GetModuleHandleA(NULL), NULL);
    if (m_hWnd == NULL)
        return FALSE;
    // Subclassed in UTF-16, as the class is: an ANSI procedure would have
    // every text pass through the ANSI code page.
    g_pfnToolTipProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoActivateProc)));
    return TRUE;
}

BOOL CToolTipCtrl::AddTool(CWnd *pWnd, UINT_PTR nIDTool, UINT nFlags, LPCTSTR lpszText)
{
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    ti.uFlags = nFlags;
    ti.lpszText = const_cast<LPSTR>(lpszText);
    return m_hWnd != NULL && SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd *pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    ti.lpszText = const_cast<LPSTR>(lpszText);
    if (m_hWnd != NULL)
        SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

BOOL CToolTipCtrl::SetTitle(UINT nIcon, LPCTSTR lpszTitle)
{
    return m_hWnd != NULL && SendMessage(TTM_SETTITLEA, nIcon, reinterpret_cast<LPARAM>(lpszTitle));
}

int CToolTipCtrl::SetMaxTipWidth(int nWidth)
{
    return m_hWnd != NULL ? static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, nWidth)) : -1;
}

void CToolTipCtrl::TrackActivate(BOOL bActivate, CWnd *pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    if (m_hWnd != NULL)
        SendMessage(TTM_TRACKACTIVATE, bActivate, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::TrackPosition(int x, int y)
{
    if (m_hWnd != NULL)
        SendMessage(TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
}
