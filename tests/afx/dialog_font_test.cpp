// A dialog's font: its template read back and given another face (either
// form, a face of any length), and the stand-in a dialog is shown in when its
// template's face has no glyphs for its texts. The templates' face,
// Liberation Sans, has Latin letters only.
#include <afxwin.h>

#include <afxpriv.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "dialog_font_resource.h"
#include "windows_under_test.h"

namespace {

const LANGID CHINESE_PRC = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
const std::wstring kChineseTexts = L"选择校验文件生成MD5"; // the controls' texts, one after another

// What a dialog made from a template shows: its font, and its controls.
struct Shown {
    LOGFONTW font;
    std::vector<std::pair<int, std::wstring>> controls; // ID and text
};

INT_PTR CALLBACK RecordAndEnd(HWND hDlg, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    Shown *pShown = reinterpret_cast<Shown *>(lParam);
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hDlg, WM_GETFONT, 0, 0)),
                 sizeof(pShown->font), &pShown->font);
    for (HWND hWnd : Controls(hDlg))
        pShown->controls.emplace_back(::GetDlgCtrlID(hWnd), TextOf(hWnd));
    ::EndDialog(hDlg, IDOK);
    return TRUE;
}

Shown ShownFrom(const DLGTEMPLATE *pTemplate)
{
    Shown shown = {};
    ::DialogBoxIndirectParamW(::GetModuleHandleW(NULL), pTemplate, NULL, RecordAndEnd,
                              reinterpret_cast<LPARAM>(&shown));
    return shown;
}

bool HasGlyphs(const std::wstring &face, const std::wstring &text)
{
    HDC hDC = ::GetDC(NULL);
    HFONT hFont = ::CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    std::vector<WORD> glyphs(text.size());
    DWORD nDone = ::GetGlyphIndicesW(hDC, text.c_str(), static_cast<int>(text.size()),
                                     glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
    ::ReleaseDC(NULL, hDC);
    return nDone == text.size() && std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
}

// Whether the system has a font of that face in that character set.
bool IsOfCharset(const std::wstring &face, BYTE nCharset)
{
    LOGFONTW lf = {};
    lf.lfCharSet = nCharset;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    bool bFound = false;
    HDC hDC = ::GetDC(NULL);
    ::EnumFontFamiliesExW(
        hDC, &lf,
        [](const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM lParam) -> int {
            *reinterpret_cast<bool *>(lParam) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&bFound), 0);
    ::ReleaseDC(NULL, hDC);
    return bFound;
}

// Whether the face's font carries bitmaps of its glyphs (an 'EBLC' table).
bool HasBitmaps(const std::wstring &face)
{
    HDC hDC = ::GetDC(NULL);
    HFONT hFont = ::CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    bool bHas = ::GetFontData(hDC, 'E' | 'B' << 8 | 'L' << 16 | 'C' << 24, 0, NULL, 0) != GDI_ERROR;
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
    ::ReleaseDC(NULL, hDC);
    return bHas;
}

// The Chinese fonts' faces.
std::vector<std::wstring> ChineseFaces()
{
    std::vector<std::wstring> faces;
    LOGFONTW lf = {};
    lf.lfCharSet = GB2312_CHARSET;
    HDC hDC = ::GetDC(NULL);
    ::EnumFontFamiliesExW(
        hDC, &lf,
        [](const LOGFONTW *plf, const TEXTMETRICW *, DWORD, LPARAM lParam) -> int {
            reinterpret_cast<std::vector<std::wstring> *>(lParam)->push_back(plf->lfFaceName);
            return 1;
        },
        reinterpret_cast<LPARAM>(&faces), 0);
    ::ReleaseDC(NULL, hDC);
    return faces;
}

CDialogTemplate Loaded(UINT nID)
{
    CDialogTemplate dlgTemp;
    EXPECT_TRUE(dlgTemp.Load(::GetModuleHandleA(NULL), MAKEINTRESOURCE(nID))) << nID;
    return dlgTemp;
}

TEST(CDialogTemplate, ReadsTheFontTextsAndLanguageOfEitherForm)
{
    for (UINT nID : {IDD_CHINESE_IN_LATIN_FACE, IDD_CHINESE_IN_LATIN_FACE_CLASSIC}) {
        const bool bExtended = nID == IDD_CHINESE_IN_LATIN_FACE;
        CDialogTemplate dlgTemp = Loaded(nID);
        std::wstring face;
        WORD nPoints = 0, nWeight = 0;
        BOOL bItalic = FALSE;
        ASSERT_TRUE(dlgTemp.GetFont(face, nPoints, nWeight, bItalic)) << nID;
        EXPECT_EQ(face, L"Liberation Sans");
        EXPECT_EQ(nPoints, 9);
        EXPECT_EQ(nWeight, bExtended ? 700 : 0); // the classic form has none
        EXPECT_EQ(bItalic, bExtended ? TRUE : FALSE);
        EXPECT_EQ(dlgTemp.GetItemTexts(), kChineseTexts);
        EXPECT_EQ(dlgTemp.GetLanguage(), CHINESE_PRC);
    }
    EXPECT_EQ(Loaded(IDD_LATIN_IN_LATIN_FACE).GetLanguage(), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
}

// The controls follow the face, each on a DWORD boundary: with a face one
// character shorter, longer by an odd and by an even number, the dialog
// manager must still find every one of them.
TEST(CDialogTemplate, ANewFaceOfAnyLengthLeavesTheControlsWhole)
{
    for (UINT nID : {IDD_CHINESE_IN_LATIN_FACE, IDD_CHINESE_IN_LATIN_FACE_CLASSIC}) {
        for (const std::wstring face : {L"Liberation San", L"Liberation Sans!", L"Liberation Sans!!"}) {
            CDialogTemplate dlgTemp = Loaded(nID);
            Shown before = ShownFrom(dlgTemp.GetTemplate());
            dlgTemp.SetFontFace(face);
            Shown after = ShownFrom(dlgTemp.GetTemplate());
            EXPECT_EQ(after.font.lfFaceName, face);
            EXPECT_EQ(after.font.lfHeight, before.font.lfHeight);
            EXPECT_EQ(after.font.lfWeight, before.font.lfWeight);
            EXPECT_EQ(after.font.lfItalic, before.font.lfItalic);
            EXPECT_EQ(after.controls, before.controls) << nID << " " << ToAnsi(face);
            EXPECT_EQ(after.controls.size(), 2u);
        }
    }
}

TEST(AfxGetStandInFontFace, NoneForAFaceThatHasTheGlyphs)
{
    EXPECT_EQ(AfxGetStandInFontFace(Loaded(IDD_LATIN_IN_LATIN_FACE)), L"");
}

// Records the faces its controls draw with, and ends.
class CFontProbeDlg : public CDialog {
public:
    explicit CFontProbeDlg(UINT nID) : CDialog(nID) {}
    std::vector<std::wstring> m_faces;

protected:
    BOOL OnInitDialog() override
    {
        for (HWND hWnd : Controls(m_hWnd)) {
            LOGFONTW lf = {};
            ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)), sizeof(lf),
                         &lf);
            m_faces.push_back(lf.lfFaceName);
        }
        EndDialog(IDOK);
        return TRUE;
    }
};

