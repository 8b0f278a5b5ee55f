// A program on the class library's own start-up (afx_appmodul), for the
// start-up tests: its application object writes to standard output what the
// start-up gave it, one "name value" line each, and ends the program.
// Started with the arguments "run N" it returns TRUE instead, and a timer in
// the message loop that follows ends it with exit code N. With "load NAME"
// it also reports whether DLL NAME loads by its name alone (after the
// start-up has restricted the search) and when asked for in its own folder.
#include <afxwin.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int g_nExitCode;

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    ::PostQuitMessage(g_nExitCode);
}

class CStartupProbeApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        // The arguments in hex: blanks and control characters stay visible.
        std::printf("lpCmdLine ");
        for (const char *p = m_lpCmdLine; *p != '\0'; p++)
            std::printf("%02X", static_cast<unsigned char>(*p));
        std::printf("\nnCmdShow %d\n", m_nCmdShow);
        std::printf("hInstanceIsModule %d\n", m_hInstance == ::GetModuleHandleA(NULL));
        AFX_MODULE_STATE *pState = AfxGetModuleState();
        std::printf("bDLL %d\ndwVersion %04lX\n", pState->m_bDLL, pState->m_dwVersion);
        if (std::strncmp(m_lpCmdLine, "load ", 5) == 0) {
            const char *name = m_lpCmdLine + 5;
            std::printf("byName %d\n", ::LoadLibraryA(name) != NULL);
            std::printf("fromItsFolder %d\n",
                        ::LoadLibraryExA(name, NULL, LOAD_LIBRARY_SEARCH_APPLICATION_DIR) != NULL);
        }
        std::fflush(stdout);

        if (std::strncmp(m_lpCmdLine, "run ", 4) == 0) {
            g_nExitCode = std::atoi(m_lpCmdLine + 4);
            ::SetTimer(NULL, 0, 10, OnTimer);
            return TRUE;
        }
        return FALSE;
    }
};

CStartupProbeApp theApp;

} // namespace
