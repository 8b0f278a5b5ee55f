// Starts Vorkel.exe and holds its window still to be photographed
// (scripts/screenshot.sh):
//   vorkel_shot.exe VORKEL.EXE READY DONE [FILE | --chooser FOLDER]
// With FILE, the file is chosen with Browse and its digest computed with
// Generate first; with --chooser, 示例程序.exe in FOLDER is chosen and Browse
// opens the file chooser again, in that folder, where it stays up. Then READY gets the
// rectangle on the screen ("left top right bottom") of the window and the
// chooser over it, and the program is ended once DONE exists, or after a
// minute. A Windows program of its own, so that no console comes
// with it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "resource.h"
#include "vorkel_process.h"

namespace {

bool Exists(const std::wstring &path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Fail(const char *what, const testing::AssertionResult &result)
{
    std::fprintf(stderr, "vorkel_shot: %s: %s\n", what, result.message());
    return 1;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    wchar_t **argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const bool bChooser = argc == 6 && std::wstring(argv[4]) == L"--chooser";
    if (argc != 4 && argc != 5 && !bChooser) {
        std::fprintf(stderr, "usage: vorkel_shot VORKEL.EXE READY DONE [FILE | --chooser FOLDER]\n");
        return 2;
    }
    const std::wstring ready = argv[2], done = argv[3];

    VorkelProcess vorkel;
    testing::AssertionResult started = vorkel.Start(argv[1]);
    if (!started)
        return Fail("start", started);
    HWND hChooser = NULL;
    if (bChooser) {
        // The chooser opens where the program last chose a file: a first
        // choice in the folder puts it there.
        testing::AssertionResult chosen = vorkel.Browse(std::wstring(argv[5]) + L"\\示例程序.exe");
        if (!chosen)
            return Fail("browse", chosen);
        Click(vorkel.Main(), IDC_BROWSE);
        if (!WaitUntil([&] { return (hChooser = vorkel.Gui().FileChooser(vorkel.Main())) != NULL; }))
            return Fail("browse", testing::AssertionFailure() << "no chooser");
    } else if (argc == 5) {
        testing::AssertionResult chosen = vorkel.Browse(argv[4]);
        if (!chosen)
            return Fail("browse", chosen);
        ClickNow(vorkel.Main(), IDC_GENERATE);
    }
    ::Sleep(500); // for the window to finish drawing

    RECT rect, chooser;
    ::GetWindowRect(vorkel.Main(), &rect);
    if (hChooser != NULL && ::GetWindowRect(hChooser, &chooser))
        ::UnionRect(&rect, &rect, &chooser);
    if (FILE *out = _wfopen(ready.c_str(), L"wb")) {
        std::fprintf(out, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
        std::fclose(out);
    }
    WaitUntil([&] { return Exists(done); }, 60000);
    if (hChooser != NULL) {
        ::PostMessageW(hChooser, WM_COMMAND, IDCANCEL, 0);
        WaitUntil([&] { return vorkel.Gui().FileChooser(vorkel.Main()) == NULL; });
    }
    ::PostMessageW(vorkel.Main(), WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    return vorkel.Exited(5000, exitCode) ? 0 : 1;
}
