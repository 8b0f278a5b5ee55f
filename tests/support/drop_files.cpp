// Making a drop of files the way Explorer does.
#include "drop_files.h"

#include <cstring>

#include <shlobj.h> // DROPFILES

HDROP MakeDrop(const std::vector<std::wstring> &names, bool bWide)
{
    std::vector<char> list;
    for (const std::wstring &name : names) {
        if (bWide) {
            const char *bytes = reinterpret_cast<const char *>(name.c_str());
            list.insert(list.end(), bytes, bytes + (name.size() + 1) * sizeof(wchar_t));
        } else {
            int nBytes = ::WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, NULL, 0, NULL, NULL);
            std::vector<char> ansi(nBytes > 0 ? nBytes : 1, '\0');
            ::WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, ansi.data(), nBytes, NULL, NULL);
            list.insert(list.end(), ansi.begin(), ansi.end());
        }
    }
    list.insert(list.end(), bWide ? sizeof(wchar_t) : 1, '\0');

    HGLOBAL hDrop = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
    DROPFILES *pDrop = static_cast<DROPFILES *>(::GlobalLock(hDrop));
    if (pDrop == NULL)
        return NULL;
    pDrop->pFiles = sizeof(DROPFILES);
    pDrop->fWide = bWide;
    std::memcpy(pDrop + 1, list.data(), list.size());
    ::GlobalUnlock(hDrop);
    return static_cast<HDROP>(hDrop);
}
