// CString: byte strings in the ANSI code page, shared between copies until one
// of them is written. CStringW: UTF-16 texts.
#include "afx.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <cstring>
#include <new>

#include "afxpriv.h"
#include "afxwin.h" // AfxFindResourceHandle

CString::Data *CString::NilData()
{
    // The block of every empty string: never allocated, freed or written.
    static struct {
        Data header;
        char terminator;
    } nil = {{-1, 0, 0}, '\0'};
    return &nil.header;
}

// A new, unshared block with room for nAllocLength characters, holding the
// empty text. Throws std::bad_alloc like any allocation.
CString::Data *CString::NewData(int nAllocLength)
{
    Data *pData = static_cast<Data *>(::operator new(sizeof(Data) + nAllocLength + 1));
    pData->nRefs = 1;
    pData->nDataLength = 0;
    pData->nAllocLength = nAllocLength;
    pData->chars()[0] = '\0';
    return pData;
}

CString::Data *CString::GetData() const
{
    return reinterpret_cast<Data *>(m_pchData) - 1;
}

CString::CString() : m_pchData(NilData()->chars())
{
}

CString::CString(const CString &stringSrc) : m_pchData(stringSrc.m_pchData)
{
    if (GetData() != NilData())
        ::InterlockedIncrement(&GetData()->nRefs);
}

CString::CString(LPCTSTR lpsz) : m_pchData(NilData()->chars())
{
    *this = lpsz;
}

CString::~CString()
{
    Release();
}

// Lets go of the block (freeing it with its last user) and becomes empty.
void CString::Release()
{
    Data *pData = GetData();
    if (pData != NilData()) {
        if (::InterlockedDecrement(&pData->nRefs) == 0)
            ::operator delete(pData);
        m_pchData = NilData()->chars();
    }
}

// Gives this string a block of its own before it is written.
void CString::CopyBeforeWrite()
{
    Data *pData = GetData();
    if (pData->nRefs > 1) {
        Data *pNew = NewData(pData->nDataLength);
        std::memcpy(pNew->chars(), m_pchData, pData->nDataLength + 1);
        pNew->nDataLength = pData->nDataLength;
        Release();
        m_pchData = pNew->chars();
    }
}

void CString::AssignCopy(int nLength, LPCTSTR lpszSrc)
{
    if (nLength == 0) {
        Release();
        return;
    }
    Data *pData = GetData();
    if (pData->nRefs == 1 && pData->nAllocLength >= nLength) {
        // The text may be a piece of this very string: memmove.
        std::memmove(m_pchData, lpszSrc, nLength);
    } else {
        // Copy first, release after: the text may live in the old block.
        Data *pNew = NewData(nLength);
        std::memcpy(pNew->chars(), lpszSrc, nLength);
        Release();
        m_pchData = pNew->chars();
    }
    GetData()->nDataLength = nLength;
    m_pchData[nLength] = '\0';
}

const CString &CString::operator=(const CString &stringSrc)
{
    if (m_pchData != stringSrc.m_pchData) {
        Data *pSrc = stringSrc.GetData();
        if (pSrc != NilData())
            ::InterlockedIncrement(&pSrc->nRefs);
        Release();
        m_pchData = stringSrc.m_pchData;
    }
    return *this;
}

const CString &CString::operator=(LPCTSTR lpsz)
{
    AssignCopy(lpsz != NULL ? static_cast<int>(std::strlen(lpsz)) : 0, lpsz);
    return *this;
}

int CString::GetLength() const
{
    return GetData()->nDataLength;
}

BOOL CString::IsEmpty() const
{
    return GetData()->nDataLength == 0;
}

CString::operator LPCTSTR() const
{
    return m_pchData;
}

BOOL CString::LoadString(UINT nID)
{
    // The string table is stored sixteen strings to a block: IDs 16n to
    // 16n + 15 form block n + 1.
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCE((nID >> 4) + 1), RT_STRING);

    // LoadStringA cuts a text that doesn't fit and tells so only by filling
    // the buffer: grow it until the text is known whole. A string resource
    // holds at most 65535 UTF-16 units and none becomes more than
    // MaxCharSize bytes: a buffer larger than that always holds it.
    const int nMaxLength = 65535 * AfxGetMaxCharSize();
    for (int nSize = 256;; nSize *= 2) {
        int nLength = ::LoadStringA(hInst, nID, GetBuffer(nSize - 1), nSize);
        if (AfxIsTextWhole(nLength, nSize) || nSize > nMaxLength) {
            ReleaseBuffer(nLength);
            return nLength > 0;
        }
    }
}

