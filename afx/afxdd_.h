// Dialog data exchange: the functions a DoDataExchange calls, one per bound
// control.
#ifndef VORKEL_AFX_AFXDD__H
#define VORKEL_AFX_AFXDD__H

#include "afxwin.h"

// The text of control nIDC and value: into the control, or read back from it.
void AFXAPI DDX_Text(CDataExchange *pDX, int nIDC, CString &value);

#endif
