// The digests in the text the user copied.
#include "ExpectedDigests.h"

#include <algorithm>

namespace {

// Only ASCII digits count: a full-width "０" or a superscript "²" is no
// digit, whatever a conversion to the ANSI code page would make of it.
bool IsHexDigit(wchar_t ch)
{
    return (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'f') || (ch >= L'A' && ch <= L'F');
}

bool IsSeparator(wchar_t ch)
{
    return ch == L' ' || ch == L':' || ch == L'-';
}

bool IsOtherDigestLength(std::size_t nLength)
{
    return nLength == 40 || nLength == 56 || nLength == 64 || nLength == 96 || nLength == 128;
}

// The clipboard's text, copied out while the clipboard is open.
std::wstring ClipboardText()
{
    std::wstring strText;
    HANDLE hData = ::GetClipboardData(CF_UNICODETEXT);
    const wchar_t *pText = hData != NULL ? static_cast<const wchar_t *>(::GlobalLock(hData)) : NULL;
    if (pText == NULL)
        return strText;
    // The text should end in a zero, but another program wrote it: never
    // past the end of its block.
    std::size_t nMax = ::GlobalSize(hData) / sizeof(wchar_t);
    try {
        strText.assign(pText, std::find(pText, pText + nMax, L'\0'));
    } catch (...) {
        ::GlobalUnlock(hData);
        throw;
    }
    ::GlobalUnlock(hData);
    return strText;
}

} // namespace

void CExpectedDigests::ReadClipboard(HWND hWndOwner)
{
    // A program that has just copied something, or a clipboard manager
    // reading it, may hold the clipboard open for a moment.
    BOOL bOpen = FALSE;
    for (int nTry = 0; nTry < 5 && !(bOpen = ::OpenClipboard(hWndOwner)); nTry++)
        ::Sleep(20);
    std::wstring strText;
    if (bOpen) {
        try {
            strText = ClipboardText();
        } catch (...) {
            ::CloseClipboard();
            throw;
        }
        ::CloseClipboard();
    }
    Parse(strText);
}

void CExpectedDigests::Parse(const std::wstring &strText)
{
    m_md5s.clear();
    m_nOtherLength = 0;
    int nOthers = 0;

    // The run being read: its length, and its digits while it may still be
    // an MD5.
    std::string strRun;
    std::size_t nRunLength = 0;
    auto endRun = [&] {
        if (nRunLength == 32)
            m_md5s.insert(strRun);
        else if (IsOtherDigestLength(nRunLength) && nOthers++ == 0)
            m_nOtherLength = static_cast<int>(nRunLength);
        strRun.clear();
        nRunLength = 0;
    };

    std::size_t nLastEnd = 0, nLastLength = 0; // the run's last group of digits
    for (std::size_t i = 0; i < strText.size();) {
        if (!IsHexDigit(strText[i])) {
            i++;
            continue;
        }
        std::size_t nStart = i;
        while (i < strText.size() && IsHexDigit(strText[i]))
            i++;
        bool bJoins = nRunLength > 0 && nStart == nLastEnd + 1 && IsSeparator(strText[nLastEnd]) &&
                      nLastLength == 2 && i - nStart == 2;
        if (!bJoins)
            endRun();
        nRunLength += i - nStart;
        if (nRunLength <= 32) {
            for (std::size_t j = nStart; j < i; j++)
                strRun += static_cast<char>(strText[j] >= L'a' ? strText[j] - L'a' + L'A' : strText[j]);
        }
        nLastEnd = i;
        nLastLength = i - nStart;
    }
    endRun();
    if (nOthers != 1)
        m_nOtherLength = 0;
}
