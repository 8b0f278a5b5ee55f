// The main window: choose a file with Browse, see its MD5 digest with
// Generate.
#ifndef VORKEL_APP_DIGESTDLG_H
#define VORKEL_APP_DIGESTDLG_H

#include <afxwin.h>

#include "resource.h"

class CDigestDlg : public CDialog {
public:
    explicit CDigestDlg(CWnd *pParent = NULL);

    enum { IDD = IDD_MAIN };

    CString m_strPath;   // the file last chosen (Browse, or dropped): the one Generate hashes
    CString m_strDigest; // its digest in upper case, or empty

protected:
    HICON m_hIcon; // the program's icon, for the title bar and the minimised window

    void DoDataExchange(CDataExchange *pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnBrowse();
    afx_msg void OnGenerate();
    afx_msg void OnDropFiles(HDROP hDropInfo);

    DECLARE_MESSAGE_MAP()
};

#endif
