// The digest dialog's system menu and system commands: the About item, the
// About box and the ways to close it, the commands that are not the About
// box's; and its icons, when minimised too.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "digest_dialog_fixture.h"
#include "program_texts.h"
#include "windows_under_test.h"

namespace {

// Records, while it lives, the top-level windows created on this thread with
// a given owner, and the WM_ICONERASEBKGND messages sent to that window.
class WindowWatch {
public:
    explicit WindowWatch(HWND hWnd) : m_hWnd(hWnd)
    {
        s_pWatch = this;
        m_hCbt = ::SetWindowsHookExW(WH_CBT, OnCbt, NULL, ::GetCurrentThreadId());
        m_hSent = ::SetWindowsHookExW(WH_CALLWNDPROC, OnSent, NULL, ::GetCurrentThreadId());
    }
    ~WindowWatch()
    {
        ::UnhookWindowsHookEx(m_hCbt);
        ::UnhookWindowsHookEx(m_hSent);
        s_pWatch = nullptr;
    }

    int m_nOwnedCreated = 0;
    int m_nIconErasures = 0; // with a device context, as it should come

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTW *cs = reinterpret_cast<CBT_CREATEWNDW *>(lParam)->lpcs;
            if (!(cs->style & WS_CHILD) && cs->hwndParent == s_pWatch->m_hWnd)
                s_pWatch->m_nOwnedCreated++;
        }
        return ::CallNextHookEx(NULL, code, wParam, lParam);
    }

    static LRESULT CALLBACK OnSent(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT *msg = reinterpret_cast<CWPSTRUCT *>(lParam);
        if (code == HC_ACTION && msg->hwnd == s_pWatch->m_hWnd &&
            msg->message == WM_ICONERASEBKGND &&
            ::GetObjectType(reinterpret_cast<HGDIOBJ>(msg->wParam)) == OBJ_DC)
            s_pWatch->m_nIconErasures++;
        return ::CallNextHookEx(NULL, code, wParam, lParam);
    }

    static WindowWatch *s_pWatch;
    HWND m_hWnd;
    HHOOK m_hCbt;
    HHOOK m_hSent;
};

WindowWatch *WindowWatch::s_pWatch;

HICON ProgramIcon()
{
    return ::LoadIconW(::GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDI_MAIN));
}

TEST_F(DigestDialogTest, SystemMenuEndsWithTheAboutItem)
{
    UiScript script = Opened();
    script.Do([this] {
        HMENU hMenu = ::GetSystemMenu(Main(), FALSE);
        int count = ::GetMenuItemCount(hMenu);
        ASSERT_GE(count, 2);
        EXPECT_TRUE(::GetMenuState(hMenu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_EQ(::GetMenuItemID(hMenu, count - 1), static_cast<UINT>(IDM_ABOUT));
        wchar_t text[64] = L"";
        ::GetMenuStringW(hMenu, count - 1, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, kAboutMenuItem);
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, IconForBothSizesAndForDragging)
{
    UiScript script = Opened();
    script.Do([this] {
        HICON hIcon = ProgramIcon();
        ASSERT_NE(hIcon, (HICON)NULL);
        EXPECT_EQ(::SendMessageW(Main(), WM_GETICON, ICON_BIG, 0), (LRESULT)hIcon);
        EXPECT_EQ(::SendMessageW(Main(), WM_GETICON, ICON_SMALL, 0), (LRESULT)hIcon);
        // Answered directly by the dialog procedure, not through DWLP_MSGRESULT.
        EXPECT_EQ(::SendMessageW(Main(), WM_QUERYDRAGICON, 0, 0), (LRESULT)hIcon);
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

// Commands 0x0010 to 0x001F (the About item's, whatever the system puts in
// the low four bits) open the About box; OK, Enter, Esc and the close command
// end it, and the main window is as it was.
TEST_F(DigestDialogTest, AboutBoxFromTheSystemMenu)
{
    std::wstring path = MakeFile(L"file.txt", "file");
    std::wstring digest = DigestOf("file");
    const std::vector<std::function<void(HWND)>> closes = {
        [](HWND hAbout) { Click(hAbout, IDOK); },
        [](HWND) { GuiThread().PressKey(VK_RETURN); },
        [](HWND) { GuiThread().PressKey(VK_ESCAPE); },
        [](HWND hAbout) { ::PostMessageW(hAbout, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    int nOpened = 0;
    auto about = [this] {
        HWND hWnd = GuiThread().OwnedWindow(Main());
        return hWnd != NULL && TextOf(hWnd) == kAboutCaption ? hWnd : NULL;
    };

    UiScript script = Opened();
    Browse(script, path);
    script.Do([this] { ClickNow(Main(), IDC_GENERATE); });
    for (UINT nID = 0x0010; nID <= 0x001F; nID++) {
        script.Do([this, nID] { ::PostMessageW(Main(), WM_SYSCOMMAND, nID, 0); })
            .WaitFor("the About box", [&] { return about() != NULL; })
            .Do([&, nID] {
                nOpened++;
                EXPECT_FALSE(::IsWindowEnabled(Main())) << "the About box is modal";
                closes[nID % closes.size()](about());
            })
            .WaitFor("the About box to close",
                     [&] { return about() == NULL && ::IsWindowEnabled(Main()); })
            .Do([&] {
                EXPECT_EQ(PathBox(), path);
                EXPECT_EQ(DigestBox(), digest);
            });
    }
    script.Do([this] { ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(nOpened, 16);
}

// Every other command has the default processing: nothing for the unknown
// ones, and the system's own do what they do, minimising included. The
// minimised window paints its icon. (Windows, like Wine, gives a minimised
// window no client area to paint and so never asks; the paint request is
// sent here as the system would send it.)
TEST_F(DigestDialogTest, OtherSystemCommandsHaveTheirDefault)
{
    std::vector<int> iconErasures;
    int nOwnedCreated = -1;
    UiScript script = Opened();
    script.Do([&] {
        WindowWatch watch(Main());
        for (UINT nID : {0x0000u, 0x000Fu, 0x0020u, 0x0030u, 0x0110u, 0xF110u})
            ::SendMessageW(Main(), WM_SYSCOMMAND, nID, 0);

        // Moving with the keyboard, which Esc ends: the move takes the Esc
        // from the queue.
        ::PostMessageW(Main(), WM_KEYDOWN, VK_ESCAPE, 1);
        ::SendMessageW(Main(), WM_SYSCOMMAND, SC_MOVE, 0);
        MSG msg;
        EXPECT_FALSE(::PeekMessageW(&msg, Main(), WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE))
            << "no move";

        ::SendMessageW(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(::IsIconic(Main()));
        ::SendMessageW(Main(), WM_PAINT, 0, 0);
        iconErasures.push_back(watch.m_nIconErasures);

        ::SendMessageW(Main(), WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_FALSE(::IsIconic(Main()));
        ::RedrawWindow(Main(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_FALSE(::GetUpdateRect(Main(), NULL, FALSE)) << "painted";
        iconErasures.push_back(watch.m_nIconErasures);

        nOwnedCreated = watch.m_nOwnedCreated;
        ::PostMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(nOwnedCreated, 0) << "no About box";
    EXPECT_EQ(iconErasures, (std::vector<int>{1, 1})) << "the icon drawn once, when minimised";
}

} // namespace
