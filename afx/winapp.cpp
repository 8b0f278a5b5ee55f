// CWinApp: the application object, and where the library finds it.
#include "afxwin.h"

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(lpszAppName), m_pMainWnd(NULL), m_hInstance(NULL), m_lpCmdLine(NULL),
      m_nCmdShow(SW_SHOWDEFAULT)
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

int CWinApp::Run()
{
    MSG msg;
    BOOL bResult;
    // GetMessage returns -1 on an error (a bad window handle), which must end
    // the loop as WM_QUIT (0) does, not dispatch a message that isn't there.
    while ((bResult = ::GetMessageA(&msg, NULL, 0, 0)) != 0 && bResult != -1) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return bResult == 0 ? static_cast<int>(msg.wParam) : -1;
}

void CWinApp::OnHelp()
{
    // The command is taken and nothing shown: there is no help content, and
    // Windows Help, which the classic library starts here, is gone.
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
