// CDialogTemplate: a dialog template copied from the resources, read for its
// font and its controls' texts, whose font face can be replaced.
#include "afxpriv.h"

#include <cstring>

namespace {

// Reads a template's fields in order; past its end, zeros (Whole() then says
// so).
class CTemplateReader {
public:
    explicit CTemplateReader(const std::vector<BYTE> &bytes) : m_bytes(bytes) {}

    WORD Word()
    {
        WORD w = 0;
        if (m_nPos + sizeof(w) <= m_bytes.size())
            std::memcpy(&w, &m_bytes[m_nPos], sizeof(w));
        m_nPos += sizeof(w);
        return w;
    }
    DWORD Dword()
    {
        WORD wLow = Word();
        return wLow | static_cast<DWORD>(Word()) << 16;
    }

    // A zero-terminated UTF-16 text.
    std::wstring Text()
    {
        std::wstring text;
        for (WORD c = Word(); c != 0 && Whole(); c = Word())
            text += static_cast<wchar_t>(c);
        return text;
    }

    // A menu, a class or a control's text: nothing (0x0000), an ordinal
    // (0xFFFF and a number) or a text. The text, or empty.
    std::wstring NameOrOrdinal()
    {
        std::size_t nStart = m_nPos;
        WORD first = Word();
        if (first == 0xFFFF) {
            Word();
            return L"";
        }
        Seek(nStart);
        return Text();
    }

    void Skip(std::size_t nBytes) { m_nPos += nBytes; }
    void Seek(std::size_t nPos) { m_nPos = nPos; }
    std::size_t Pos() const { return m_nPos; }
    bool Whole() const { return m_nPos <= m_bytes.size(); }

private:
    const std::vector<BYTE> &m_bytes;
    std::size_t m_nPos = 0;
};

std::size_t AlignToDword(std::size_t nPos)
{
    return (nPos + 3) & ~static_cast<std::size_t>(3);
}

// The size that DS_SHELLFONT templates give for "the message font".
const WORD MESSAGE_FONT_SIZE = 0x7FFF;

// The language of dialog resource hRes, found under lpszName. FindResource
// does not say which one it took: the one whose resource is the same.
LANGID LanguageOf(HINSTANCE hInst, LPCTSTR lpszName, HRSRC hRes)
{
    struct Search {
        HINSTANCE hInst;
        LPCTSTR lpszName;
        HRSRC hRes;
        LANGID wFound;
    } search = {hInst, lpszName, hRes, 0};
    ::EnumResourceLanguagesA(
        hInst, RT_DIALOG, lpszName,
        [](HMODULE, LPCSTR, LPCSTR, WORD wLanguage, LONG_PTR lParam) -> BOOL {
            Search *p = reinterpret_cast<Search *>(lParam);
            if (::FindResourceExA(p->hInst, RT_DIALOG, p->lpszName, wLanguage) != p->hRes)
                return TRUE;
            p->wFound = wLanguage;
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&search));
    return search.wFound;
}

} // namespace

BOOL CDialogTemplate::Load(HINSTANCE hInst, LPCTSTR lpszTemplateName)
{
    HRSRC hRes = ::FindResourceA(hInst, lpszTemplateName, RT_DIALOG);
    HGLOBAL hData = hRes != NULL ? ::LoadResource(hInst, hRes) : NULL;
    const BYTE *pData = static_cast<const BYTE *>(::LockResource(hData));
    if (pData == NULL)
        return FALSE;
    m_bytes.assign(pData, pData + ::SizeofResource(hInst, hRes));

    m_wLanguage = LanguageOf(hInst, lpszTemplateName, hRes);

    CTemplateReader r(m_bytes);
    DWORD dwStyle;
    m_bExtended = r.Dword() == 0xFFFF0001; // version 1, signature 0xFFFF
    if (m_bExtended) {
        r.Dword(); // help ID
        r.Dword(); // extended style
        dwStyle = r.Dword();
    } else {
        r.Seek(0);
        dwStyle = r.Dword();
        r.Dword(); // extended style
    }
    const WORD nItems = r.Word();
    m_dwStyle = dwStyle;
    m_ptPosition.x = static_cast<SHORT>(r.Word());
    m_ptPosition.y = static_cast<SHORT>(r.Word());
    r.Skip(2 * sizeof(WORD)); // cx, cy
    r.NameOrOrdinal();        // menu
    r.NameOrOrdinal();        // class
    r.Text();                 // caption
    if (dwStyle & DS_SETFONT) {
        m_nFontOffset = r.Pos();
        r.Word(); // point size
        if (m_bExtended)
            r.Skip(2 * sizeof(WORD)); // weight; italic and character set
        m_nFaceOffset = r.Pos();
        r.Text();
    }

    // Each control starts at a DWORD boundary: its header (styles, position
    // and ID), class, text, and creation data of the size it gives.
    m_nItemsOffset = AlignToDword(r.Pos());
    m_strItemTexts.clear();
    for (WORD i = 0; i < nItems && r.Whole(); i++) {
        r.Seek(AlignToDword(r.Pos()));
        r.Skip(m_bExtended ? 3 * sizeof(DWORD) + 4 * sizeof(WORD) + sizeof(DWORD)
                           : 2 * sizeof(DWORD) + 4 * sizeof(WORD) + sizeof(WORD));
        r.NameOrOrdinal();                   // class
        m_strItemTexts += r.NameOrOrdinal(); // text (an icon's is an ordinal)
        r.Skip(r.Word());                    // creation data
    }
    return r.Whole() && m_nItemsOffset <= m_bytes.size();
}

BOOL CDialogTemplate::GetFont(std::wstring &strFace, WORD &nPointSize, WORD &nWeight,
                              BOOL &bItalic) const
{
    if (m_nFontOffset == 0)
        return FALSE;
    CTemplateReader r(m_bytes);
    r.Seek(m_nFontOffset);
    nPointSize = r.Word();
    nWeight = 0;
    bItalic = FALSE;
    if (m_bExtended) {
        nWeight = r.Word();
        bItalic = LOBYTE(r.Word()) != 0; // the character set is the high byte
    }
    strFace = r.Text();
    return nPointSize != MESSAGE_FONT_SIZE;
}

void CDialogTemplate::SetFontFace(const std::wstring &strFace)
{
    // The controls follow the face, each on a DWORD boundary counted from the
    // template's start: they move, as a block, to the boundary after the new
    // face.
    std::vector<BYTE> bytes(m_bytes.begin(), m_bytes.begin() + m_nFaceOffset);
    const BYTE *pFace = reinterpret_cast<const BYTE *>(strFace.c_str());
    bytes.insert(bytes.end(), pFace, pFace + (strFace.size() + 1) * sizeof(wchar_t));
    bytes.resize(AlignToDword(bytes.size()), 0);
    std::size_t nItemsOffset = bytes.size();
    bytes.insert(bytes.end(), m_bytes.begin() + m_nItemsOffset, m_bytes.end());
    m_bytes.swap(bytes);
    m_nItemsOffset = nItemsOffset;
}

const DLGTEMPLATE *CDialogTemplate::GetTemplate() const
{
    return reinterpret_cast<const DLGTEMPLATE *>(m_bytes.data());
}
