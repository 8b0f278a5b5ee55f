// AfxWinMain, which runs the application object, and the command-line rule
// of the entry point that calls it.
#include "afxwin.h"

#include "afxpriv.h"

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPTSTR lpCmdLine,
                      int nCmdShow)
{
    AfxGetModuleState()->m_hCurrentResourceHandle = hInstance;

    CWinApp *pApp = AfxGetApp();
    if (pApp == NULL)
        return -1; // a program without an application object
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;

    // FALSE: the program did its work in InitInstance (a modal main dialog)
    // and there is no message loop to run.
    int nExitCode = pApp->InitInstance() ? pApp->Run() : 0;

    // The program's windows have gone: COM, if the library started it on
    // this thread, ends here, before the exit processing unloads anything.
    AfxComTerm();
    return nExitCode;
}

LPTSTR AFXAPI AfxSkipProgramName(LPTSTR lpszCommandLine)
{
    unsigned char *p = reinterpret_cast<unsigned char *>(lpszCommandLine);

    if (*p == '"') {
        // A quoted name runs to the closing quote, blanks and all.
        ++p;
        while (*p != '\0' && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p > ' ')
            ++p;
    }
    while (*p != '\0' && *p <= ' ')
        ++p;
    return reinterpret_cast<LPTSTR>(p);
}
