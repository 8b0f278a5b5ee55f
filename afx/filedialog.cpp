// CFileDialog: the system's open-file dialog (GetOpenFileNameA of comdlg32,
// loaded from System32 when the dialog is first shown).
#include "afxdlgs.h"

#include <cstring>

#include "afxpriv.h"

namespace {

// Paths beyond MAX_PATH (long paths) take up to 32767 UTF-16 units. The
// buffer lives on the heap: a CFileDialog is usually a local variable.
const std::size_t FILE_NAME_BUFFER_SIZE = 32 * 1024;

typedef BOOL(APIENTRY *PFNGETFILENAME)(LPOPENFILENAMEA lpofn);

} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd *pParentWnd)
    : CDialog(0, pParentWnd), m_bOpenFileDialog(bOpenFileDialog),
      m_strDefExt(lpszDefExt), m_fileName(FILE_NAME_BUFFER_SIZE, '\0')
{
    // The chooser reads the initial name from the buffer it returns the
    // choice in.
    if (lpszFileName != NULL)
        lstrcpynA(m_fileName.data(), lpszFileName, static_cast<int>(m_fileName.size()));

    // The system wants each description and pattern ended by '\0' and the
    // list by one more. The caller's '|' become '\0', but only where they
    // are characters of their own: in the double-byte code pages (936, 932)
    // the byte 0x7C can be the second half of a character, which
    // IsDBCSLeadByte finds by its first. In UTF-8 it knows no lead bytes and
    // needs none: every byte of a character of 2 to 4 bytes is from 0x80 up.
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
    m_ofn.lpstrFile = m_fileName.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileName.size());
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? NULL : static_cast<LPCTSTR>(m_strDefExt);
    m_ofn.Flags = dwFlags;
}

INT_PTR CFileDialog::DoModal()
{
    // The owner is disabled while the chooser is up, as for any modal dialog.
    m_ofn.hwndOwner = GetOwnerForModal();
    PFNGETFILENAME pfnGetFileName = AfxGetSystemProc<PFNGETFILENAME>(
        "comdlg32.dll", m_bOpenFileDialog ? "GetOpenFileNameA" : "GetSaveFileNameA");
    BOOL bChosen = pfnGetFileName != NULL && pfnGetFileName(&m_ofn);

    // Windows fails with FNERR_BUFFERTOOSMALL when the choice does not fit
    // the buffer. Wine's chooser checks only the name's length in UTF-16
    // units, then converts it into the buffer; in a code page of several
    // bytes a character that can cut it, unterminated, and it reports
    // success all the same. A name that may have been cut is no choice: the
    // dialog counts as failed.
    return bChosen && IsNameWhole() ? IDOK : IDCANCEL;
}

BOOL CFileDialog::IsNameWhole() const
{
    if (m_ofn.lpstrFile == NULL)
        return FALSE;
    std::size_t nLength = strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile);
    return AfxIsTextWhole(static_cast<int>(nLength), static_cast<int>(m_ofn.nMaxFile));
}

CString CFileDialog::GetPathName() const
{
    return IsNameWhole() ? CString(m_ofn.lpstrFile) : CString();
}
