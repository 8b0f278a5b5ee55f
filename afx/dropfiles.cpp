// Files dropped on a window: CWnd::DragAcceptFiles and the reading of a
// drop, through shell32 loaded from System32 at run time (systemdll.cpp).
#include "afxwin.h"

#include "afxpriv.h"

namespace {

typedef void(WINAPI *PFNDRAGACCEPTFILES)(HWND hWnd, BOOL fAccept);
typedef UINT(WINAPI *PFNDRAGQUERYFILEA)(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch);
typedef void(WINAPI *PFNDRAGFINISH)(HDROP hDrop);
typedef BOOL(WINAPI *PFNCHANGEWINDOWMESSAGEFILTEREX)(HWND hWnd, UINT message, DWORD action,
                                                     PCHANGEFILTERSTRUCT pChangeFilterStruct);

// The message that carries a drop's data across to an elevated window, of
// which Windows' headers name none.
const UINT WM_COPYGLOBALDATA = 0x0049;

} // namespace

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    PFNDRAGACCEPTFILES pfnDragAcceptFiles =
        AfxGetSystemProc<PFNDRAGACCEPTFILES>("shell32.dll", "DragAcceptFiles");
    if (pfnDragAcceptFiles == NULL)
        return;
    pfnDragAcceptFiles(m_hWnd, bAccept); // sets or clears WS_EX_ACCEPTFILES

    // A program run as administrator gets no messages from less trusted
    // ones (UIPI), Explorer among them: a drop would never arrive. The three
    // messages of a drop are let through for this window alone. Windows 7
    // and later have the function; without it there is no such filter.
    if (!bAccept)
        return;
    PFNCHANGEWINDOWMESSAGEFILTEREX pfnChangeWindowMessageFilterEx =
        reinterpret_cast<PFNCHANGEWINDOWMESSAGEFILTEREX>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(::GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx")));
    if (pfnChangeWindowMessageFilterEx != NULL) {
        for (UINT message : {UINT(WM_DROPFILES), UINT(WM_COPYDATA), WM_COPYGLOBALDATA})
            pfnChangeWindowMessageFilterEx(m_hWnd, message, MSGFLT_ALLOW, NULL);
    }
}

void CWnd::OnDropFiles(HDROP /*hDropInfo*/)
{
    Default();
}

UINT AFXAPI AfxDragQueryFile(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch)
{
    PFNDRAGQUERYFILEA pfnDragQueryFileA =
        AfxGetSystemProc<PFNDRAGQUERYFILEA>("shell32.dll", "DragQueryFileA");
    return pfnDragQueryFileA != NULL ? pfnDragQueryFileA(hDrop, iFile, lpszFile, cch) : 0;
}

void AFXAPI AfxDragFinish(HDROP hDrop)
{
    PFNDRAGFINISH pfnDragFinish = AfxGetSystemProc<PFNDRAGFINISH>("shell32.dll", "DragFinish");
    if (pfnDragFinish != NULL)
        pfnDragFinish(hDrop);
    else
        ::GlobalFree(hDrop); // a drop handle is global memory: freed all the same
}
