/* A DLL that must never be loaded: the tests copy it beside Vorkel.exe and
   md5hex.exe, and into their current directory, under the names of the DLLs
   those programs load. Loaded, it leaves a mark beside itself: a file of its
   own name with ".loaded" added. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved)
{
    (void)lpReserved;
    if (dwReason == DLL_PROCESS_ATTACH) {
        wchar_t szMark[MAX_PATH + 8];
        DWORD nLength = GetModuleFileNameW(hInstance, szMark, MAX_PATH);
        if (nLength > 0 && nLength < MAX_PATH) {
            lstrcatW(szMark, L".loaded");
            CloseHandle(CreateFileW(szMark, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
        }
    }
    return TRUE; /* and the program goes on, as it would with a real stand-in */
}
