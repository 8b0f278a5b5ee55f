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
