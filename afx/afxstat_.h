// The class library's state for the module it is linked into: what its
// start-up recorded, where its resources are and which object is the
// application.
#ifndef VORKEL_AFX_AFXSTAT__H
#define VORKEL_AFX_AFXSTAT__H

#include "afx.h"

class CWinApp;

struct AFX_MODULE_STATE {
    AFX_MODULE_STATE();

    // What the module's start-up code records before anything else: FALSE
    // for an executable, TRUE for a library; and the class-library version
    // the module was built for.
    BOOL m_bDLL;
    DWORD m_dwVersion;

    HINSTANCE m_hCurrentResourceHandle; // where the module's resources are looked up
    CWinApp *m_pCurrentWinApp;          // the application object, while it lives
};

// The state of this module. Made on first use, so that static objects of
// other files (the application object among them) can use it while they are
// constructed, whatever the order of static initialisation.
AFX_MODULE_STATE *AFXAPI AfxGetModuleState();

HINSTANCE AFXAPI AfxGetResourceHandle();

// The module holding resource lpszName of type lpszType.
HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

#endif
