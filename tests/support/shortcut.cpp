// Making shortcuts with IShellLinkW and IPersistFile::Save.
#include "shortcut.h"

#include <windows.h>

#include <shlobj.h>

bool MakeShortcut(const std::wstring &link, const std::wstring &target)
{
    // Apartment-threaded, as the window tests' thread already is or may
    // become; the call's own reference is given back at the end.
    HRESULT hrInit = ::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    IShellLinkW *pLink = NULL;
    IPersistFile *pFile = NULL;
    bool bSaved = SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER,
                                               IID_IShellLinkW, reinterpret_cast<void **>(&pLink))) &&
                  SUCCEEDED(pLink->SetPath(target.c_str())) &&
                  SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&pFile))) &&
                  SUCCEEDED(pFile->Save(link.c_str(), TRUE));
    if (pFile != NULL)
        pFile->Release();
    if (pLink != NULL)
        pLink->Release();
    if (SUCCEEDED(hrInit))
        ::CoUninitialize();
    return bSaved;
}
