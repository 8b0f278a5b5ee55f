// CFileDialog: the system's open-file dialog (GetOpenFileNameA).
#include "afxdlgs.h"

#include <cstring>

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd *pParentWnd)
    : CDialog(0, pParentWnd), m_bOpenFileDialog(bOpenFileDialog),
      m_strDefExt(lpszDefExt)
{
    // The chooser reads the initial name from the buffer it returns the
    // choice in.
    m_szFileName[0] = '\0';
    if (lpszFileName != NULL)
        lstrcpynA(m_szFileName, lpszFileName, sizeof(m_szFileName));

    // The system wants each description and pattern ended by '\0' and the
    // list by one more. The caller's '|' become '\0', but only where they
    // are characters of their own: in a double-byte code page such as 936
    // the byte 0x7C can be the second half of a character.
    if (lpszFilter != NULL && *lpszFilter != '\0') {
        m_filter.assign(lpszFilter, lpszFilter + std::strlen(lpszFilter));
        for (std::size_t i = 0; i < m_filter.size(); i++) {
            if (::IsDBCSLeadByte(static_cast<BYTE>(m_filter[i])) && i + 1 < m_filter.size())
                i++;
            else if (m_filter[i] == '|')
                m_filter[i] = '\0';
        }
        m_filter.insert(m_filter.end(), 2, '\0'); // in case the caller left out the last '|'
    }

    std::memset(&m_ofn, 0, sizeof(m_ofn));
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFilter = m_filter.empty() ? NULL : m_filter.data();
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof(m_szFileName);
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? NULL : static_cast<LPCTSTR>(m_strDefExt);
    m_ofn.Flags = dwFlags;
}

INT_PTR CFileDialog::DoModal()
{
    // The owner is disabled while the chooser is up, as for any modal dialog.
    m_ofn.hwndOwner = GetOwnerForModal();
    BOOL bChosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return bChosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    return m_ofn.lpstrFile;
}
