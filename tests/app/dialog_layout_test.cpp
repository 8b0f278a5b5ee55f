// The dialogs laid out at whatever DPI the process runs at (under Wine, its
// LogPixels in HKCU\Control Panel\Desktop): the dialog's font is the
// template's point size at that DPI; the client area and every control are
// the template's dialog units in that font's base units, the font the
// controls draw with, so the whole scales with the DPI; and every text shows
// whole in its control: no pixel of it, drawn in the control's font, falls
// outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs_on_screen.h"
#include "resource_reader.h"
#include "windows_under_test.h"

namespace {

int ScreenDpi()
{
    HDC hDC = ::GetDC(NULL);
    int dpi = ::GetDeviceCaps(hDC, LOGPIXELSY);
    ::ReleaseDC(NULL, hDC);
    return dpi;
}

// The base units the dialog manager takes from a font: the average width of
// the letters A to Z and a to z, rounded, and the height.
SIZE BaseUnits(HFONT hFont)
{
    HDC hDC = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    SIZE letters = {};
    ::GetTextExtentPoint32W(hDC, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                            &letters);
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(hDC, &tm);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    return {(letters.cx / 26 + 1) / 2, tm.tmHeight};
}

bool IsClass(HWND hWnd, const wchar_t *cls)
{
    wchar_t name[16] = L"";
    ::GetClassNameW(hWnd, name, 16);
    return lstrcmpiW(name, cls) == 0;
}

// A static that shows an icon (and no text, in no font).
bool IsIcon(HWND hWnd)
{
    return IsClass(hWnd, L"Static") && (::GetWindowLongW(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// A template's rectangle in pixels, as the dialog manager places a control:
// each of position and size from its dialog units.
RECT Pixels(const DialogUnits &r, SIZE base)
{
    int x = ::MulDiv(r.x, base.cx, 4), y = ::MulDiv(r.y, base.cy, 8);
    return {x, y, x + ::MulDiv(r.cx, base.cx, 4), y + ::MulDiv(r.cy, base.cy, 8)};
}

std::string Printed(const RECT &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

RECT InDialog(HWND hControl, HWND hDlg)
{
    RECT r;
    ::GetWindowRect(hControl, &r);
    ::MapWindowPoints(NULL, hDlg, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

void ExpectLaidOutForThisDpi(HWND hDlg, const DialogTemplate &dlg)
{
    const int dpi = ScreenDpi();
    SCOPED_TRACE(std::to_string(dpi) + " DPI");

    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(hDlg, WM_GETFONT, 0, 0));
    LOGFONTW lf = {};
    ASSERT_TRUE(::GetObjectW(hFont, sizeof(lf), &lf));
    EXPECT_EQ(lf.lfHeight, -::MulDiv(dlg.points, dpi, 72)) << "the template's size at this DPI";

    // Laid out with the font its controls draw with: the dialog's base units
    // are that font's.
    const SIZE base = BaseUnits(hFont);
    RECT units = {0, 0, 4, 8};
    ::MapDialogRect(hDlg, &units);
    EXPECT_EQ(units.right, base.cx);
    EXPECT_EQ(units.bottom, base.cy);
    for (HWND hControl : Controls(hDlg)) {
        if (IsIcon(hControl))
            continue;
        EXPECT_EQ(::SendMessageW(hControl, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(hFont))
            << ToAnsi(TextOf(hControl));
    }

    RECT client;
    ::GetClientRect(hDlg, &client);
    EXPECT_EQ(Printed(client), Printed(Pixels({0, 0, dlg.rect.cx, dlg.rect.cy}, base)));
    std::vector<HWND> controls = Controls(hDlg);
    ASSERT_EQ(controls.size(), dlg.items.size());
    for (std::size_t i = 0; i < controls.size(); i++) {
        RECT expected = Pixels(dlg.items[i].rect, base);
        // An icon's static takes the size of the system's icons, whatever
        // the template gives.
        if (IsIcon(controls[i])) {
            expected.right = expected.left + ::GetSystemMetrics(SM_CXICON);
            expected.bottom = expected.top + ::GetSystemMetrics(SM_CYICON);
        }
        EXPECT_EQ(Printed(InDialog(controls[i], hDlg)), Printed(expected)) << dlg.items[i];
    }

    // In proportion to the DPI: dpi / 96 times the size the same face gives
    // at 96 DPI, give or take what rounding to whole pixels does to a font's
    // metrics at each size (a tenth or so at these small sizes).
    LOGFONTW lf96 = lf;
    lf96.lfHeight = -::MulDiv(dlg.points, 96, 72);
    HFONT hFont96 = ::CreateFontIndirectW(&lf96);
    RECT client96 = Pixels({0, 0, dlg.rect.cx, dlg.rect.cy}, BaseUnits(hFont96));
    ::DeleteObject(hFont96);
    const double scale = dpi / 96.0;
    EXPECT_NEAR(client.right, client96.right * scale, client96.right * scale * 0.15);
    EXPECT_NEAR(client.bottom, client96.bottom * scale, client96.bottom * scale * 0.15);
}

// The pixels a text covers when drawn, with nothing to stop it, in the
// font a window draws with, into room (as DrawText lays it out with format):
// their bounding box, in the room's coordinates.
RECT InkOf(HWND hWnd, const std::wstring &text, UINT format, SIZE room)
{
    // A canvas with a margin all round the room, for ink that spills over.
    const int margin = room.cy + 16;
    const int width = room.cx + 2 * margin, height = room.cy + 2 * margin;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *pBits = nullptr;
    HDC hDC = ::CreateCompatibleDC(NULL);
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    HGDIOBJ hOldBitmap = ::SelectObject(hDC, hBitmap);
    HGDIOBJ hOldFont =
        ::SelectObject(hDC, reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)));
    RECT canvas = {0, 0, width, height};
    ::FillRect(hDC, &canvas, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetTextColor(hDC, RGB(0, 0, 0));
    ::SetBkMode(hDC, TRANSPARENT);
    RECT into = {margin, margin, margin + room.cx, margin + room.cy};
    ::DrawTextW(hDC, text.c_str(), -1, &into, format | DT_NOCLIP);
    ::GdiFlush();

    RECT ink = {width, height, 0, 0};
    const DWORD *pixels = static_cast<const DWORD *>(pBits);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            if ((pixels[y * width + x] & 0xFFFFFF) != 0xFFFFFF) {
                ink.left = std::min<LONG>(ink.left, x), ink.top = std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
    ::SelectObject(hDC, hOldFont);
    ::SelectObject(hDC, hOldBitmap);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
    ::OffsetRect(&ink, -margin, -margin);
    return ink;
}

// Where a control's text is cut off: the ink of its text, drawn in its font
// as the control lays it out, against the room the control has for it;
// empty when it all shows. Statics draw from their top left and wrap unless
// told not to; buttons centre one line inside their 3-D edge.
std::string Cut(HWND hControl)
{
    const std::wstring text = TextOf(hControl);
    if (text.empty() || IsIcon(hControl))
        return "";
    const LONG style = ::GetWindowLongW(hControl, GWL_STYLE);
    RECT room;
    ::GetClientRect(hControl, &room);
    UINT format;
    if (IsClass(hControl, L"Static")) {
        format = DT_EXPANDTABS | ((style & SS_TYPEMASK) == SS_LEFT ? DT_WORDBREAK : 0) |
                 (style & SS_NOPREFIX ? DT_NOPREFIX : 0);
    } else if (IsClass(hControl, L"Button")) {
        format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        ::InflateRect(&room, -::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
    } else {
        return ""; // the boxes: their text scrolls
    }
    const SIZE size = {room.right - room.left, room.bottom - room.top};
    RECT ink = InkOf(hControl, text, format, size);
    if (ink.left >= 0 && ink.top >= 0 && ink.right <= size.cx && ink.bottom <= size.cy)
        return "";
    return ToAnsi(text) + ": ink " + Printed(ink) + " in " + ToAnsi(FontDC(hControl).Face()) +
           ", room " + std::to_string(size.cx) + "x" + std::to_string(size.cy);
}

void ExpectEveryTextFits(HWND hDlg)
{
    for (HWND hControl : Controls(hDlg))
        EXPECT_EQ(Cut(hControl), "");
}

TEST_F(DialogsOnScreenTest, MainDialogScalesWithTheDpiAndFitsItsTexts)
{
    LookAtMain([](HWND hDlg) {
        ExpectLaidOutForThisDpi(hDlg, LoadDialogTemplate(::GetModuleHandleW(NULL), IDD_MAIN));
        ExpectEveryTextFits(hDlg);
    });
}

TEST_F(DialogsOnScreenTest, AboutBoxScalesWithTheDpiAndFitsItsTexts)
{
    LookAtAbout([](HWND hAbout) {
        ExpectLaidOutForThisDpi(hAbout, LoadDialogTemplate(::GetModuleHandleW(NULL), IDD_ABOUT));
        ExpectEveryTextFits(hAbout);
    });
}

} // namespace
