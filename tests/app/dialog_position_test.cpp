// Where the dialogs open: both templates leave their place to the class
// library, which centres the digest dialog on the screen's work area and
// the About box on the digest dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include "dialogs_on_screen.h"

namespace {

RECT WorkArea()
{
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// inner's centre is outer's, to a pixel (halves round either way).
void ExpectCentredOn(HWND hWnd, const RECT &outer)
{
    RECT inner;
    ::GetWindowRect(hWnd, &inner);
    EXPECT_NEAR(inner.left + inner.right, outer.left + outer.right, 1)
        << inner.left << "-" << inner.right << " in " << outer.left << "-" << outer.right;
    EXPECT_NEAR(inner.top + inner.bottom, outer.top + outer.bottom, 1)
        << inner.top << "-" << inner.bottom << " in " << outer.top << "-" << outer.bottom;
}

TEST_F(DialogsOnScreenTest, MainDialogOpensCentredOnTheWorkArea)
{
    LookAtMain([](HWND hDlg) { ExpectCentredOn(hDlg, WorkArea()); });
}

TEST_F(DialogsOnScreenTest, AboutBoxOpensCentredOnTheMainDialog)
{
    LookAtAbout([this](HWND hAbout) {
        RECT main;
        ::GetWindowRect(Main(), &main);
        ExpectCentredOn(hAbout, main);
    });
}

} // namespace
