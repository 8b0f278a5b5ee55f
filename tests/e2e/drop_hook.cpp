// A hook DLL that drops files on Vorkel.exe's window from inside its
// process: a drop handle is global memory of the process that gets it, so
// no other process can make one. The test sets DropHookProc as a
// WH_GETMESSAGE hook on the program's thread, writes the paths into a file
// beside this DLL (its name with ".path" added, in UTF-16, one a line), and
// posts the message "VorkelTestDrop" to the window; the hook then posts it
// the drop. Test runs at the same time each use a copy of the DLL of their
// own (e2e_test.cmake), so that none reads another's file.
#include <windows.h>

#include <string>
#include <vector>

#include "drop_files.h"

namespace {

HINSTANCE g_hInstance;

std::vector<std::wstring> PathsToDrop()
{
    wchar_t szName[MAX_PATH + 8];
    DWORD nLength = ::GetModuleFileNameW(g_hInstance, szName, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return {};
    ::lstrcatW(szName, L".path");
    HANDLE hFile = ::CreateFileW(szName, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return {};
    std::vector<wchar_t> text(16384, L'\0');
    DWORD nRead = 0;
    ::ReadFile(hFile, text.data(), static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t)), &nRead, NULL);
    ::CloseHandle(hFile);
    std::vector<std::wstring> paths(1);
    for (std::size_t i = 0; i < nRead / sizeof(wchar_t); i++) {
        if (text[i] == L'\n')
            paths.emplace_back();
        else
            paths.back() += text[i];
    }
    return paths;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK DropHookProc(int nCode, WPARAM wParam,
                                                               LPARAM lParam)
{
    MSG *pMsg = reinterpret_cast<MSG *>(lParam);
    if (nCode == HC_ACTION && wParam == PM_REMOVE &&
        pMsg->message == ::RegisterWindowMessageW(L"VorkelTestDrop")) {
        HDROP hDrop = MakeDrop(PathsToDrop());
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
