// The ANSI code page, as seen by the library's functions that take texts
// from the system.
#include "afxpriv.h"

int AFXAPI AfxGetMaxCharSize()
{
    CPINFO info;
    // CP_ACP always has an answer; 4 is the most any code page takes.
    return ::GetCPInfo(CP_ACP, &info) ? static_cast<int>(info.MaxCharSize) : 4;
}

BOOL AFXAPI AfxIsTextWhole(int nLength, int nBufSize)
{
    return nLength + AfxGetMaxCharSize() < nBufSize;
}

BOOL AFXAPI AfxAnsiToWide(LPCSTR lpsz, int nLength, std::wstring &strWide)
{
    strWide.clear();
    if (nLength == 0)
        return TRUE;
    int nWide = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, lpsz, nLength, NULL, 0);
    if (nWide <= 0)
        return FALSE;
    strWide.resize(nWide);
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, lpsz, nLength, &strWide[0], nWide);
    return TRUE;
}

BOOL AFXAPI AfxWideToAnsiExact(LPCWSTR lpsz, int nLength, std::string &strAnsi)
{
    strAnsi.clear();
    if (nLength == 0)
        return TRUE;
    // UTF-8 has a form for every character, and refuses a lone surrogate
    // only when asked to; it takes neither WC_NO_BEST_FIT_CHARS nor a
    // default character. Any other code page would put a look-alike ("a"
    // for "α", "2" for "²") in place of a character it lacks, or '?'.
    const UINT nCodePage = ::GetACP();
    const DWORD dwFlags = nCodePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL bUsedDefault = FALSE;
    LPBOOL lpUsedDefault = nCodePage == CP_UTF8 ? NULL : &bUsedDefault;
    int nBytes = ::WideCharToMultiByte(nCodePage, dwFlags, lpsz, nLength, NULL, 0, NULL,
                                       lpUsedDefault);
    if (nBytes <= 0 || bUsedDefault)
        return FALSE;
    strAnsi.resize(nBytes);
    ::WideCharToMultiByte(nCodePage, dwFlags, lpsz, nLength, &strAnsi[0], nBytes, NULL,
                          lpUsedDefault);
    // The bytes must also read back as the same characters: in some
    // double-byte code pages two characters share one form.
    std::wstring strBack;
    return !bUsedDefault && AfxAnsiToWide(strAnsi.data(), nBytes, strBack) &&
           strBack.compare(0, std::wstring::npos, lpsz, nLength) == 0;
}
