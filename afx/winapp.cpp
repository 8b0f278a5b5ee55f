// CWinApp: the application object, and where the library finds it.
#include "afxwin.h"

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName), m_pMainWnd(NULL)
{
    AfxGetModuleState()->m_pCurrentWinApp = this;
}

CWinApp::~CWinApp()
{
    AFX_MODULE_STATE *pState = AfxGetModuleState();
    if (pState->m_pCurrentWinApp == this)
        pState->m_pCurrentWinApp = NULL;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

BOOL CWinApp::Enable3dControls()
{
    return TRUE;
}

void CWinApp::OnHelp()
{
    // The help file is the executable with the extension .HLP.
    char szHelpFile[MAX_PATH + 4];
    DWORD nLength = ::GetModuleFileNameA(AfxGetInstanceHandle(), szHelpFile, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return; // no name, or only part of it
    // CharNextA steps over double-byte characters, whose second byte can be
    // a '\\' in code page 936.
    char *pszExtension = szHelpFile + nLength;
    for (char *p = szHelpFile; *p != '\0'; p = ::CharNextA(p)) {
        if (*p == '\\')
            pszExtension = szHelpFile + nLength; // that dot was in a folder's name
        else if (*p == '.')
            pszExtension = p;
    }
    lstrcpyA(pszExtension, ".HLP");

    CWnd *pMainWnd = AfxGetMainWnd();
    ::WinHelpA(pMainWnd != NULL ? pMainWnd->m_hWnd : NULL, szHelpFile, HELP_FINDER, 0);
}

CWinApp *AFXAPI AfxGetApp()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}

CWnd *AFXAPI AfxGetMainWnd()
{
    CWinApp *pApp = AfxGetApp();
    return pApp != NULL ? pApp->m_pMainWnd : NULL;
}
