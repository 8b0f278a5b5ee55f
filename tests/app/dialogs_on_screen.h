// The program's two dialogs up on the screen to be looked at rather than
// driven: the digest dialog as the program runs it, and the About box opened
// from its system menu.
#ifndef VORKEL_TESTS_DIALOGS_ON_SCREEN_H
#define VORKEL_TESTS_DIALOGS_ON_SCREEN_H

#include <functional>
#include <string>
#include <vector>

#include "digest_dialog_fixture.h"

class DialogsOnScreenTest : public DigestDialogTest {
protected:
    // Runs look with the digest dialog up, then ends the dialog.
    void LookAtMain(const std::function<void(HWND)> &look);

    // Opens the About box with the About item's command, runs look with it
    // up, then ends it and the digest dialog.
    void LookAtAbout(const std::function<void(HWND)> &look);
};

// A device context of a window, with the font the window draws its text with
// selected (WM_GETFONT; none: the system font), while it lives.
class FontDC {
public:
    explicit FontDC(HWND hWnd);
    ~FontDC();
    FontDC(const FontDC &) = delete;
    FontDC &operator=(const FontDC &) = delete;

    HDC Get() const { return m_hDC; }
    std::wstring Face() const;

private:
    HWND m_hWnd;
    HDC m_hDC;
    HGDIOBJ m_hOld = NULL;
};

// The characters of text (by default the window's own) that the font the
// window draws with has no glyph for: each shows as an empty box.
std::wstring MissingGlyphs(HWND hWnd);
std::wstring MissingGlyphs(HWND hWnd, const std::wstring &text);

#endif
