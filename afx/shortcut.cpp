// Shortcuts (shell links: .lnk files) followed to the files they point at,
// through the shell's link object. Explorer hands a dragged shortcut over as
// the .lnk file itself; the system's file chooser follows it.
#include "afxwin.h"

#include <shlobj.h>

#include <cstring>
#include <vector>

#include "afxpriv.h"

namespace {

typedef HRESULT(WINAPI *PFNCOCREATEINSTANCE)(REFCLSID rclsid, LPUNKNOWN pUnkOuter,
                                             DWORD dwClsContext, REFIID riid, LPVOID *ppv);

// Whether the link is an installer's advertised shortcut (Windows Installer
// makes many of the Start menu's): its target is a product, which the
// installer finds or repairs when the link is started, not a file. Its
// GetPath answers S_OK all the same, with the path of an icon under
// C:\Windows\Installer that exists; its flags tell it. A link that can't
// say is taken as an ordinary one.
bool IsAdvertised(IShellLinkW *pLink)
{
    IShellLinkDataList *pData = NULL;
    DWORD dwFlags = 0;
    if (SUCCEEDED(pLink->QueryInterface(IID_IShellLinkDataList, reinterpret_cast<void **>(&pData)))) {
        if (FAILED(pData->GetFlags(&dwFlags)))
            dwFlags = 0;
        pData->Release();
    }
    return (dwFlags & SLDF_HAS_DARWINID) != 0;
}

// The target as the link holds it, or empty. Load only reads the link;
// without Resolve nothing searches the disks or the network for a target
// that has moved, and no window shows.
std::wstring LinkTarget(const std::wstring &strLink)
{
    PFNCOCREATEINSTANCE pfnCoCreateInstance =
        AfxGetSystemProc<PFNCOCREATEINSTANCE>("ole32.dll", "CoCreateInstance");
    IShellLinkW *pLink = NULL;
    if (!AfxComInit() || pfnCoCreateInstance == NULL ||
        FAILED(pfnCoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void **>(&pLink))))
        return std::wstring();

    // A link's target can be a long path.
    std::vector<wchar_t> target(32768, L'\0');
    IPersistFile *pFile = NULL;
    if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&pFile)))) {
        // S_FALSE: the target has no file-system path (a printer, the
        // Control Panel, ...). An advertised shortcut has none either.
        if (FAILED(pFile->Load(strLink.c_str(), STGM_READ)) || IsAdvertised(pLink) ||
            pLink->GetPath(target.data(), static_cast<int>(target.size()), NULL, 0) != S_OK)
            target[0] = L'\0';
        pFile->Release();
    }
    pLink->Release();
    return target.data();
}

} // namespace

BOOL AFXAPI AfxIsShortcut(LPCTSTR lpszFileName)
{
    // By the ".lnk" at its end, in any case. Those four bytes are characters
    // of their own in every code page: '.' is no byte of a longer one.
    std::size_t nLength = std::strlen(lpszFileName);
    return nLength >= 4 && ::lstrcmpiA(lpszFileName + nLength - 4, ".lnk") == 0;
}

BOOL AFXAPI AfxResolveShortcut(LPCTSTR lpszShortcutFile, CString &strTarget)
{
    std::wstring strLink;
    if (!AfxAnsiToWide(lpszShortcutFile, static_cast<int>(std::strlen(lpszShortcutFile)),
                       strLink))
        return FALSE;
    std::wstring strWide = LinkTarget(strLink);
    std::string strPath;
    if (strWide.empty() ||
        !AfxWideToAnsiExact(strWide.data(), static_cast<int>(strWide.size()), strPath) ||
        AfxIsShortcut(strPath.c_str())) // a link to a link is followed no further
        return FALSE;
    strTarget = strPath.c_str();
    return TRUE;
}
