// Files dropped on a window: CWnd::DragAcceptFiles and the reading of a
// drop, through shell32 loaded from System32 at run time (systemdll.cpp).
#include "afxwin.h"

#include "afxpriv.h"

#include <cstring>
#include <string>

namespace {

typedef void(WINAPI *PFNDRAGACCEPTFILES)(HWND hWnd, BOOL fAccept);
typedef UINT(WINAPI *PFNDRAGQUERYFILEW)(HDROP hDrop, UINT iFile, LPWSTR lpszFile, UINT cch);
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
    PFNDRAGQUERYFILEW pfnDragQueryFileW =
        AfxGetSystemProc<PFNDRAGQUERYFILEW>("shell32.dll", "DragQueryFileW");
    if (pfnDragQueryFileW == NULL)
        return 0;
    if (iFile == 0xFFFFFFFF)
        return pfnDragQueryFileW(hDrop, iFile, NULL, 0);

    // The name as Explorer gives it, in UTF-16 (an ANSI drop's too: shell32
    // converts it), then in the ANSI code page exactly or not at all.
    UINT nWide = pfnDragQueryFileW(hDrop, iFile, NULL, 0);
    if (nWide == 0)
        return 0;
    std::wstring strWide(nWide + 1, L'\0');
    std::string strName;
    if (pfnDragQueryFileW(hDrop, iFile, &strWide[0], nWide + 1) != nWide ||
        !AfxWideToAnsiExact(strWide.data(), static_cast<int>(nWide), strName))
        return 0;
    if (lpszFile == NULL)
        return static_cast<UINT>(strName.size());
    if (strName.size() >= cch)
        return 0; // never a cut name
    std::memcpy(lpszFile, strName.c_str(), strName.size() + 1);
    return static_cast<UINT>(strName.size());
}

void AFXAPI AfxDragFinish(HDROP hDrop)
{
    PFNDRAGFINISH pfnDragFinish = AfxGetSystemProc<PFNDRAGFINISH>("shell32.dll", "DragFinish");
    if (pfnDragFinish != NULL)
        pfnDragFinish(hDrop);
    else
        ::GlobalFree(hDrop); // a drop handle is global memory: freed all the same
}
