// A drop of files as Explorer makes one (WM_DROPFILES's handle): a DROPFILES
// header in global memory, then the names one after another, each ended by
// a zero, and one zero more. Plain Win32, so that a hook DLL can use it too.
#ifndef VORKEL_TESTS_DROP_FILES_H
#define VORKEL_TESTS_DROP_FILES_H

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

// The names in UTF-16 (bWide, as Explorer sends them) or in the ANSI code
// page. Null when the memory can't be had.
HDROP MakeDrop(const std::vector<std::wstring> &names, bool bWide = true);

#endif
