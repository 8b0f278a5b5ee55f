// The common controls the application uses: the tooltip.
#ifndef VORKEL_AFX_AFXCMN_H
#define VORKEL_AFX_AFXCMN_H

#include "afxwin.h"

#include <commctrl.h>

// A tooltip: a small popup window with a text (and a title with an icon)
// about a tool, which is a window or a part of one. comctl32 is loaded from
// System32 when the first one is made; which version draws it is the
// program manifest's to say (6: balloons in the system's current look).
class CToolTipCtrl : public CWnd {
public:
    // Makes the window, owned by pParentWnd: shown above it, hidden with it
    // when it is minimised and destroyed with it (the object never destroys
    // it). Styles TTS_NOPREFIX and TTS_ALWAYSTIP, and dwStyle (TTS_BALLOON:
    // a balloon with a stem). A click on it leaves the active window as it
    // was. FALSE when it can't be made: m_hWnd is then null and the other
    // calls do nothing.
    BOOL Create(CWnd *pParentWnd, DWORD dwStyle = 0);

    // A tool of window pWnd, known by nIDTool; nFlags TTF_TRACK |
    // TTF_ABSOLUTE make one that shows only when and where the program says
    // (TrackActivate, TrackPosition) instead of under the mouse.
    BOOL AddTool(CWnd *pWnd, UINT_PTR nIDTool, UINT nFlags, LPCTSTR lpszText = "");
    void UpdateTipText(LPCTSTR lpszText, CWnd *pWnd, UINT_PTR nIDTool);

    // The title above the text and the icon before it: TTI_INFO,
    // TTI_WARNING, TTI_ERROR or TTI_NONE.
    BOOL SetTitle(UINT nIcon, LPCTSTR lpszTitle);

    // How wide the text may be drawn, in pixels; once set, every line break
    // in the text ("\r\n") starts a new line.
    int SetMaxTipWidth(int nWidth);

    // A tracking tool: shown (or hidden), and where on the screen; a
    // balloon's stem points at that place.
    void TrackActivate(BOOL bActivate, CWnd *pWnd, UINT_PTR nIDTool);
    void TrackPosition(int x, int y);
};

#endif
