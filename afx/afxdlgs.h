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

    // IDOK when the user chose a file, IDCANCEL when not, or when the dialog
    // failed: among others when the choice did not fit the name buffer
    // m_ofn.lpstrFile (m_ofn.nMaxFile bytes), whole or not, or when the ANSI
    // code page can't spell it exactly (where GetOpenFileNameA would give a
    // look-alike, which can name another file). The chooser itself is the
    // UTF-16 one: a hook of the caller's gets its notifications (OFNOTIFYW,
    // OPENFILENAMEW). Of m_ofn it gets the filter and its index, the name
    // buffer, the initial folder, the title, the flags, the default
    // extension, the hook, its data and template; it gives back the choice,
    // its offsets, the filter index and the flags.
    INT_PTR DoModal() override;

    // The full path of the file chosen; empty when the name buffer holds
    // none that is known whole.
    CString GetPathName() const;

    OPENFILENAMEA m_ofn; // as the caller knows it, in the ANSI code page

    // The face the chooser is shown in where the system's fonts lack its
    // texts' glyphs, and the fonts of that face its controls were given,
    // freed once it has closed.
    struct StandInFonts {
        StandInFonts() = default;
        StandInFonts(const StandInFonts &) = delete;
        StandInFonts &operator=(const StandInFonts &) = delete;
        ~StandInFonts();
        std::wstring strFace;
        std::vector<HFONT> fonts;
    };

private:
    // Runs the system's chooser in UTF-16 over m_ofn's fields (see DoModal)
    // and stores the choice; whether there is one.
    BOOL ChooseWide();

    // Puts the wide chooser's choice into the name buffer in the ANSI code
    // page, with its offsets in bytes. FALSE when it is not spelt exactly
    // there or does not fit.
    BOOL StoreChoice(const OPENFILENAMEW &ofn);

    // Whether the name buffer holds a name, with its terminator, that cannot
    // have been cut to fit it. Never reads past the buffer's end.
    BOOL IsNameWhole() const;

    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    std::vector<char> m_filter;   // with '\0' where the caller's string has '|'
    std::vector<char> m_fileName; // the name buffer: 32 KiB, room for long paths
};

#endif
