// CToolTipCtrl: the system's tooltip control, from comctl32 loaded at run
// time (systemdll.cpp).
#include "afxcmn.h"

#include "afxpriv.h"

#include <cstring>

namespace {

typedef BOOL(WINAPI *PFNINITCOMMONCONTROLSEX)(const INITCOMMONCONTROLSEX *picce);

// The window procedure of the tooltip's class: the same for every tooltip.
WNDPROC g_pfnToolTipProc;

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

typedef HRESULT(WINAPI *PFNLOADICONWITHSCALEDOWN)(HINSTANCE hinst, PCWSTR pszName, int cx, int cy,
                                                   HICON *phico);

// The title's icon (TTI_INFO, TTI_WARNING, TTI_ERROR; nothing for TTI_NONE)
// drawn nSize pixels square, from the system's own icon of that size where
// it has one (or a larger one scaled down: comctl32 6, Vista on). LoadImage
// can't be asked for a system icon in a size of the caller's: Windows
// loads those only shared, at their one size (Wine loads them any way).
void DrawTitleIcon(HDC hDC, UINT nIcon, int x, int y, int nSize)
{
    LPCWSTR lpszIcon = nIcon == TTI_INFO      ? MAKEINTRESOURCEW(32516)  // IDI_INFORMATION
                       : nIcon == TTI_WARNING ? MAKEINTRESOURCEW(32515) // IDI_WARNING
                       : nIcon == TTI_ERROR   ? MAKEINTRESOURCEW(32513) // IDI_ERROR
                                              : NULL;
    if (lpszIcon == NULL)
        return;
    static const PFNLOADICONWITHSCALEDOWN pfnLoadIconWithScaleDown =
        AfxGetSystemProc<PFNLOADICONWITHSCALEDOWN>("comctl32.dll", "LoadIconWithScaleDown");
    HICON hIcon = NULL;
    if (pfnLoadIconWithScaleDown != NULL &&
        SUCCEEDED(pfnLoadIconWithScaleDown(NULL, lpszIcon, nSize, nSize, &hIcon))) {
        ::DrawIconEx(hDC, x, y, hIcon, nSize, nSize, 0, NULL, DI_NORMAL);
        ::DestroyIcon(hIcon);
    } else {
        // The shared one, in the size of large icons, drawn smaller.
        ::DrawIconEx(hDC, x, y, ::LoadIconW(NULL, lpszIcon), nSize, nSize, 0, NULL, DI_NORMAL);
    }
}

} // namespace

CToolTipCtrl::~CToolTipCtrl()
{
    // The window is its owner's to destroy; should it outlive the object,
    // its painting no longer finds it.
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    if (m_hTitleFont != NULL)
        ::DeleteObject(m_hTitleFont);
}

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
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    g_pfnToolTipProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
    return TRUE;
}

LRESULT CALLBACK CToolTipCtrl::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A tooltip tells; it is never a window to work in: a click on it leaves
    // the active window as it was. (Wine's tooltip takes the activation from
    // its owner at a click, WS_EX_NOACTIVATE or not, and as it hides then,
    // leaves no window active.)
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;

    LRESULT lResult = ::CallWindowProcW(g_pfnToolTipProc, hWnd, message, wParam, lParam);
    // The title, over what the tooltip has painted.
    CToolTipCtrl *pThis = reinterpret_cast<CToolTipCtrl *>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pThis != NULL && !pThis->m_strTitle.empty()) {
        if (message == WM_PAINT) {
            HDC hDC = ::GetDC(hWnd);
            pThis->DrawTitle(hDC);
            ::ReleaseDC(hWnd, hDC);
        } else if (message == WM_PRINTCLIENT) {
            pThis->DrawTitle(reinterpret_cast<HDC>(wParam));
        }
    }
    return lResult;
}

BOOL CToolTipCtrl::AddTool(CWnd *pWnd, UINT_PTR nIDTool, UINT nFlags, LPCTSTR lpszText)
{
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    ti.uFlags = nFlags;
    ti.lpszText = const_cast<LPSTR>(lpszText);
    return m_hWnd != NULL && SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCWSTR lpszText, CWnd *pWnd, UINT_PTR nIDTool)
{
    // The W form of the record: the same fields, the text's pointer typed
    // for UTF-16.
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    TOOLINFOW tiW = {};
    std::memcpy(&tiW, &ti, TTTOOLINFOW_V2_SIZE);
    tiW.lpszText = const_cast<LPWSTR>(lpszText);
    m_strText = lpszText;
    if (m_hWnd != NULL)
        ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tiW));
}

void CToolTipCtrl::SetTitle(UINT nIcon, LPCWSTR lpszTitle)
{
    m_nTitleIcon = nIcon;
    m_strTitle = lpszTitle;
}

int CToolTipCtrl::SetMaxTipWidth(int nWidth)
{
    return m_hWnd != NULL ? static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, nWidth)) : -1;
}

void CToolTipCtrl::SetMargin(LPRECT lprc)
{
    m_rcMargin = *lprc;
    LayOutTitle(); // the margin with the title's room
}

