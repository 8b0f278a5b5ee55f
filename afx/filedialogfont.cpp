// The system's file chooser shown in a font with its texts' glyphs. Under
// Wine with the code page UTF-8 the chooser draws its labels, buttons and the
// names it lists in a Latin font, whatever their script: each Chinese or
// Japanese character an empty box. Its hook (filedialog.cpp) gives each of
// its controls whose font lacks a glyph for its text one of the face the
// dialogs are shown in.
#include "afxdlgs.h"

#include <commctrl.h>

#include "afxpriv.h"

namespace {

// What a control shows: its text and, for the lists (the shell's file list,
// the combo boxes' lists), their items' texts, which can be names in any
// script; for a toolbar, its buttons' labels.
std::wstring ShownText(HWND hWnd)
{
    wchar_t szClass[32] = L"";
    ::GetClassNameW(hWnd, szClass, 32);
    std::wstring strText(::GetWindowTextLengthW(hWnd) + 1, L'\0');
    strText.resize(::GetWindowTextW(hWnd, &strText[0], static_cast<int>(strText.size())));
    std::wstring strItem;
    if (lstrcmpiW(szClass, WC_LISTVIEWW) == 0) {
        strItem.resize(MAX_PATH);
        const int nItems = static_cast<int>(::SendMessageW(hWnd, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < nItems; i++) {
            LVITEMW item = {};
            item.pszText = &strItem[0];
            item.cchTextMax = MAX_PATH;
            ::SendMessageW(hWnd, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
            strText += item.pszText;
        }
    } else if (lstrcmpiW(szClass, TOOLBARCLASSNAMEW) == 0) {
        // The places bar: its buttons' labels are its own, not window texts.
        const int nButtons = static_cast<int>(::SendMessageW(hWnd, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < nButtons; i++) {
            TBBUTTON button = {};
            ::SendMessageW(hWnd, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
            LRESULT nLength = ::SendMessageW(hWnd, TB_GETBUTTONTEXTW, button.idCommand, 0);
            if (nLength <= 0)
                continue;
            strItem.assign(nLength + 1, L'\0');
            ::SendMessageW(hWnd, TB_GETBUTTONTEXTW, button.idCommand,
                           reinterpret_cast<LPARAM>(&strItem[0]));
            strText += strItem.c_str();
        }
    } else if (lstrcmpiW(szClass, WC_COMBOBOXW) == 0 &&
               (::GetWindowLongW(hWnd, GWL_STYLE) & CBS_HASSTRINGS)) {
        const int nItems = static_cast<int>(::SendMessageW(hWnd, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < nItems; i++) {
            strItem.assign(::SendMessageW(hWnd, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
            ::SendMessageW(hWnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&strItem[0]));
            strText += strItem.c_str();
        }
    }
    return strText;
}

struct Chooser {
    const std::wstring &strFace;
    std::vector<HFONT> &fonts;
    HDC hDC;
};

// A font of the face like lf (its size, weight and slant), one for each
// size: made the first time, then the same.
HFONT FontLike(Chooser &chooser, LOGFONTW lf)
{
    lstrcpynW(lf.lfFaceName, chooser.strFace.c_str(), LF_FACESIZE);
    lf.lfCharSet = DEFAULT_CHARSET; // the face's own
    for (HFONT hFont : chooser.fonts) {
        LOGFONTW made = {};
        ::GetObjectW(hFont, sizeof(made), &made);
        if (made.lfHeight == lf.lfHeight && made.lfWeight == lf.lfWeight &&
            made.lfItalic == lf.lfItalic)
            return hFont;
    }
    HFONT hFont = ::CreateFontIndirectW(&lf);
    if (hFont != NULL)
        chooser.fonts.push_back(hFont);
    return hFont;
}

BOOL CALLBACK ShowInFace(HWND hWnd, LPARAM lParam)
{
    Chooser &chooser = *reinterpret_cast<Chooser *>(lParam);
    // No WM_SETFONT: the control draws with the system font.
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
    if (hFont == NULL)
        hFont = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    HGDIOBJ hOld = ::SelectObject(chooser.hDC, hFont);
    BOOL bHasGlyphs = AfxHasGlyphs(chooser.hDC, ShownText(hWnd));
    ::SelectObject(chooser.hDC, hOld);
    LOGFONTW lf = {};
    if (!bHasGlyphs && ::GetObjectW(hFont, sizeof(lf), &lf)) {
        if (HFONT hStandIn = FontLike(chooser, lf))
            ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hStandIn), TRUE);
    }
    return TRUE;
}

} // namespace

void AFXAPI AfxShowChooserInFace(HWND hChooser, const std::wstring &strFace,
                                 std::vector<HFONT> &fonts)
{
    Chooser chooser = {strFace, fonts, ::GetDC(hChooser)};
    // Every window inside the chooser, the file list inside the shell's view
    // among them.
    ::EnumChildWindows(hChooser, ShowInFace, reinterpret_cast<LPARAM>(&chooser));
    ::ReleaseDC(hChooser, chooser.hDC);
}

CFileDialog::StandInFonts::~StandInFonts()
{
    for (HFONT hFont : fonts)
        ::DeleteObject(hFont);
}
