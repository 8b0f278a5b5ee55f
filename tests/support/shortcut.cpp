// Making shortcuts with IShellLinkW and IPersistFile::Save; a stand-in for
// the object that reads them.
#include "shortcut.h"

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

// The stand-in: one object, its own class factory, that every creation
// hands out again (it outlives them all: no counting). Only what a reader of
// links asks is answered.
class StandInShellLinks::Link : public IClassFactory,
                                public IShellLinkW,
                                public IPersistFile,
                                public IShellLinkDataList {
public:
    Link(const std::wstring &target, DWORD flags) : m_target(target), m_flags(flags) {}
    virtual ~Link() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory)
            *ppv = static_cast<IClassFactory *>(this);
        else if (riid == IID_IShellLinkW)
            *ppv = static_cast<IShellLinkW *>(this);
        else if (riid == IID_IPersist || riid == IID_IPersistFile)
            *ppv = static_cast<IPersistFile *>(this);
        else if (riid == IID_IShellLinkDataList)
            *ppv = static_cast<IShellLinkDataList *>(this);
        else
            *ppv = NULL;
        return *ppv != NULL ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP CreateInstance(IUnknown *pOuter, REFIID riid, void **ppv) override
    {
        return pOuter != NULL ? CLASS_E_NOAGGREGATION : QueryInterface(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    STDMETHODIMP GetPath(LPWSTR pszFile, int cch, WIN32_FIND_DATAW *, DWORD) override
    {
        ::lstrcpynW(pszFile, m_target.c_str(), cch);
        return S_OK;
    }
    STDMETHODIMP GetFlags(DWORD *pdwFlags) override
    {
        *pdwFlags = m_flags;
        return S_OK;
    }
    STDMETHODIMP Load(LPCOLESTR, DWORD) override { return S_OK; }

    // Nothing else is asked.
    STDMETHODIMP GetIDList(PIDLIST_ABSOLUTE *) override { return E_NOTIMPL; }
    STDMETHODIMP SetIDList(PCIDLIST_ABSOLUTE) override { return E_NOTIMPL; }
    STDMETHODIMP GetDescription(LPWSTR, int) override { return E_NOTIMPL; }
    STDMETHODIMP SetDescription(LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP GetWorkingDirectory(LPWSTR, int) override { return E_NOTIMPL; }
    STDMETHODIMP SetWorkingDirectory(LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP GetArguments(LPWSTR, int) override { return E_NOTIMPL; }
    STDMETHODIMP SetArguments(LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP GetHotkey(WORD *) override { return E_NOTIMPL; }
    STDMETHODIMP SetHotkey(WORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetShowCmd(int *) override { return E_NOTIMPL; }
    STDMETHODIMP SetShowCmd(int) override { return E_NOTIMPL; }
    STDMETHODIMP GetIconLocation(LPWSTR, int, int *) override { return E_NOTIMPL; }
    STDMETHODIMP SetIconLocation(LPCWSTR, int) override { return E_NOTIMPL; }
    STDMETHODIMP SetRelativePath(LPCWSTR, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Resolve(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetPath(LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP GetClassID(CLSID *) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPCOLESTR, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP SaveCompleted(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP GetCurFile(LPOLESTR *) override { return E_NOTIMPL; }
    STDMETHODIMP AddDataBlock(void *) override { return E_NOTIMPL; }
    STDMETHODIMP CopyDataBlock(DWORD, void **) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveDataBlock(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetFlags(DWORD) override { return E_NOTIMPL; }

private:
    std::wstring m_target;
    DWORD m_flags;
};

StandInShellLinks::StandInShellLinks(const std::wstring &target, DWORD flags)
    : m_link(new Link(target, flags)),
      m_hrInit(::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED))
{
    // For the objects this program and the DLLs it uses create, as the
    // function is documented to serve; Wine's CoCreateInstance asks such
    // registrations before the registry.
    if (FAILED(::CoRegisterClassObject(CLSID_ShellLink, static_cast<IClassFactory *>(m_link.get()),
                                       CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_dwCookie)))
        m_dwCookie = 0;
}

StandInShellLinks::~StandInShellLinks()
{
    if (m_dwCookie != 0)
        ::CoRevokeClassObject(m_dwCookie);
    if (SUCCEEDED(m_hrInit))
        ::CoUninitialize();
}
