// The common dialogs: the open-file dialog.
#ifndef VORKEL_AFX_AFXDLGS_H
#define VORKEL_AFX_AFXDLGS_H

#include "afxwin.h"

#include <commdlg.h>

#include <vector>

// The system's dialog for choosing a file to open (or a name to save under).
class CFileDialog : public CDialog {
public:
    // lpszDefExt: appended when the user types a name without an extension
    // (no dot). lpszFileName: the name the dialog starts with, such as
    // "*.exe". lpszFilter: pairs of a description and its patterns, each
    // ended by '|', the whole by "||": "Text files|*.txt|All files|*.*||".
    // Without a parent the dialog is owned by the application's main window.
    CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL, LPCTSTR lpszFileName = NULL,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                LPCTSTR lpszFilter = NULL, CWnd *pParentWnd = NULL);

    // IDOK when the user chose a file, IDCANCEL when not (or when the dialog
    // failed, as for a choice too long for the name buffer).
    INT_PTR DoModal() override;

    // The full path of the file chosen.
    CString GetPathName() const;

    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    std::vector<char> m_filter; // with '\0' where the caller's string has '|'
    char m_szFileName[MAX_PATH];
};

#endif
