// The start-up of a program built on the library: its module state set up
// during static initialisation, and the entry point. Linked into the
// executable itself (the afx_appmodul target): the static initialiser is
// referred to by nothing, and WinMain only by the C runtime, which the linker
// reads after our libraries; from a static library neither would be taken.
#include <mbctype.h>

#include "afxwin.h"

namespace {

// Marks the module as an executable of this library version and selects the
// ANSI code page for the C runtime's multibyte functions, before any of the
// program's own static objects exist: init_priority runs it ahead of objects
// constructed at the default priority, the application object among them.
struct AfxModuleInit {
    AfxModuleInit()
    {
        AFX_MODULE_STATE *pState = AfxGetModuleState();
        pState->m_bDLL = FALSE;
        pState->m_dwVersion = 0x0600;
        _setmbcp(_MB_CP_ANSI);
    }
};

AfxModuleInit afxModuleInit __attribute__((init_priority(101)));

} // namespace

// The C runtime's start-up code calls this once its own initialisation and
// the static constructors have run; the exit code goes to exit(), whose
// processing then destroys the static objects.
extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/,
                              LPSTR /*lpCmdLine*/, int /*nCmdShow*/)
{
    // The command line and show state are taken from the system again, so
    // that the rule for skipping the program name is the library's own
    // (bytes compared unsigned) whichever C runtime started the program.
    STARTUPINFOA startupInfo;
    startupInfo.cb = sizeof(startupInfo);
    ::GetStartupInfoA(&startupInfo);
    int nCmdShow = (startupInfo.dwFlags & STARTF_USESHOWWINDOW) ? startupInfo.wShowWindow
                                                                 : SW_SHOWDEFAULT;

    return AfxWinMain(hInstance, NULL, AfxSkipProgramName(::GetCommandLineA()), nCmdShow);
}