void CToolTipCtrl::TrackActivate(BOOL bActivate, CWnd *pWnd, UINT_PTR nIDTool)
{
    if (bActivate)
        LayOutTitle();
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    if (m_hWnd != NULL)
        SendMessage(TTM_TRACKACTIVATE, bActivate, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::TrackPosition(int x, int y)
{
    m_ptTrack.x = x;
    m_ptTrack.y = y;
    if (m_hWnd != NULL)
        SendMessage(TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
}

void CToolTipCtrl::LayOutTitle()
{
    if (m_hWnd == NULL)
        return;
    if (m_hTitleFont != NULL)
        ::DeleteObject(m_hTitleFont);
    m_hTitleFont = NULL;
    m_sizeTitle.cx = m_sizeTitle.cy = 0;
    RECT rcMargin = m_rcMargin;
    if (!m_strTitle.empty()) {
        HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        LOGFONTW lf = {};
        ::GetObjectW(hFont != NULL ? hFont : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        lf.lfWeight = FW_BOLD;
        m_hTitleFont = ::CreateFontIndirectW(&lf);

        // The text measured as the tooltip measures it, to know where it is.
        HDC hDC = ::GetDC(m_hWnd);
        HGDIOBJ hOldFont = ::SelectObject(hDC, hFont);
        int nMaxWidth = static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH));
        RECT rcText = {0, 0, nMaxWidth > 0 ? nMaxWidth : 0, 0};
        ::DrawTextW(hDC, m_strText.c_str(), -1, &rcText,
                    DT_CALCRECT | DT_EXTERNALLEADING | DT_NOPREFIX |
                        (nMaxWidth > -1 ? DT_WORDBREAK : 0));
        m_sizeText.cx = rcText.right - rcText.left;
        m_sizeText.cy = rcText.bottom - rcText.top;

        // The title's line: the icon, half of it apart from the title; half
        // a line of the title below.
        SIZE size = {0, 0};
        ::SelectObject(hDC, m_hTitleFont);
        ::GetTextExtentPoint32W(hDC, m_strTitle.c_str(), static_cast<int>(m_strTitle.size()), &size);
        ::SelectObject(hDC, hOldFont);
        ::ReleaseDC(m_hWnd, hDC);
        m_nIconSize = m_nTitleIcon != TTI_NONE ? ::GetSystemMetrics(SM_CXSMICON) : 0;
        m_cyTitleText = size.cy;
        m_sizeTitle.cx = (m_nIconSize != 0 ? m_nIconSize + m_nIconSize / 2 : 0) + size.cx;
        m_sizeTitle.cy = (m_nIconSize > size.cy ? m_nIconSize : size.cy) + size.cy / 2;
        rcMargin.top += m_sizeTitle.cy;
        rcMargin.right += m_sizeTitle.cx > m_sizeText.cx ? m_sizeTitle.cx - m_sizeText.cx : 0;
    }
    SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&rcMargin));
}

void CToolTipCtrl::DrawTitle(HDC hDC)
{
    // Where the title goes, from the window's size alone: the tooltip puts
    // the text (and the room above it) in the middle of its body, the same
    // margin on every side, and a balloon's stem on the side of the point
    // it tracks.
    RECT rcClient, rcWindow;
    ::GetClientRect(m_hWnd, &rcClient);
    ::GetWindowRect(m_hWnd, &rcWindow);
    const int cxContent = m_rcMargin.left + (m_sizeText.cx > m_sizeTitle.cx ? m_sizeText.cx : m_sizeTitle.cx) +
                          m_rcMargin.right;
    const int nMargin = (rcClient.right - cxContent) / 2;
    const int cyContent = m_rcMargin.top + m_sizeTitle.cy + m_sizeText.cy + m_rcMargin.bottom;
    int nStem = rcClient.bottom - cyContent - 2 * nMargin;
    if (nStem < 0 || rcWindow.top < m_ptTrack.y)
        nStem = 0; // none, or at the bottom
    const int x = nMargin + m_rcMargin.left, y = nMargin + nStem + m_rcMargin.top;

    const int nIcon = m_nIconSize, cyLine = nIcon > m_cyTitleText ? nIcon : m_cyTitleText;
    DrawTitleIcon(hDC, m_nTitleIcon, x, y + (cyLine - nIcon) / 2, nIcon);
    HGDIOBJ hOldFont = ::SelectObject(hDC, m_hTitleFont);
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF crOld = ::SetTextColor(hDC, static_cast<COLORREF>(SendMessage(TTM_GETTIPTEXTCOLOR)));
    ::TextOutW(hDC, x + (nIcon != 0 ? nIcon + nIcon / 2 : 0), y + (cyLine - m_cyTitleText) / 2,
               m_strTitle.c_str(), static_cast<int>(m_strTitle.size()));
    ::SetTextColor(hDC, crOld);
    ::SetBkMode(hDC, nOldMode);
    ::SelectObject(hDC, hOldFont);
}
