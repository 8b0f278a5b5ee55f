// The font a dialog is shown with. The dialog manager makes it from the
// template: the face by name, in DEFAULT_CHARSET whatever character set the
// template gives. Windows then finds the face (宋体, SimSun, say) by its name,
// and the texts show in it whatever the process's code page.
//
// Wine, asked for a face it does not have (a prefix has no SimSun), picks a
// font by the character set instead, and DEFAULT_CHARSET stands for the ANSI
// code page's. With the code page UTF-8 that is a Latin font: every Chinese
// character of the dialog becomes an empty box, and the dialog is laid out
// with that font's metrics too. A font signature is no guide either: a CJK
// fallback font may claim the Chinese code page and have no Latin letters.
//
// So before the dialog is made, the font the dialog manager will make is made
// here first and asked for a glyph for every character of the controls'
// texts. When it has them, nothing changes (Windows with SimSun: always).
// Otherwise the dialog is made from a copy of the template naming a font of
// the same size and weight, in the character set of the template's language,
// that has them (the one that fits the layout best, below). The dialog manager then lays the dialog out with the font
// that draws it, owns and frees it, and rescales it with the dialog when a
// per-monitor aware window moves to a monitor of another DPI, as it does for
// any template font. (Setting a font of our own on the controls after they
// are made would show the glyphs, but leave the layout measured with the
// Latin font, and the font unscaled when the DPI changes.)
#include "afxpriv.h"

#include <algorithm>
#include <cfloat>

