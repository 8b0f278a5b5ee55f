// COM for the library's own use, on its one thread: initialised when first
// needed (ole32 loaded from System32 then) and ended once the program has
// run (AfxWinMain).
#include "afxpriv.h"

#include <objbase.h>

namespace {

typedef HRESULT(WINAPI *PFNCOINITIALIZEEX)(LPVOID pvReserved, DWORD dwCoInit);
typedef void(WINAPI *PFNCOUNINITIALIZE)();

enum ComState {
    COM_UNTRIED,    // not asked for yet, or ended
    COM_OURS,       // initialised by AfxComInit: AfxComTerm undoes it
    COM_OTHERS,     // the thread is in the multithreaded apartment: usable, not ours to end
    COM_UNAVAILABLE // no ole32, or it failed: not asked again
};

ComState g_comState = COM_UNTRIED;
DWORD g_dwComThread = 0; // COM is a thread's: the one AfxComInit ran on

} // namespace

BOOL AFXAPI AfxComInit()
{
    if (g_comState == COM_UNTRIED) {
        PFNCOINITIALIZEEX pfnCoInitializeEx =
            AfxGetSystemProc<PFNCOINITIALIZEEX>("ole32.dll", "CoInitializeEx");
        // No OLE 1 DDE: its hidden window would answer messages from other
        // programs for nothing.
        const DWORD dwCoInit = COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE;
        HRESULT hr = pfnCoInitializeEx != NULL ? pfnCoInitializeEx(NULL, dwCoInit) : E_FAIL;
        // S_FALSE: someone initialised it the same way before; a reference
        // of ours all the same, to be undone.
        if (hr == S_OK || hr == S_FALSE)
            g_comState = COM_OURS;
        else if (hr == RPC_E_CHANGED_MODE)
            g_comState = COM_OTHERS;
        else
            g_comState = COM_UNAVAILABLE;
        g_dwComThread = ::GetCurrentThreadId();
    }
    return (g_comState == COM_OURS || g_comState == COM_OTHERS) &&
           g_dwComThread == ::GetCurrentThreadId();
}

void AFXAPI AfxComTerm()
{
    if (g_comState != COM_OURS || g_dwComThread != ::GetCurrentThreadId())
        return;
    // Every object the library made has been released as soon as it was
    // used: nothing of COM is left alive past this.
    PFNCOUNINITIALIZE pfnCoUninitialize =
        AfxGetSystemProc<PFNCOUNINITIALIZE>("ole32.dll", "CoUninitialize");
    if (pfnCoUninitialize != NULL)
        pfnCoUninitialize();
    g_comState = COM_UNTRIED;
}
