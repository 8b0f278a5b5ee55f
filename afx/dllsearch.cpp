// The DLL search of a program built on the library, restricted to the
// system's folder before anything can load a DLL by name. Linked as an
// object into each program (the afx_dllsearch target): nothing refers to it.
//
// A program like this one is downloaded and run from a folder of downloads,
// which holds whatever a web page chose to save there. Windows looks for a
// DLL loaded by name in the program's folder first, then in the current
// directory: a DLL planted there under the name of one that the system's
// own DLLs load (uxtheme.dll, version.dll, ...) would run in the program.
// With the search restricted here, and every DLL beyond the static imports
// loaded afterwards (see systemdll.cpp), only System32's are ever loaded.
#include <windows.h>

namespace {

// SetDefaultDllDirectories came with Windows 8, and to Windows 7 with its
// loader update of 2011 (KB2533623): looked up rather than imported, so that
// the program still starts without it.
typedef BOOL(WINAPI *PFNSETDEFAULTDLLDIRECTORIES)(DWORD DirectoryFlags);

int __cdecl AfxRestrictDllSearch()
{
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    PFNSETDEFAULTDLLDIRECTORIES pfnSetDefaultDllDirectories =
        reinterpret_cast<PFNSETDEFAULTDLLDIRECTORIES>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(hKernel, "SetDefaultDllDirectories")));
    if (pfnSetDefaultDllDirectories == NULL ||
        !pfnSetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        // Without it, at least the current directory is no longer searched;
        // the library then loads its DLLs by their full path in System32.
        ::SetDllDirectoryA("");
    }
    return 0;
}

// The C runtime's start-up calls the functions listed in the .CRT$XI*
// sections (its table of C initialisers) before the static objects'
// constructors, the library's module state and the application object
// among them, and before WinMain. The static imports (kernel32, user32,
// gdi32, msvcrt) are resolved before even this: the system's KnownDLLs.
__attribute__((section(".CRT$XIB"), used)) int(__cdecl *const afxRestrictDllSearch)() =
    AfxRestrictDllSearch;

} // namespace
