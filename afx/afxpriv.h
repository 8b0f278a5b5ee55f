// The class library's own helpers, for its classes rather than for programs:
// what the ANSI code page's characters take and names converted into it,
// COM, the system DLLs it loads at run time, dialog templates in memory, the
// font a dialog is to be shown with, and the messages of a modal dialog's
// loop offered to it before they are dispatched.
#ifndef VORKEL_AFX_AFXPRIV_H
#define VORKEL_AFX_AFXPRIV_H

#include "afx.h"

#include <string>
#include <vector>

class CDialog;

// The most bytes one character of the ANSI code page takes (GetCPInfo's
// MaxCharSize): 1 in 1252, 2 in 936 and 932, 4 in UTF-8 (65001).
int AFXAPI AfxGetMaxCharSize();

// Whether a text of nLength bytes that a system function wrote, with its
// terminator, into a buffer of nBufSize bytes is known to be whole. The
// functions that cut a text to fit (LoadStringA, the file chooser) cut it
// before the first character that does not fit whole, which can leave up to
// MaxCharSize - 1 bytes unused: only where one more character of the longest
// kind would still have fitted can nothing have been cut.
BOOL AFXAPI AfxIsTextWhole(int nLength, int nBufSize);

// A text of nLength bytes in the ANSI code page (a list's '\0's may be among
// them) in UTF-16; FALSE when its bytes are not characters of the code page.
BOOL AFXAPI AfxAnsiToWide(LPCSTR lpsz, int nLength, std::wstring &strWide);

// A text of nLength UTF-16 units (a list's '\0's may be among them) in the
// ANSI code page, character for character: FALSE when some character has
// no form of its own there. The system's ANSI functions would give a
// look-alike instead ("a" for "α"), or '?': a name so converted can name
// another file. Where the code page is UTF-8 every text converts but one
// with a lone surrogate.
BOOL AFXAPI AfxWideToAnsiExact(LPCWSTR lpsz, int nLength, std::string &strAnsi);

// COM on the library's one thread, apartment-threaded as the shell's objects
// want it, for the library's own use (shortcuts: AfxResolveShortcut).
// AfxComInit initialises it on the first call and answers from then on
// whether COM can be used on this thread; AfxComTerm, called by AfxWinMain
// once the program has run, undoes what AfxComInit did, if anything. ole32
// is loaded from System32 at run time, like the DLLs below.
BOOL AFXAPI AfxComInit();
void AFXAPI AfxComTerm();

// A DLL of System32 (comdlg32.dll, shell32.dll), loaded from there and no
// other folder; null when it can't be. The library loads such DLLs itself
// rather than importing them, and only after the start-up has restricted the
// DLL search (dllsearch.cpp): the loader would resolve an import, and the
// DLLs that DLL loads by name in turn, before any code of the program runs,
// looking in the program's folder first.
HMODULE AFXAPI AfxLoadSystemLibrary(LPCSTR lpszName);

// Function lpszProc of System32's DLL lpszDll, as the type PFN; null when
// the DLL can't be loaded or lacks it, which the caller takes as a failure.
FARPROC AFXAPI AfxGetSystemProcAddress(LPCSTR lpszDll, LPCSTR lpszProc);
template <class PFN>
PFN AfxGetSystemProc(LPCSTR lpszDll, LPCSTR lpszProc)
{
    // Through a plain function pointer type: GCC warns of a cast between
    // function types that differ.
    return reinterpret_cast<PFN>(
        reinterpret_cast<void (*)()>(AfxGetSystemProcAddress(lpszDll, lpszProc)));
}

// A copy of a dialog template from the resources, in either form (DLGTEMPLATE
// or DLGTEMPLATEEX), whose font and texts can be read and whose font face can
// be replaced; the copy then goes to DialogBoxIndirectParam. Texts are
// UTF-16, as the template holds them: they need not be expressible in the
// ANSI code page.
class CDialogTemplate {
public:
    // Copies template lpszTemplateName of hInst, the one FindResource picks,
    // and notes the language it is in. FALSE when there is no such template
    // or it is not whole.
    BOOL Load(HINSTANCE hInst, LPCTSTR lpszTemplateName);

    // The template's font (DS_SETFONT): its face and size in points; weight
    // and italic are the extended form's (0 and FALSE in the classic form).
    // FALSE when it names none, or asks for the system's message font.
    BOOL GetFont(std::wstring &strFace, WORD &nPointSize, WORD &nWeight, BOOL &bItalic) const;

    // Replaces the face of the template's font (which it must have).
    void SetFontFace(const std::wstring &strFace);

    // The texts of its controls, one after another: what the font shows.
    const std::wstring &GetItemTexts() const { return m_strItemTexts; }

    const DLGTEMPLATE *GetTemplate() const;
    LANGID GetLanguage() const { return m_wLanguage; }

    // The dialog's styles, and its place in dialog units (x, y).
    DWORD GetStyle() const { return m_dwStyle; }
    POINT GetPosition() const { return m_ptPosition; }

private:
    std::vector<BYTE> m_bytes;
    std::wstring m_strItemTexts;
    LANGID m_wLanguage = 0;
    DWORD m_dwStyle = 0;
    POINT m_ptPosition = {0, 0};
    bool m_bExtended = false;
    std::size_t m_nFontOffset = 0;  // the point size; 0 without a font
    std::size_t m_nFaceOffset = 0;  // the face: the font's last field
    std::size_t m_nItemsOffset = 0; // the first control, DWORD-aligned
};

// The face a dialog's font is to have instead of its template's, or empty
// when the template's own is right: see dialogfont.cpp.
std::wstring AFXAPI AfxGetStandInFontFace(const CDialogTemplate &dlgTemp);

// Whether the font selected into hDC has a glyph for every character of
// strText (the test the stand-in face is chosen by).
BOOL AFXAPI AfxHasGlyphs(HDC hDC, const std::wstring &strText);

// Gives every control of the system's file chooser hChooser (its own
// controls and the shell's file list in it) whose font lacks glyphs for its
// text a font of face strFace, in the size of the font it had. The fonts
// go into fonts, for the caller to free once the chooser has closed.
void AFXAPI AfxShowChooserInFace(HWND hChooser, const std::wstring &strFace,
                                 std::vector<HFONT> &fonts);

// While one lives, every message that the dialog manager's loop of a
// running dialog takes for that dialog, a control in it or a window it owns
// (up the chain of parents and owners, to the nearest running dialog) goes to
// the dialog's PreTranslateMessage before it is dispatched, and is dropped
// when that returns TRUE. Not those of a modal window of the system's over
// it (the file chooser), which are that window's. Made by CDialog::DoModal around the loop, which is
// the system's and has no place of ours in it: the loop offers each message
// to the thread's WH_MSGFILTER hook first (code MSGF_DIALOGBOX), as every
// dialog box's loop does, Wine's too. One hook for the thread, for as long as
// any dialog of the library runs there; should the system refuse it, the
// dialogs run without PreTranslateMessage until a later one gets it.
class CModalMessageFilter {
public:
    explicit CModalMessageFilter(CDialog *pDlg);
    ~CModalMessageFilter();
    CModalMessageFilter(const CModalMessageFilter &) = delete;
    CModalMessageFilter &operator=(const CModalMessageFilter &) = delete;

private:
    CDialog *m_pDlg;
};

#endif