namespace {

// How the font that lf makes shows strText: whether it has a glyph for every
// character, whether it carries bitmaps of its glyphs for small sizes, and
// how wide the text is in dialog units, which the dialog manager measures
// with the font's average width of the letters A to Z and a to z (as
// GdiGetCharDimensions does).
struct TextFit {
    bool bHasGlyphs = false;
    bool bHasBitmaps = false;
    double dDialogUnits = 0;
};

// The 'EBLC' table of a TrueType font locates its bitmap glyphs; GetFontData
// takes a table's tag as four bytes in file order.
const DWORD BITMAP_LOCATION_TABLE = 'E' | 'B' << 8 | 'L' << 16 | 'C' << 24;

TextFit Measure(HDC hDC, const LOGFONTW &lf, const std::wstring &strText)
{
    TextFit fit;
    HFONT hFont = ::CreateFontIndirectW(&lf);
    if (hFont == NULL)
        return fit;
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    const int nLength = static_cast<int>(strText.size());
    fit.bHasGlyphs = AfxHasGlyphs(hDC, strText) != FALSE;
    fit.bHasBitmaps = ::GetFontData(hDC, BITMAP_LOCATION_TABLE, 0, NULL, 0) != GDI_ERROR;
    static const wchar_t LETTERS[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE letters, text;
    if (::GetTextExtentPoint32W(hDC, LETTERS, 52, &letters) &&
        ::GetTextExtentPoint32W(hDC, strText.c_str(), nLength, &text)) {
        int nBaseUnit = (letters.cx / 26 + 1) / 2;
        fit.dDialogUnits = nBaseUnit > 0 ? 4.0 * text.cx / nBaseUnit : DBL_MAX;
    }
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
    return fit;
}

// The character set of the language's script; DEFAULT_CHARSET (every font)
// for a neutral language, or one without a code page of its own.
BYTE CharsetOf(LANGID wLanguage)
{
    DWORD dwCodePage = 0;
    CHARSETINFO csi;
    if (PRIMARYLANGID(wLanguage) != LANG_NEUTRAL &&
        ::GetLocaleInfoA(MAKELCID(wLanguage, SORT_DEFAULT),
                         LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                         reinterpret_cast<LPSTR>(&dwCodePage), sizeof(dwCodePage)) &&
        ::TranslateCharsetInfo(reinterpret_cast<DWORD *>(static_cast<UINT_PTR>(dwCodePage)),
                               &csi, TCI_SRCCODEPAGE))
        return static_cast<BYTE>(csi.ciCharset);
    return DEFAULT_CHARSET;
}

// The font families of a character set ('@' faces, for vertical writing,
// left out).
std::vector<std::wstring> FamiliesOf(HDC hDC, BYTE nCharset)
{
    std::vector<std::wstring> families;
    LOGFONTW lf = {};
    lf.lfCharSet = nCharset;
    ::EnumFontFamiliesExW(
        hDC, &lf,
        [](const LOGFONTW *plf, const TEXTMETRICW *, DWORD, LPARAM lParam) -> int {
            if (plf->lfFaceName[0] != L'@')
                reinterpret_cast<std::vector<std::wstring> *>(lParam)->push_back(plf->lfFaceName);
            return 1;
        },
        reinterpret_cast<LPARAM>(&families), 0);
    return families;
}

} // namespace

BOOL AFXAPI AfxHasGlyphs(HDC hDC, const std::wstring &strText)
{
    // A font without a glyph for a character draws its default glyph, an
    // empty box: GGI_MARK_NONEXISTING_GLYPHS tells those apart.
    std::vector<WORD> indices(strText.size());
    return ::GetGlyphIndicesW(hDC, strText.c_str(), static_cast<int>(strText.size()),
                              indices.data(), GGI_MARK_NONEXISTING_GLYPHS) == strText.size() &&
           std::find(indices.begin(), indices.end(), 0xFFFF) == indices.end();
}

std::wstring AFXAPI AfxGetStandInFontFace(const CDialogTemplate &dlgTemp)
{
    std::wstring strFace;
    WORD nPointSize, nWeight;
    BOOL bItalic;
    if (!dlgTemp.GetFont(strFace, nPointSize, nWeight, bItalic))
        return L"";

    // As the dialog manager makes it.
    HDC hDC = ::GetDC(NULL);
    LOGFONTW lf = {};
    lf.lfHeight = -::MulDiv(nPointSize, ::GetDeviceCaps(hDC, LOGPIXELSY), 72);
    lf.lfWeight = nWeight;
    lf.lfItalic = static_cast<BYTE>(bItalic);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = PROOF_QUALITY;
    lstrcpynW(lf.lfFaceName, strFace.c_str(), LF_FACESIZE);

    // Of the fonts with the glyphs, one drawn from bitmaps at small sizes, as
    // 宋体 is: outlines at a dialog's 12 pixels come out ragged where the font
    // asks not to be smoothed at that size (its 'gasp' table), E and F
    // hardly told apart. Among those, the one in which the texts take the
    // fewest dialog units: the controls are sized in dialog units, measured
    // with the template's face. (The East Asian faces dialogs are laid out
    // with, 宋体 above all, give Latin letters and digits half an ideograph's
    // width; a label sized to the pixel for its text in SimSun overflows in
    // a font whose digits are a pixel wider.)
    const std::wstring &strTexts = dlgTemp.GetItemTexts();
    std::wstring strStandIn;
    if (!Measure(hDC, lf, strTexts).bHasGlyphs) {
        lf.lfCharSet = CharsetOf(dlgTemp.GetLanguage());
        TextFit best;
        for (const std::wstring &strFamily : FamiliesOf(hDC, lf.lfCharSet)) {
            lstrcpynW(lf.lfFaceName, strFamily.c_str(), LF_FACESIZE);
            TextFit fit = Measure(hDC, lf, strTexts);
            if (!fit.bHasGlyphs)
                continue;
            if (strStandIn.empty() || fit.bHasBitmaps > best.bHasBitmaps ||
                (fit.bHasBitmaps == best.bHasBitmaps && fit.dDialogUnits < best.dDialogUnits)) {
                strStandIn = strFamily;
                best = fit;
            }
        }
    }
    ::ReleaseDC(NULL, hDC);
    return strStandIn;
}
