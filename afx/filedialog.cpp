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

namespace {

// The chooser's hook, with the stand-in fonts' list in lCustData: at the
// end of the chooser's initialisation, and after each change of folder
// (the shell makes a new file list for each folder), its controls get a
// font with their texts' glyphs. Every notification is left to the chooser
// (FALSE).
UINT_PTR CALLBACK StandInFontHook(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY)
        return FALSE;
    const OFNOTIFYA *pNotify = reinterpret_cast<const OFNOTIFYA *>(lParam);
    if (pNotify->hdr.code == CDN_INITDONE || pNotify->hdr.code == CDN_FOLDERCHANGE) {
        auto *pFonts = reinterpret_cast<CFileDialog::StandInFonts *>(pNotify->lpOFN->lCustData);
        AfxShowChooserInFace(::GetParent(hWnd), pFonts->strFace, pFonts->fonts);
    }
    return FALSE;
}

} // namespace

INT_PTR CFileDialog::DoModal()
{
    // The owner is disabled while the chooser is up, as for any modal dialog.
    m_ofn.hwndOwner = GetOwnerForModal();

    // Where the dialog the chooser opens over is shown in a stand-in face,
    // the system lacks the fonts its texts need (Wine with the code page
    // UTF-8: see dialogfont.cpp), and it draws the chooser in a Latin font
    // too. There, and only there, the chooser comes Explorer-style with a
    // hook that shows it in that face. On Windows the caller's flags go
    // unchanged: a hook would bring back the chooser of old.
    const CDialog *pOwner = dynamic_cast<const CDialog *>(
        m_pParentWnd != NULL ? m_pParentWnd : AfxGetMainWnd());
    StandInFonts standIn;
    if (pOwner != NULL && pOwner != this)
        standIn.strFace = pOwner->m_strStandInFace;
    const OPENFILENAMEA callers = m_ofn;
    const DWORD dwHook = OFN_EXPLORER | OFN_ENABLEHOOK;
    if (!standIn.strFace.empty() && !(m_ofn.Flags & OFN_ENABLEHOOK)) {
        m_ofn.Flags |= dwHook;
        m_ofn.lpfnHook = StandInFontHook;
        m_ofn.lCustData = reinterpret_cast<LPARAM>(&standIn);
    }
    PFNGETFILENAME pfnGetFileName = AfxGetSystemProc<PFNGETFILENAME>(
        "comdlg32.dll", m_bOpenFileDialog ? "GetOpenFileNameA" : "GetSaveFileNameA");
    BOOL bChosen = pfnGetFileName != NULL && pfnGetFileName(&m_ofn);
    // The chooser has closed: its fonts go (standIn's destructor), and the
    // caller's fields are as the caller set them, with what the chooser
    // reports in Flags (OFN_READONLY, say) kept.
    m_ofn.Flags = (m_ofn.Flags & ~dwHook) | (callers.Flags & dwHook);
    m_ofn.lpfnHook = callers.lpfnHook;
    m_ofn.lCustData = callers.lCustData;

    // A failed chooser leaves no name: Windows, for one, writes the size
    // the name needs into the buffer's first two bytes when it does not fit
    // (FNERR_BUFFERTOOSMALL), and Wine leaves the initial name there.
    if (!bChosen && m_ofn.lpstrFile != NULL && m_ofn.nMaxFile > 0)
        m_ofn.lpstrFile[0] = '\0';

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
