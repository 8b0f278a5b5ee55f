// Message maps. A class declares its map with DECLARE_MESSAGE_MAP() and
// defines it in its source file:
//
//     BEGIN_MESSAGE_MAP(CMyDialog, CDialog)
//         ON_WM_PAINT()
//         ON_BN_CLICKED(IDC_GO, OnGo)
//     END_MESSAGE_MAP()
//
// The map becomes one member function, ProcessMessageMap, in which every entry
// is a test for exactly its message; the first entry that matches calls its
// handler, and a message no entry takes goes on to the base class's map.
// A derived class's entries therefore come before its base's.
#ifndef VORKEL_AFX_AFXMSG__H
#define VORKEL_AFX_AFXMSG__H

#include "afx.h"

// Declares the map; put it last in the class. It leaves access protected.
#define DECLARE_MESSAGE_MAP()                                                          \
public:                                                                                \
    BOOL ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) \
        override;                                                                      \
                                                                                       \
protected:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                           \
    BOOL theClass::ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam,         \
                                     LRESULT *pResult)                                   \
    {                                                                                    \
        typedef baseClass TheBaseClass;

#define END_MESSAGE_MAP()                                                   \
        return TheBaseClass::ProcessMessageMap(message, wParam, lParam, pResult); \
    }

// A WM_COMMAND is a command when it comes from a menu or an accelerator (no
// control: lParam is null) or is a button's BN_CLICKED (code 0, which menus
// use too). Other notifications from a control with the same ID are not.
inline bool AfxIsCommand(WPARAM wParam, LPARAM lParam, UINT nID)
{
    return LOWORD(wParam) == nID && (HIWORD(wParam) == BN_CLICKED || lParam == 0);
}

// void OnSysCommand(UINT nID, LPARAM lParam): a command of the system menu
// or of the caption's buttons.
#define ON_WM_SYSCOMMAND()                                 \
    if (message == WM_SYSCOMMAND) {                        \
        OnSysCommand(static_cast<UINT>(wParam), lParam);   \
        return TRUE;                                       \
    }

// void OnPaint()
#define ON_WM_PAINT()             \
    if (message == WM_PAINT) {    \
        OnPaint();                \
        return TRUE;              \
    }

// HCURSOR OnQueryDragIcon(): the picture shown while a minimised window is
// dragged.
#define ON_WM_QUERYDRAGICON()                                            \
    if (message == WM_QUERYDRAGICON) {                                   \
        *pResult = reinterpret_cast<LRESULT>(OnQueryDragIcon());         \
        return TRUE;                                                     \
    }

// void OnDropFiles(HDROP hDropInfo): files dropped on a window that accepts
// them (CWnd::DragAcceptFiles). The handler reads them with AfxDragQueryFile
// and ends with AfxDragFinish, which frees the handle.
#define ON_WM_DROPFILES()                                     \
    if (message == WM_DROPFILES) {                            \
        OnDropFiles(reinterpret_cast<HDROP>(wParam));         \
        return TRUE;                                          \
    }

// void OnMove(int x, int y): the window has moved; the new place of its
// client area, in its parent's coordinates (the screen's for a dialog).
#define ON_WM_MOVE()                                                          \
    if (message == WM_MOVE) {                                                 \
        OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); \
        return TRUE;                                                          \
    }

// void OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized): the window
// becomes active (WA_ACTIVE, WA_CLICKACTIVE) or inactive (WA_INACTIVE);
// pWndOther is the window losing or gaining it (it may be null), a stand-in
// object valid during the call. The handler ends with
// the base's, whose default processing moves the focus into a dialog that
// becomes active.
#define ON_WM_ACTIVATE()                                                      \
    if (message == WM_ACTIVATE) {                                             \
        CWnd wndOther;                                                        \
        wndOther.m_hWnd = reinterpret_cast<HWND>(lParam);                      \
        OnActivate(LOWORD(wParam), lParam != 0 ? &wndOther : NULL, HIWORD(wParam) != 0); \
        return TRUE;                                                          \
    }

// HBRUSH OnCtlColor(CDC *pDC, CWnd *pWnd, UINT nCtlColor): a control (or
// the dialog itself) is about to be drawn; nCtlColor tells which kind
// (CTLCOLOR_EDIT, CTLCOLOR_STATIC for a static or a read-only edit box, ...).
// pDC and pWnd are stand-in objects for the call. The handler sets the
// text's colours in pDC and returns the brush of the background, which stays
// its own; or returns the base's, for the default colours.
#define ON_WM_CTLCOLOR()                                                      \
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {       \
        CDC dcCtl;                                                            \
        dcCtl.m_hDC = reinterpret_cast<HDC>(wParam);                           \
        CWnd wndCtl;                                                          \
        wndCtl.m_hWnd = reinterpret_cast<HWND>(lParam);                        \
        *pResult = reinterpret_cast<LRESULT>(                                  \
            OnCtlColor(&dcCtl, &wndCtl, message - WM_CTLCOLORMSGBOX));        \
        return TRUE;                                                          \
    }

// void memberFxn(): a click on button nID.
#define ON_BN_CLICKED(nID, memberFxn)                                          \
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&              \
        LOWORD(wParam) == (nID)) {                                             \
        memberFxn();                                                           \
        return TRUE;                                                           \
    }

// void memberFxn(): command nID, from a menu, an accelerator or a button.
#define ON_COMMAND(nID, memberFxn)                                     \
    if (message == WM_COMMAND && AfxIsCommand(wParam, lParam, (nID))) { \
        memberFxn();                                                   \
        return TRUE;                                                   \
    }

#endif
