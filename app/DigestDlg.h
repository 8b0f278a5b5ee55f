// The main window: choose a file with Browse, see its MD5 digest with
// Generate, and whether it is the MD5 the user copied.
#ifndef VORKEL_APP_DIGESTDLG_H
#define VORKEL_APP_DIGESTDLG_H

#include <afxcmn.h>
#include <afxwin.h>

#include "resource.h"

class CDigestDlg : public CDialog {
public:
    explicit CDigestDlg(CWnd *pParent = NULL);
    ~CDigestDlg() override;

    enum { IDD = IDD_MAIN };

    CString m_strPath;   // the file last chosen (Browse, or dropped): the one Generate hashes
    CString m_strDigest; // its digest in upper case, or empty

protected:
    HICON m_hIcon; // the program's icon, for the title bar and the minimised window

    // The digest shown compared with the MD5 on the clipboard (see
    // DigestCheck.cpp): the verdict, which colours the digest box, and the
    // balloon that tells it, pointing at the box.
    enum Verdict { VERDICT_NONE, VERDICT_MATCH, VERDICT_MISMATCH };
    Verdict m_nVerdict;
    static constexpr COLORREF MATCH_COLOUR = RGB(198, 239, 206);    // light green
    static constexpr COLORREF MISMATCH_COLOUR = RGB(255, 199, 206); // light red
    HBRUSH m_hbrMatch;    // the box's background in those colours
    HBRUSH m_hbrMismatch;
    CToolTipCtrl m_balloon;

    void DoDataExchange(CDataExchange *pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG *pMsg) override;

    // Compares the digest shown with the clipboard's MD5s and tells the
    // verdict. bPasted: the user asked with Ctrl+V, which is answered even
    // when the clipboard holds no digest at all.
    void CheckClipboard(BOOL bPasted);
    void SetVerdict(Verdict nVerdict);
    void ShowBalloon(UINT nIcon, UINT nIDTitle, const CString &strText);
    void HideBalloon();

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnBrowse();
    afx_msg void OnGenerate();
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg HBRUSH OnCtlColor(CDC *pDC, CWnd *pWnd, UINT nCtlColor);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized);

    DECLARE_MESSAGE_MAP()
};

#endif
