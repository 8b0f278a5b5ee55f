// The module state and the resource lookups that use it.
#include "afxstat_.h"

// The linker's symbol for the start of the module this code is linked into:
// its HINSTANCE, known before WinMain is even called.
extern "C" IMAGE_DOS_HEADER __ImageBase;

AFX_MODULE_STATE::AFX_MODULE_STATE()
    : m_bDLL(FALSE),
      m_dwVersion(0),
      m_hCurrentResourceHandle(reinterpret_cast<HINSTANCE>(&__ImageBase)),
      m_pCurrentWinApp(NULL)
{
}

AFX_MODULE_STATE *AFXAPI AfxGetModuleState()
{
    static AFX_MODULE_STATE state;
    return &state;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    return AfxGetModuleState()->m_hCurrentResourceHandle;
}

// The classic library searches a chain of modules here (the program's
// resources, extension libraries, its own); a program of ours has one module,
// whose resources every lookup uses.
HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR /*lpszName*/, LPCTSTR /*lpszType*/)
{
    return AfxGetResourceHandle();
}