// Chinese texts in a Latin face: a face of Chinese fonts that has every
// glyph of them, which the dialog's controls are then shown in; either
// template form.
TEST(AfxGetStandInFontFace, AChineseFontWithTheGlyphsForAFaceWithout)
{
    for (UINT nID : {IDD_CHINESE_IN_LATIN_FACE, IDD_CHINESE_IN_LATIN_FACE_CLASSIC}) {
        std::wstring face = AfxGetStandInFontFace(Loaded(nID));
        ASSERT_NE(face, L"");
        EXPECT_TRUE(HasGlyphs(face, kChineseTexts)) << ToAnsi(face);
        EXPECT_TRUE(IsOfCharset(face, GB2312_CHARSET)) << ToAnsi(face);

        CFontProbeDlg dlg(nID);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_faces, std::vector<std::wstring>(2, face));
    }
}

// Of the fonts with the glyphs, one drawn from bitmaps at a dialog's small
// sizes, where there is one (the prefix's WenQuanYi fonts include one):
// outlines at 12 pixels come out ragged.
TEST(AfxGetStandInFontFace, PrefersAFontWithBitmapsOfItsGlyphs)
{
    bool bAnyWithBitmaps = false;
    for (const std::wstring &face : ChineseFaces())
        bAnyWithBitmaps |= face[0] != L'@' && HasGlyphs(face, kChineseTexts) && HasBitmaps(face);
    if (!bAnyWithBitmaps)
        GTEST_SKIP() << "no Chinese font here has bitmaps";
    std::wstring face = AfxGetStandInFontFace(Loaded(IDD_CHINESE_IN_LATIN_FACE));
    EXPECT_TRUE(HasBitmaps(face)) << ToAnsi(face);
}

} // namespace
