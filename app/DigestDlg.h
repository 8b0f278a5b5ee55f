// The main window: choose a file with Browse, see its MD5 digest with
// Generate, and whether it is the digest the user copied.
#ifndef VORKEL_APP_DIGESTDLG_H
#define VORKEL_APP_DIGESTDLG_H

#include <afxcmn.h>
#include <afxwin.h>

#include "ExpectedDigests.h"
#include "FileDigests.h"
#include "resource.h"

class CDigestDlg : public CDialog {
public:
    explicit CDigestDlg(CWnd *pParent = NULL);
    ~CDigestDlg() override;

    enum { IDD = IDD_MAIN };

    CString m_strPath;   // the file last chosen (Browse, or dropped): the one Generate hashes
    CString m_strDigest; // its digest in upper case, or empty

    // The balloon that tells the verdict on the digest, pointing at the
    // digest box (see DigestCheck.cpp).
    CToolTipCtrl m_balloon;

protected:
    HICON m_hIcon; // the program's icon, for the title bar and the minimised window

    // The digests compared with those on the clipboard (see
    // DigestCheck.cpp): the verdict, which colours the digest box.
    enum Verdict { VERDICT_NONE, VERDICT_MATCH, VERDICT_MISMATCH };
    Verdict m_nVerdict;
    static constexpr COLORREF MATCH_COLOUR = RGB(198, 239, 206);    // light green
    static constexpr COLORREF MISMATCH_COLOUR = RGB(255, 199, 206); // light red
    HBRUSH m_hbrMatch;    // the box's background in those colours
    HBRUSH m_hbrMismatch;

    void DoDataExchange(CDataExchange *pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG *pMsg) override;

    // Ctrl+V with a digest shown: compares it with the clipboard as it is now.
    void CheckClipboard();

    // Hashes the file last chosen into the digest box (empty when it can't
    // be read), and the digests of nKinds (bits 1 << DIGEST_...) beside its
    // MD5 in the same read; the verdict goes.
    void HashFile(unsigned nKinds, CFileDigests &digests);

    // Tells the verdict on the file's digests against those on the clipboard
    // (bRead: the clipboard could be read, FALSE when another program held
    // it). bPasted: the user asked with Ctrl+V, which is answered even when
    // the clipboard holds no digest at all.
    void ShowVerdict(const CExpectedDigests &expected, BOOL bRead, const CFileDigests &digests,
                     BOOL bPasted);
    void SetVerdict(Verdict nVerdict);
    // The balloon with the title, its icon and the text, pointing at the
    // digest box; where no balloon can show, a message box instead (and
    // FALSE once it has been closed).
    BOOL ShowBalloon(UINT nIcon, UINT nIDTitle, LPCWSTR lpszText);
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
