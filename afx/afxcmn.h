// The common controls the application uses: the tooltip.
#ifndef VORKEL_AFX_AFXCMN_H
#define VORKEL_AFX_AFXCMN_H

#include "afxwin.h"

#include <commctrl.h>

#include <string>

// A tooltip: a small popup window with a text (and a title with an icon)
// about a tool, which is a window or a part of one. comctl32 is loaded from
// System32 when the first one is made; which version draws it is the
// program manifest's to say (6: balloons in the system's current look).
class CToolTipCtrl : public CWnd {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() override;

    // Makes the window, owned by pParentWnd: shown above it, hidden with it
    // when it is minimised and destroyed with it (the object never destroys
    // it, and must outlive it). Styles TTS_NOPREFIX and TTS_ALWAYSTIP, and
    // dwStyle (TTS_BALLOON: a balloon with a stem). A click on it leaves the
    // active window as it was. FALSE when it can't be made: m_hWnd is then
    // null and the other calls do nothing.
    BOOL Create(CWnd *pParentWnd, DWORD dwStyle = 0);

    // A tool of window pWnd, known by nIDTool; nFlags TTF_TRACK |
    // TTF_ABSOLUTE make one that shows only when and where the program says
    // (TrackActivate, TrackPosition) instead of under the mouse.
    BOOL AddTool(CWnd *pWnd, UINT_PTR nIDTool, UINT nFlags, LPCTSTR lpszText = "");

    // The texts go in UTF-16, whatever the ANSI code page: the tooltip keeps
    // them so, and an ANSI text would reach it through the code page.
    void UpdateTipText(LPCWSTR lpszText, CWnd *pWnd, UINT_PTR nIDTool);

    // The title above the text and the icon before it (TTI_INFO,
    // TTI_WARNING, TTI_ERROR or TTI_NONE), in the tooltip's font made bold.
    // Drawn by the library, in room it asks the tooltip to leave above the
    // text (TTM_SETMARGIN): the tooltip's own title has a box as tall as a
    // small icon, and Wine's, 16 pixels at any DPI, cuts the top off a
    // taller font, as every font is from 144 DPI on.
    void SetTitle(UINT nIcon, LPCWSTR lpszTitle);
    std::wstring m_strTitle; // as set, for reading back
    UINT m_nTitleIcon = TTI_NONE;

    // How wide the text may be drawn, in pixels; once set, every line break
    // in the text ("\r\n") starts a new line.
    int SetMaxTipWidth(int nWidth);

    // Room around the text (and the title) beyond the tooltip's own, in
    // pixels: what makes a tip larger than its texts.
    void SetMargin(LPRECT lprc);

    // A tracking tool: shown (or hidden), and where on the screen (moved
    // there at once when shown); a balloon's stem points at that place.
    void TrackActivate(BOOL bActivate, CWnd *pWnd, UINT_PTR nIDTool);
    void TrackPosition(int x, int y);

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // The room for the title above the text, for the texts and the font as
    // they are now (TTM_SETMARGIN); and the title drawn there.
    void LayOutTitle();
    void DrawTitle(HDC hDC);

    std::wstring m_strText; // as the tooltip has it
    RECT m_rcMargin = {0, 0, 0, 0}; // as set with SetMargin
    POINT m_ptTrack = {0, 0};
    SIZE m_sizeText = {0, 0};  // the text as the tooltip lays it out
    SIZE m_sizeTitle = {0, 0}; // the room above it: icon, title and the gap below
    int m_nIconSize = 0;       // the icon's side; 0 without one
    int m_cyTitleText = 0;     // the title's line in its font
    HFONT m_hTitleFont = NULL;
};

#endif
