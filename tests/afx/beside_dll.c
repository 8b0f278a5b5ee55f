/* A DLL of a name the system has none of (Wine no built-in), built beside
   the start-up probe: loaded by its name alone after the start-up, it must
   not be found there. */
__declspec(dllexport) int afx_beside_dll;
