// CFileDialog: the system's open-file dialog (GetOpenFileNameW of comdlg32,
// loaded from System32 when the dialog is first shown), behind the ANSI
// OPENFILENAMEA of the class's callers.
#include "afxdlgs.h"

#include <cstring>
#include <string>

#include "afxpriv.h"

namespace {

// Paths beyond MAX_PATH (long paths) take up to 32767 UTF-16 units. The
// buffer lives on the heap: a CFileDialog is usually a local variable.
const std::size_t FILE_NAME_BUFFER_SIZE = 32 * 1024;

typedef BOOL(APIENTRY *PFNGETFILENAMEW)(LPOPENFILENAMEW lpofn);

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
    const OFNOTIFYW *pNotify = reinterpret_cast<const OFNOTIFYW *>(lParam);
    if (pNotify->hdr.code == CDN_INITDONE || pNotify->hdr.code == CDN_FOLDERCHANGE) {
        auto *pFonts = reinterpret_cast<CFileDialog::StandInFonts *>(pNotify->lpOFN->lCustData);
        AfxShowChooserInFace(::GetParent(hWnd), pFonts->strFace, pFonts->fonts);
    }
    return FALSE;
}

// The bytes of a list of texts each ended by a zero (the filter), up to and
// with the zero that ends the list.
std::size_t ListLength(LPCSTR lpszList)
{
    LPCSTR p = lpszList;
    while (*p != '\0')
        p += std::strlen(p) + 1;
    return p - lpszList + 1;
}

// A caller's text, or list of texts, for the wide chooser; null stays null
// (as a text not of the code page, which the chooser then goes without).
struct WideText {
    explicit WideText(LPCSTR lpsz, bool bList = false)
    {
        if (lpsz != NULL)
            bValid = AfxAnsiToWide(
                lpsz, static_cast<int>(bList ? ListLength(lpsz) : std::strlen(lpsz) + 1), str);
    }
    LPCWSTR Get() const { return bValid ? str.c_str() : NULL; }
    std::wstring str;
    bool bValid = false;
};

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
    BOOL bChosen = ChooseWide();
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

    // A choice that does not fit the buffer fails (StoreChoice), as Windows
    // fails with FNERR_BUFFERTOOSMALL. One that fills it so far that
    // GetPathName, which sees only the buffer, could not tell it from a cut
    // one is no choice either: the dialog counts as failed.
    return bChosen && IsNameWhole() ? IDOK : IDCANCEL;
}

BOOL CFileDialog::ChooseWide()
{
    // The chooser is asked in UTF-16, so that the choice comes back as the
    // file system spells it: GetOpenFileNameA would give a name its code
    // page lacks with a look-alike character, which can name another file
    // that exists. The name buffer holds as many UTF-16 units as the
    // caller's holds bytes: every name that fits the one fits the other.
    WideText filter(m_ofn.lpstrFilter, true), initialDir(m_ofn.lpstrInitialDir),
        title(m_ofn.lpstrTitle), defExt(m_ofn.lpstrDefExt);
    WideText templateName(IS_INTRESOURCE(m_ofn.lpTemplateName) ? NULL : m_ofn.lpTemplateName);
    std::vector<wchar_t> file(m_ofn.lpstrFile != NULL ? m_ofn.nMaxFile : 0, L'\0');
    std::wstring strInitial;
    if (!file.empty() &&
        AfxAnsiToWide(m_ofn.lpstrFile, static_cast<int>(strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile)),
                      strInitial))
        lstrcpynW(file.data(), strInitial.c_str(), static_cast<int>(file.size()));

    OPENFILENAMEW ofn;
    std::memset(&ofn, 0, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = m_ofn.hwndOwner;
    ofn.hInstance = m_ofn.hInstance;
    ofn.lpstrFilter = filter.Get();
    ofn.nFilterIndex = m_ofn.nFilterIndex;
    ofn.lpstrFile = file.empty() ? NULL : file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialDir.Get();
    ofn.lpstrTitle = title.Get();
    ofn.Flags = m_ofn.Flags;
    ofn.lpstrDefExt = defExt.Get();
    ofn.lCustData = m_ofn.lCustData;
    ofn.lpfnHook = m_ofn.lpfnHook;
    ofn.lpTemplateName = IS_INTRESOURCE(m_ofn.lpTemplateName)
                             ? reinterpret_cast<LPCWSTR>(m_ofn.lpTemplateName)
                             : templateName.Get();
    ofn.FlagsEx = m_ofn.FlagsEx;

    PFNGETFILENAMEW pfnGetFileName = AfxGetSystemProc<PFNGETFILENAMEW>(
        "comdlg32.dll", m_bOpenFileDialog ? "GetOpenFileNameW" : "GetSaveFileNameW");
    BOOL bChosen = pfnGetFileName != NULL && pfnGetFileName(&ofn);
    m_ofn.Flags = ofn.Flags;
    m_ofn.nFilterIndex = ofn.nFilterIndex;
    return bChosen && StoreChoice(ofn);
}

BOOL CFileDialog::StoreChoice(const OPENFILENAMEW &ofn)
{
    // One name, or with OFN_ALLOWMULTISELECT the folder and the names, each
    // ended by a zero, and one zero more; looked for inside the buffer only.
    // Not spelt exactly in the code page, or too long for the caller's
    // buffer: no choice.
    const bool bList = (ofn.Flags & OFN_ALLOWMULTISELECT) != 0;
    const LPCWSTR lpszFile = ofn.lpstrFile;
    std::size_t nEnd = 0;
    while (nEnd < ofn.nMaxFile &&
           !(lpszFile[nEnd] == L'\0' && (!bList || (nEnd > 0 && lpszFile[nEnd - 1] == L'\0'))))
        nEnd++;
    if (nEnd == ofn.nMaxFile)
        return FALSE; // unterminated
    std::string strChoice;
    if (!AfxWideToAnsiExact(lpszFile, static_cast<int>(nEnd + 1), strChoice) ||
        strChoice.size() > m_ofn.nMaxFile)
        return FALSE;
    std::memcpy(m_ofn.lpstrFile, strChoice.data(), strChoice.size());

    // Where the name and its extension begin, in bytes.
    auto bytesBefore = [&](WORD nUnits) {
        return static_cast<WORD>(
            ::WideCharToMultiByte(CP_ACP, 0, lpszFile, nUnits, NULL, 0, NULL, NULL));
    };
    m_ofn.nFileOffset = bytesBefore(ofn.nFileOffset);
    m_ofn.nFileExtension = ofn.nFileExtension != 0 ? bytesBefore(ofn.nFileExtension) : 0;
    return TRUE;
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