void CString::MakeUpper()
{
    CopyBeforeWrite();
    // In the double-byte code pages (936, 932) the second byte of a
    // character can be anything from 0x40 up, 'a' to 'z' included: skip both
    // bytes of such a character, or upper-casing would make another one of
    // it. In UTF-8 IsDBCSLeadByte knows no lead bytes and needs none: every
    // byte of a character of 2 to 4 bytes is from 0x80 up, never a letter.
    for (BYTE *p = reinterpret_cast<BYTE *>(m_pchData); *p != '\0'; p++) {
        if (::IsDBCSLeadByte(*p) && p[1] != '\0')
            p++;
        else if (*p >= 'a' && *p <= 'z')
            *p = static_cast<BYTE>(*p - 'a' + 'A');
    }
}

LPTSTR CString::GetBuffer(int nMinBufLength)
{
    Data *pData = GetData();
    if (pData->nRefs != 1 || pData->nAllocLength < nMinBufLength) {
        int nLength = pData->nDataLength;
        Data *pNew = NewData(nMinBufLength > nLength ? nMinBufLength : nLength);
        std::memcpy(pNew->chars(), m_pchData, nLength + 1);
        pNew->nDataLength = nLength;
        Release();
        m_pchData = pNew->chars();
    }
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    Data *pData = GetData();
    if (pData->nRefs != 1)
        return; // no GetBuffer before: nothing was written
    if (nNewLength < 0)
        nNewLength = static_cast<int>(strnlen(m_pchData, pData->nAllocLength));
    else if (nNewLength > pData->nAllocLength)
        nNewLength = pData->nAllocLength;
    pData->nDataLength = nNewLength;
    m_pchData[nNewLength] = '\0';
}

CStringW::CStringW(LPCWSTR lpsz)
{
    if (lpsz != NULL)
        m_str = lpsz;
}

CStringW::CStringW(LPCSTR lpsz)
{
    int nLength = lpsz != NULL ? static_cast<int>(std::strlen(lpsz)) : 0;
    if (nLength > 0)
        AfxAnsiToWide(lpsz, nLength, m_str);
}

int CStringW::GetLength() const
{
    return static_cast<int>(m_str.size());
}

BOOL CStringW::IsEmpty() const
{
    return m_str.empty();
}

CStringW::operator LPCWSTR() const
{
    return m_str.c_str();
}

CStringW &CStringW::operator+=(LPCWSTR lpsz)
{
    if (lpsz != NULL)
        m_str += lpsz;
    return *this;
}

BOOL CStringW::LoadString(UINT nID)
{
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCE((nID >> 4) + 1), RT_STRING);
    // With no buffer, LoadStringW gives the string where the resource holds
    // it (read-only, and not ended by a zero) and its length: nothing to cut.
    LPCWSTR pText = NULL;
    int nLength = ::LoadStringW(hInst, nID, reinterpret_cast<LPWSTR>(&pText), 0);
    if (nLength > 0 && pText != NULL)
        m_str.assign(pText, nLength);
    else
        m_str.clear();
    return !m_str.empty();
}

void CStringW::Format(UINT nFormatID, ...)
{
    CStringW strFormat;
    strFormat.LoadString(nFormatID);
    va_list args, argsAgain;
    va_start(args, nFormatID);
    va_copy(argsAgain, args);
    // The runtime's own wide printf, whose "%s" is a UTF-16 text (the C
    // standard's takes bytes); measured first, then written.
    int nLength = ::_vscwprintf(strFormat, args);
    if (nLength > 0) {
        m_str.assign(nLength + 1, L'\0');
        ::_vsnwprintf(&m_str[0], nLength + 1, strFormat, argsAgain);
        m_str.resize(nLength);
    } else {
        m_str.clear(); // nothing, or a format the C library refuses
    }
    va_end(argsAgain);
    va_end(args);
}
