// A hook DLL that drops a file on Vorkel.exe's window from inside its
// process: a drop handle is global memory of the process that gets it, so
// no other process can make one. The test sets DropHookProc as a
// WH_GETMESSAGE hook on the program's thread, writes the path into a file
// beside this DLL (its name with ".path" added, in UTF-16), and posts the
// message "VorkelTestDrop" to the window; the hook then posts it the drop.
#include <windows.h>

#include <string>
#include <vector>

#include "drop_files.h"

namespace {

HINSTANCE g_hInstance;

std::wstring PathToDrop()
{
    wchar_t szName[MAX_PATH + 8];
    DWORD nLength = ::GetModuleFileNameW(g_hInstance, szName, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return L"";
    ::lstrcatW(szName, L".path");
    HANDLE hFile = ::CreateFileW(szName, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return L"";
    std::vector<wchar_t> path(4096, L'\0');
    DWORD nRead = 0;
    ::ReadFile(hFile, path.data(), static_cast<DWORD>((path.size() - 1) * sizeof(wchar_t)), &nRead, NULL);
    ::CloseHandle(hFile);
    return std::wstring(path.data(), nRead / sizeof(wchar_t));
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK DropHookProc(int nCode, WPARAM wParam,
                                                               LPARAM lParam)
{
    MSG *pMsg = reinterpret_cast<MSG *>(lParam);
    if (nCode == HC_ACTION && wParam == PM_REMOVE &&
        pMsg->message == ::RegisterWindowMessageW(L"VorkelTestDrop")) {
        HDROP hDrop = MakeDrop({PathToDrop()});
        if (hDrop != NULL)
            ::PostMessageW(pMsg->hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
        pMsg->message = WM_NULL; // ours: the window is not to see it
    }
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*lpReserved*/)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        g_hInstance = hInstance;
    return TRUE;
}
