// Where CDialog puts a dialog: centred when its template leaves the place
// open (x or y 0, no DS_ABSALIGN) and OnInitDialog did not move it; where the
// template or OnInitDialog put it otherwise. With no owner (no main window
// here), centred on the work area of the monitor holding the cursor (here
// the only one; in a session of two, each in turn).
#include <afxwin.h>

#include <gtest/gtest.h>

#include <string>

#include "probe_resource.h"
#include "windows_under_test.h"

namespace {

const UINT ID_SHOWN = 40100; // posted by OnInitDialog: comes once the dialog is up

// Notes where the dialog manager (or its own OnInitDialog, asked to move it)
// put it, and where it is once up; then ends.
class CPlaceProbe : public CDialog {
public:
    CPlaceProbe(UINT nID, bool bMove) : CDialog(nID), m_bMove(bMove) {}
    RECT m_rcInit = {}, m_rcShown = {};

protected:
    BOOL OnInitDialog() override
    {
        if (m_bMove)
            ::SetWindowPos(m_hWnd, NULL, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::GetWindowRect(m_hWnd, &m_rcInit);
        ::PostMessageW(m_hWnd, WM_COMMAND, ID_SHOWN, 0);
        return CDialog::OnInitDialog();
    }
    afx_msg void OnShown()
    {
        ::GetWindowRect(m_hWnd, &m_rcShown);
        EndDialog(IDOK);
    }
    DECLARE_MESSAGE_MAP()

private:
    bool m_bMove;
};

BEGIN_MESSAGE_MAP(CPlaceProbe, CDialog)
    ON_COMMAND(ID_SHOWN, OnShown)
END_MESSAGE_MAP()

// Grows on its first move after OnInitDialog (to CX by CY pixels), as the
// dialog manager grows a per-monitor aware dialog moved onto a monitor of a
// higher DPI (Windows 10 1703 on; Wine has one DPI for all monitors).
class CGrowingProbe : public CPlaceProbe {
public:
    CGrowingProbe() : CPlaceProbe(IDD_AT_ORIGIN, false) {}
    static constexpr int CX = 700, CY = 500;

protected:
    BOOL OnInitDialog() override
    {
        m_bGrowAtMove = true;
        return CPlaceProbe::OnInitDialog();
    }
    afx_msg void OnMove(int, int)
    {
        if (m_bGrowAtMove) {
            m_bGrowAtMove = false;
            ::SetWindowPos(m_hWnd, NULL, 0, 0, CX, CY, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    DECLARE_MESSAGE_MAP()

private:
    bool m_bGrowAtMove = false;
};

BEGIN_MESSAGE_MAP(CGrowingProbe, CPlaceProbe)
    ON_WM_MOVE()
END_MESSAGE_MAP()

// The dialog's rectangle as OnInitDialog left it and once up.
struct Place {
    RECT init, shown;
};

Place Shown(UINT nID, bool bMove = false)
{
    CPlaceProbe dlg(nID, bMove);
    EXPECT_EQ(dlg.DoModal(), IDOK) << nID;
    return {dlg.m_rcInit, dlg.m_rcShown};
}

std::string Text(const RECT &r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

TEST(CDialogPosition, CentredOnTheWorkAreaWhenTheTemplateGivesNoPlace)
{
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (UINT nID : {IDD_AT_ORIGIN, IDD_ON_LEFT_EDGE}) {
        RECT r = Shown(nID).shown;
        EXPECT_NEAR(r.left + r.right, work.left + work.right, 1) << nID << " " << Text(r);
        EXPECT_NEAR(r.top + r.bottom, work.top + work.bottom, 1) << nID << " " << Text(r);
    }
}

// Its caption, with the system menu and the close box, stays within reach:
// its top left corner at the work area's.
TEST(CDialogPosition, ADialogLargerThanTheWorkAreaKeepsItsCaptionOnIt)
{
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT r = Shown(IDD_LARGER_THAN_SCREEN).shown;
    ASSERT_GT(r.right - r.left, work.right - work.left) << Text(r);
    ASSERT_GT(r.bottom - r.top, work.bottom - work.top) << Text(r);
    EXPECT_EQ(r.left, work.left) << Text(r);
    EXPECT_EQ(r.top, work.top) << Text(r);
}

// Resized by its move to the monitor with the cursor, it is centred for its
// new size, inside the work area; with the cursor on each monitor in turn.
TEST(CDialogPosition, ResizedByItsMoveItIsCentredForItsNewSize)
{
    POINT ptWas = {0, 0};
    ::GetCursorPos(&ptWas);
    for (const MONITORINFO &monitor : Monitors()) {
        const RECT &m = monitor.rcMonitor, &work = monitor.rcWork;
        ASSERT_TRUE(::SetCursorPos((m.left + m.right) / 2, (m.top + m.bottom) / 2));
        CGrowingProbe dlg;
        ASSERT_EQ(dlg.DoModal(), IDOK);
        const RECT &r = dlg.m_rcShown;
        ASSERT_EQ(r.right - r.left, CGrowingProbe::CX) << Text(r) << ": not grown";
        EXPECT_NEAR(r.left + r.right, work.left + work.right, 1) << Text(r) << " in " << Text(work);
        EXPECT_NEAR(r.top + r.bottom, work.top + work.bottom, 1) << Text(r) << " in " << Text(work);
        EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right &&
                    r.bottom <= work.bottom)
            << Text(r) << " in " << Text(work);
    }
    ::SetCursorPos(ptWas.x, ptWas.y);
}

TEST(CDialogPosition, KeptWhereTheTemplateOrOnInitDialogPutIt)
{
    RECT moved = Shown(IDD_AT_ORIGIN, true).shown;
    EXPECT_EQ(moved.left, 50);
    EXPECT_EQ(moved.top, 60);
    for (UINT nID : {IDD_ABSALIGN, IDD_OWN_PLACE}) {
        Place place = Shown(nID);
        EXPECT_EQ(Text(place.shown), Text(place.init)) << nID;
    }
    EXPECT_EQ(Shown(IDD_ABSALIGN).shown.left, 0);
}

} // namespace
