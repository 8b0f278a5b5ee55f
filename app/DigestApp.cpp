// The application object and its start-up.
#include "DigestApp.h"

#include <afxres.h>

#include "DigestDlg.h"

BEGIN_MESSAGE_MAP(CDigestApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CDigestApp::CDigestApp() : CWinApp(NULL)
{
}

// The one application object.
CDigestApp theApp;

BOOL CDigestApp::InitInstance()
{
    Enable3dControls();

    // The main window: the About box and the file chooser, given no parent,
    // are owned by it and modal over it.
    CDigestDlg dlg(NULL);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL; // the dialog object ends with this function

    // The dialog has ended: FALSE ends the program instead of starting a
    // message loop.
    return FALSE;
}
