// What the class library's own files share and programs do not use.
#ifndef VORKEL_AFX_AFXIMPL_H
#define VORKEL_AFX_AFXIMPL_H

#include "afx.h"

// The most bytes one character of the ANSI code page takes (GetCPInfo's
// MaxCharSize): 1 in 1252, 2 in 936 and 932, 4 in UTF-8 (65001).
int AFXAPI AfxGetMaxCharSize();

// Whether a text of nLength bytes that a system function wrote, with its
// terminator, into a buffer of nBufSize bytes is known to be whole. The
// functions that cut a text to fit (LoadStringA, the file chooser) cut it
// before the first character that does not fit whole, which can leave up to
// MaxCharSize - 1 bytes unused: only where one more character of the longest
// kind would still have fitted can nothing have been cut.
BOOL AFXAPI AfxIsTextWhole(int nLength, int nBufSize);

#endif
