// Identifiers the class library defines for resource scripts and programs.
#ifndef VORKEL_AFX_AFXRES_H
#define VORKEL_AFX_AFXRES_H

#ifdef RC_INVOKED
#include <winresrc.h>
#else
#include <windows.h>
#endif

// The ID of controls that nothing refers to, such as labels.
#define IDC_STATIC (-1)

// The help command.
#define ID_HELP 0xE146

#endif
