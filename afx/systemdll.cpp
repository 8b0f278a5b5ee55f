// The system DLLs that the library uses beyond the static imports (comdlg32
// for the file chooser, shell32 for dropped files, comctl32 for tooltips),
// loaded from System32 only, once the start-up has restricted the DLL
// search (see dllsearch.cpp).
#include "afxpriv.h"

#include <string>

HMODULE AFXAPI AfxLoadSystemLibrary(LPCSTR lpszName)
{
    HMODULE hModule = ::LoadLibraryExA(lpszName, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (hModule != NULL || ::GetLastError() != ERROR_INVALID_PARAMETER)
        return hModule;

    // A loader that does not know the flag (Windows 7 without its 2011
    // update) refuses it: the DLL is then named by its full path in System32,
    // which no other folder can stand in for.
    wchar_t szSystem[MAX_PATH];
    UINT nLength = ::GetSystemDirectoryW(szSystem, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return NULL;
    std::wstring strPath(szSystem, nLength);
    strPath += L'\\';
    for (LPCSTR p = lpszName; *p != '\0'; p++)
        strPath += static_cast<wchar_t>(static_cast<unsigned char>(*p)); // the names are ASCII
    return ::LoadLibraryW(strPath.c_str());
}

FARPROC AFXAPI AfxGetSystemProcAddress(LPCSTR lpszDll, LPCSTR lpszProc)
{
    // The DLL stays loaded for the program's life: the library keeps using
    // what it got from it, and a later call finds it loaded already.
    HMODULE hModule = AfxLoadSystemLibrary(lpszDll);
    return hModule != NULL ? ::GetProcAddress(hModule, lpszProc) : NULL;
}
