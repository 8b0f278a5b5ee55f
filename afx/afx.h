// The class library's foundation: the Win32 headers in the ANSI character set,
// the library's own markers, and CString.
#ifndef VORKEL_AFX_AFX_H
#define VORKEL_AFX_AFX_H

// Every text of the library and of the application is a byte string in the
// ANSI code page; the names without A or W must map to the A functions.
#ifdef UNICODE
#error "The class library is built for the ANSI character set: do not define UNICODE"
#endif

#include <windows.h>

#include <string>

// The calling convention of the library's free functions.
#define AFXAPI WINAPI

// Marks a member function as a message handler, bound in a message map.
#define afx_msg

// A string of bytes in the ANSI code page, shared between copies until one of
// them changes (each copy of a CString costs a reference, not the text).
// A CString never holds a null pointer: the empty text stands for "nothing".
class CString {
public:
    CString();
    CString(const CString &stringSrc);
    CString(LPCTSTR lpsz); // a null pointer gives the empty string
    ~CString();

    const CString &operator=(const CString &stringSrc);
    const CString &operator=(LPCTSTR lpsz); // a null pointer gives the empty string

    int GetLength() const;
    BOOL IsEmpty() const;
    operator LPCTSTR() const;

    // Loads string nID of the application's resources. An ID the module lacks
    // leaves the string empty and returns FALSE.
    BOOL LoadString(UINT nID);

    // Upper-cases the letters a to z in place; every byte of a character of
    // two or more bytes is left as it is, whatever the code page.
    void MakeUpper();

    // A writable buffer of at least nMinBufLength characters plus the
    // terminator, which this string no longer shares with any other. The
    // caller writes a zero-terminated text there and then calls ReleaseBuffer
    // (with the new length, or -1 to have it counted) before any other use.
    LPTSTR GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    // Every text lives in one block: this header, then the characters and
    // their terminator. m_pchData points at the characters.
    struct Data {
        LONG nRefs; // strings sharing the block; -1 for the empty one, never freed
        int nDataLength;
        int nAllocLength; // room for characters, not counting the terminator
        char *chars() { return reinterpret_cast<char *>(this + 1); }
    };

    static Data *NilData();
    static Data *NewData(int nAllocLength);
    Data *GetData() const;
    void Release();
    void CopyBeforeWrite();
    void AssignCopy(int nLength, LPCTSTR lpszSrc);

    LPTSTR m_pchData;
};

// A string of UTF-16 units, for texts that must reach the system whole
// whatever the ANSI code page is: the string table's Chinese, say, where
// the code page is 1252 and would make every character of it a '?'. Such
// texts go to the W functions (the tooltip's, the menu's, MessageBoxW).
class CStringW {
public:
    CStringW() = default;
    CStringW(LPCWSTR lpsz); // a null pointer gives the empty string
    // A text in the ANSI code page (a digest's hex digits, for one).
    explicit CStringW(LPCSTR lpsz);

    int GetLength() const;
    BOOL IsEmpty() const;
    operator LPCWSTR() const;
    CStringW &operator+=(LPCWSTR lpsz);

    // Loads string nID of the application's resources, as the string table
    // holds it (UTF-16). An ID the module lacks leaves the string empty and
    // returns FALSE.
    BOOL LoadString(UINT nID);

    // The text that format string nFormatID of the application's resources
    // makes of the arguments, as the C runtime's wide printf makes it ("%d"
    // a number, "%s" a UTF-16 text). A missing string makes the empty text.
    void Format(UINT nFormatID, ...);

private:
    std::wstring m_str;
};

#endif
