// Starts Vorkel.exe and holds its window still to be photographed
// (scripts/screenshot.sh):
//   vorkel_shot.exe VORKEL.EXE READY DONE [FILE | --chooser FOLDER | --click FILE SHOWN]
// With FILE, the file is chosen with Browse and its digest computed with
// Generate first, the clipboard emptied before so that there is nothing to
// compare it with; with --chooser, 示例程序.exe in FOLDER is chosen and
// Browse opens the file chooser again, in that folder, where it stays up.
// Then READY gets the rectangle on the screen ("left top right bottom") of
// the window and the chooser over it, and the program is ended once DONE
// exists, or after a minute. With --click, FILE is chosen and READY gets,
// after the rectangle, the middle of the Generate button ("x y"), for the
// caller to click there as the user does; once the balloon of the verdict
// shows, SHOWN gets the rectangle of the window and the balloon. A Windows
// program of its own, so that no console comes with it.
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
    const bool bClick = argc == 7 && std::wstring(argv[4]) == L"--click";
    if (argc != 4 && argc != 5 && !bChooser && !bClick) {
        std::fprintf(stderr, "usage: vorkel_shot VORKEL.EXE READY DONE "
                             "[FILE | --chooser FOLDER | --click FILE SHOWN]\n");
        return 2;
    }
    const std::wstring ready = argv[2], done = argv[3];

    // Whatever an earlier picture left there.
    if (!bClick)
        SetClipboardText(L"");

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
    } else if (bClick) {
        testing::AssertionResult chosen = vorkel.Browse(argv[5]);
        if (!chosen)
            return Fail("browse", chosen);
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
    RECT button;
    ::GetWindowRect(vorkel.Item(IDC_GENERATE), &button);
    if (FILE *out = _wfopen(ready.c_str(), L"wb")) {
        std::fprintf(out, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
        if (bClick)
            std::fprintf(out, "%ld %ld\n", (button.left + button.right) / 2,
                         (button.top + button.bottom) / 2);
        std::fclose(out);
    }
    HWND hBalloon = NULL;
    if (bClick && WaitUntil([&] { return (hBalloon = vorkel.Gui().Tooltip(vorkel.Main())) != NULL; },
                            30000)) {
        ::Sleep(500); // for it to finish drawing
        RECT balloon;
        ::GetWindowRect(hBalloon, &balloon);
        ::UnionRect(&rect, &rect, &balloon);
        if (FILE *out = _wfopen(argv[6], L"wb")) {
            std::fprintf(out, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
            std::fclose(out);
        }
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
