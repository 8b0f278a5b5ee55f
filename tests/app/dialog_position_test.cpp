// Where the dialogs open: both templates leave their place to the class
// library, which centres the digest dialog on the work area of the monitor
// the user is at (the one holding the cursor) and the About box on the
// digest dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include "dialogs_on_screen.h"
#include "windows_under_test.h"

namespace {

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

// With the cursor on each monitor in turn: the digest dialog on that
// monitor's work area, the About box on the digest dialog.
TEST_F(DialogsOnScreenTest, DialogsOpenCentredOnTheMonitorWithTheCursor)
{
    for (const MONITORINFO &monitor : Monitors()) {
        const RECT &m = monitor.rcMonitor;
        ASSERT_TRUE(::SetCursorPos((m.left + m.right) / 2, (m.top + m.bottom) / 2));
        LookAtAbout([&](HWND hAbout) {
            ExpectCentredOn(Main(), monitor.rcWork);
            RECT main;
            ::GetWindowRect(Main(), &main);
            ExpectCentredOn(hAbout, main);
        });
    }
}

} // namespace
