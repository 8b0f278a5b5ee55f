// Opens the digest dialog, chooses a file with Browse and computes its digest
// with Generate, then holds still to be photographed (scripts/screenshot.sh):
//   screenshot_driver.exe FILE READY DONE
// Once the digest shows, READY gets the dialog's rectangle on the screen
// ("left top right bottom"); the dialog ends when DONE exists, or after a
// minute. A Windows program of its own, so that no console comes with it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "DigestDlg.h"
#include "digest_dialog_steps.h"
#include "ui_script.h"
#include "windows_under_test.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc != 4) {
        std::fprintf(stderr, "usage: screenshot_driver FILE READY DONE\n");
        return 2;
    }
    const std::string file = __argv[1], ready = __argv[2], done = __argv[3];

    CWinApp app;
    CDigestDlg dlg;
    app.m_pMainWnd = &dlg;

    UiScript script;
    AddOpened(script, dlg);
    AddBrowse(script, dlg, file);
    script.Do([&] { ClickNow(dlg.m_hWnd, IDC_GENERATE); })
        .Do([&] {
            RECT rect;
            ::GetWindowRect(dlg.m_hWnd, &rect);
            if (FILE *out = std::fopen(ready.c_str(), "wb")) {
                std::fprintf(out, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
                std::fclose(out);
            }
        })
        .WaitFor("the picture to be taken",
                 [&] { return ::GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; })
        .Do([&] { ::PostMessageW(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0); });

    std::string failure = script.Play([&] { dlg.DoModal(); }, 60000);
    if (!failure.empty()) {
        std::fprintf(stderr, "screenshot_driver: %s\n", failure.c_str());
        return 1;
    }
    return 0;
}
