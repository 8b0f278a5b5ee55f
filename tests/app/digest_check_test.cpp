// The digests compared with those the user copied, on the real dialog: what
// the balloon says (its title, icon and text) and the digest box's colour,
// at Generate and on Ctrl+V, for the clipboard's texts a user copies; what
// makes the balloon and the colour go; a clipboard another program holds;
// and the verdict where no balloon can show.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h> // cmb13: the file chooser's name box
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "digest_dialog_fixture.h"
#include "drop_files.h"
#include "program_texts.h"
#include "sha_oracle.h"
#include "windows_under_test.h"

namespace {

// Where the tooltips of this thread were last told to point, seen by a hook
// on the messages sent to them.
POINT g_ptTrack = {-1, -1};

LRESULT CALLBACK WatchTooltips(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *msg = reinterpret_cast<CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && msg->message == TTM_TRACKPOSITION)
        g_ptTrack = {static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

// What the user sees after a check: the balloon (its title, icon and text;
// none shown: an empty title) and the digest box's colour.
enum class Colour { None, Green, Red };

struct Seen {
    std::wstring title;
    WPARAM icon;
    std::wstring text;
    Colour colour;
};

bool operator==(const Seen &a, const Seen &b)
{
    return a.title == b.title && a.icon == b.icon && a.text == b.text && a.colour == b.colour;
}

void PrintTo(const Seen &seen, std::ostream *os)
{
    const char *colours[] = {"no colour", "green", "red"};
    *os << "{" << testing::PrintToString(seen.title) << ", icon " << seen.icon << ", "
        << testing::PrintToString(seen.text) << ", " << colours[static_cast<int>(seen.colour)]
        << "}";
}

const Seen kNothing = {L"", TTI_NONE, L"", Colour::None};

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), ::towlower);
    return text;
}

const std::wstring kOtherMd5 = L"9E107D9D372BB6826BD81D3542A419D6";
const std::wstring kThirdMd5 = L"E4D909C290D0FB1CA068FFADDF22CBD0";

// The first length bytes of 1, 2, ... 255, 1, ...: the files sha_oracle.h
// has coreutils' digests of; and those digests in upper case (kind: 0 for
// SHA-1 to 3 for SHA-512).
std::string OracleBytes(unsigned length)
{
    std::string bytes;
    for (unsigned i = 0; i < length; i++)
        bytes += static_cast<char>(i % 255 + 1);
    return bytes;
}

std::wstring OracleSha(unsigned length, int kind)
{
    for (const ShaOracle &oracle : kShaOracle)
        if (oracle.length == length) {
            std::string sha = oracle.sha[kind];
            return std::wstring(sha.begin(), sha.end());
        }
    return L"(no such file in sha_oracle.h)";
}

std::wstring Upper(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), ::towupper);
    return text;
}

// A mismatch's text: what failed, then the value copied and the file's
// own, each of up to 64 digits to a line.
std::wstring Mismatch(const std::wstring &names, const std::wstring &copied = L"",
                      const std::wstring &file = L"")
{
    auto lines = [](const wchar_t *label, const std::wstring &value) {
        return L"\r\n" + (label + value.substr(0, 64)) +
               (value.size() > 64 ? L"\r\n" + value.substr(64) : L"");
    };
    return Filled(kMismatch, names) + (copied.empty() ? L"" : lines(kClipboardValue, copied)) +
           (file.empty() ? L"" : lines(kFileValue, file));
}

// Holds the clipboard open from another thread for ms milliseconds, as a
// clipboard manager does right after a copy; from when the constructor
// returns.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD ms) : m_hHeld(::CreateEventW(NULL, TRUE, FALSE, NULL))
    {
        m_thread = std::thread([this, ms] {
            BOOL bOpen = ::OpenClipboard(NULL);
            ::SetEvent(m_hHeld);
            ::Sleep(ms);
            if (bOpen)
                ::CloseClipboard();
        });
        ::WaitForSingleObject(m_hHeld, INFINITE);
    }
    ~ClipboardHolder()
    {
        m_thread.join();
        ::CloseHandle(m_hHeld);
    }

private:
    HANDLE m_hHeld;
    std::thread m_thread;
};

class DigestCheckTest : public DigestDialogTest {
protected:
    void SetUp() override
    {
        DigestDialogTest::SetUp();
        m_digest = DigestOf(kContent);
        m_dlg.m_strPath = ToAnsi(MakeFile(L"download.bin", kContent)).c_str();
        g_ptTrack = {-1, -1};
        m_hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, WatchTooltips, NULL, ::GetCurrentThreadId());
    }
    void TearDown() override
    {
        ::UnhookWindowsHookEx(m_hHook);
        SetClipboardText(L""); // for the tests after
        DigestDialogTest::TearDown();
    }

    HWND Balloon() const { return GuiThread().Tooltip(Main()); }

    // The colour of the brush the dialog gives the digest box when the box
    // asks, as a read-only edit box does, against the one it gave at first:
    // green or red, light, with the digits' background the same and the
    // digits dark; or none.
    Colour BoxColour()
    {
        HDC hDC = ::CreateCompatibleDC(NULL);
        HBRUSH hBrush = reinterpret_cast<HBRUSH>(
            ::SendMessageW(Main(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                           reinterpret_cast<LPARAM>(::GetDlgItem(Main(), IDC_DIGEST))));
        LOGBRUSH lb = {BS_SOLID, CLR_INVALID, 0};
        ::GetObjectW(hBrush, sizeof(lb), &lb);
        const COLORREF c = lb.lbColor, back = ::GetBkColor(hDC), text = ::GetTextColor(hDC);
        ::DeleteDC(hDC);
        if (m_plainColour == CLR_INVALID)
            m_plainColour = c; // the first time: no verdict yet
        if (c == m_plainColour)
            return Colour::None;
        EXPECT_EQ(back, c);
        EXPECT_LE(GetRValue(text) + GetGValue(text) + GetBValue(text), 0x40 * 3);
        const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        EXPECT_GE(std::min({r, g, b}), 0xC0) << "a light colour, for the digits to show";
        return g > r && g > b ? Colour::Green : r > g && r > b ? Colour::Red : Colour::None;
    }

    // The balloon and the box as they are now; the balloon pointing at the
    // digest box, at its lower edge or its upper one, and never over it.
    Seen Look()
    {
        HWND hBalloon = Balloon();
        if (hBalloon == NULL)
            return {L"", TTI_NONE, L"", BoxColour()};
        RECT box, balloon, overlap;
        ::GetWindowRect(::GetDlgItem(Main(), IDC_DIGEST), &box);
        ::GetWindowRect(hBalloon, &balloon);
        const POINT pt = g_ptTrack;
        EXPECT_TRUE(pt.x > box.left && pt.x < box.right && (pt.y == box.top || pt.y == box.bottom))
            << "points at " << pt.x << "," << pt.y;
        EXPECT_FALSE(::IntersectRect(&overlap, &box, &balloon)) << "over the digest box";
        const CToolTipCtrl &tip = m_dlg.m_balloon;
        return {tip.m_strTitle, tip.m_nTitleIcon, TextOf(hBalloon), BoxColour()};
    }

    // The script's first step: the box's colour with no verdict.
    UiScript OpenedPlain()
    {
        UiScript script = Opened();
        script.Do([this] { BoxColour(); });
        return script;
    }

    static const std::string kContent;
    std::wstring m_digest; // as the digest box shows it
    COLORREF m_plainColour = CLR_INVALID;
    HHOOK m_hHook = NULL;
};

// A file coreutils' SHA digests are known of.
const unsigned kLength = 1025;
const std::string DigestCheckTest::kContent = OracleBytes(kLength);

// Generate, with what users copy from a download page on the clipboard; and
// with no digest to show (a file that can't be read), which compares
// nothing.
TEST_F(DigestCheckTest, GenerateComparesWithTheClipboard)
{
    std::wstring pairs; // "2d 06 af ...", as certutil printed digests
    for (std::size_t i = 0; i < m_digest.size(); i += 2)
        pairs += Lower(m_digest.substr(i, 2)) + L" ";
    const std::wstring sha256 = OracleSha(kLength, 1), sha512 = OracleSha(kLength, 3);
    const std::wstring otherSha256 = OracleSha(kLength - 1, 1), otherSha512 = OracleSha(0, 3);
    const struct {
        const char *what;
        std::wstring clipboard;
        Seen seen;
    } cases[] = {
        {"an md5sum line", Lower(m_digest) + L"  download.bin\n",
         {kMatchTitle, TTI_INFO, Filled(kMatch, L"MD5"), Colour::Green}},
        {"one of several, in pairs", kOtherMd5 + L"\r\n" + pairs + L"\r\n" + kThirdMd5,
         {kMatchTitle, TTI_INFO, Filled(kMatch, L"MD5"), Colour::Green}},
        {"another MD5", L"MD5 (download.bin) = " + Lower(kOtherMd5),
         {kMismatchTitle, TTI_ERROR, Mismatch(L"MD5", kOtherMd5), Colour::Red}},
        {"two other MD5s", kOtherMd5 + L"\n" + kThirdMd5,
         {kMismatchTitle, TTI_ERROR, Mismatch(L"MD5"), Colour::Red}},
        {"its SHA-256", L"SHA256 (download.bin) = " + sha256,
         {kMatchTitle, TTI_INFO, Filled(kMatch, L"SHA-256"), Colour::Green}},
        {"its MD5 and its SHA-256", L"MD5: " + m_digest + L"\nSHA-256: " + Upper(sha256),
         {kMatchTitle, TTI_INFO, Filled(kMatch, std::wstring(L"MD5") + kListSeparator + L"SHA-256"),
          Colour::Green}},
        {"its MD5 and another SHA-256", L"MD5: " + m_digest + L"\nSHA-256: " + otherSha256,
         {kMismatchTitle, TTI_ERROR, Mismatch(L"SHA-256", Upper(otherSha256), Upper(sha256)),
          Colour::Red}},
        {"another SHA-512", otherSha512 + L" *download.bin",
         {kMismatchTitle, TTI_ERROR, Mismatch(L"SHA-512", Upper(otherSha512), Upper(sha512)),
          Colour::Red}},
        {"a SHA3-256", L"SHA3-256: " + sha256,
         {kCannotCheckTitle, TTI_WARNING, kUnsupported, Colour::None}},
        {"one digit short", L"MD5: " + m_digest.substr(1),
         {kCannotCheckTitle, TTI_WARNING, Filled(kOtherDigest, L"31"), Colour::None}},
        {"no digest", L"https://example.org/download.bin", kNothing},
        {"nothing", L"", kNothing},
    };
    UiScript script = OpenedPlain();
    script.Do([&] {
        for (const auto &c : cases) {
            SCOPED_TRACE(c.what);
            ASSERT_TRUE(SetClipboardText(c.clipboard));
            ASSERT_TRUE(ClickNow(Main(), IDC_GENERATE));
            EXPECT_EQ(DigestBox(), m_digest);
            EXPECT_EQ(Look(), c.seen);
        }
        ASSERT_TRUE(SetClipboardText(m_digest));
        ASSERT_TRUE(ClickNow(Main(), IDC_GENERATE));
        ASSERT_EQ(BoxColour(), Colour::Green);
        ASSERT_TRUE(SetClipboardText(sha256));
        ::DeleteFileW(FromAnsi(static_cast<LPCTSTR>(m_dlg.m_strPath)).c_str());
        testing::internal::CaptureStdout(); // the message that it can't be opened
        ClickNow(Main(), IDC_GENERATE);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(DigestBox(), L"");
        EXPECT_EQ(Look(), kNothing);
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

// Ctrl+V, pressed as the user presses it, whatever control has the focus:
// with no digest shown yet it pastes into the path box as it always did;
// with one, it compares, and answers a clipboard without a digest too. A V
// without Ctrl is a letter typed. With a SHA digest on the clipboard the
// file is read again, and the box shows the MD5 of that read. In the file
// chooser Ctrl+V pastes a name, as ever.
TEST_F(DigestCheckTest, CtrlVComparesOnceADigestIsShown)
{
    const std::vector<WORD> ctrlV = {VK_CONTROL, 'V'};
    const std::string changed = OracleBytes(kLength - 1);
    std::wstring path;
    auto balloonWith = [&](UINT icon) {
        return [this, icon] { return Balloon() != NULL && m_dlg.m_balloon.m_nTitleIcon == icon; };
    };
    UiScript script = OpenedPlain();
    script.Do([&] {
            path = PathBox();
            ::SetFocus(::GetDlgItem(Main(), IDC_PATH));
            ::SendDlgItemMessageW(Main(), IDC_PATH, EM_SETSEL, 0, -1);
            SetClipboardText(L"pasted " + Lower(m_digest));
            PressKeys(ctrlV);
        })
        .WaitFor("the path box to paste", [&] { return PathBox() == L"pasted " + Lower(m_digest); })
        .Do([&] {
            EXPECT_EQ(Look(), kNothing);
            SetClipboardText(L"no digest here");
            ClickNow(Main(), IDC_GENERATE);
            EXPECT_EQ(Look(), kNothing) << "Generate says nothing of such a clipboard";
            ::SetFocus(::GetDlgItem(Main(), IDC_PATH));
            ::SendDlgItemMessageW(Main(), IDC_PATH, EM_SETSEL, 0, -1);
            SetClipboardText(m_digest);
            PressKeys({'V'});
        })
        .WaitFor("a v typed", [&] { return PathBox() == L"v"; })
        .Do([&] {
            EXPECT_EQ(Look(), kNothing);
            SetClipboardText(L"no digest here");
            PressKeys(ctrlV);
        })
        .WaitFor("a warning", balloonWith(TTI_WARNING))
        .Do([&] {
            EXPECT_EQ(Look(), (Seen{kCannotCheckTitle, TTI_WARNING, kNoDigest, Colour::None}));
            EXPECT_EQ(PathBox(), L"v") << "nothing pasted";
            SetClipboardText(m_digest);
            ::SetFocus(::GetDlgItem(Main(), IDC_GENERATE));
            PressKeys(ctrlV);
        })
        .WaitFor("a match", balloonWith(TTI_INFO))
        .Do([&] {
            EXPECT_EQ(Look(), (Seen{kMatchTitle, TTI_INFO, Filled(kMatch, L"MD5"), Colour::Green}));
            // The file changed since, and its new SHA-256 copied.
            MakeFile(L"download.bin", changed);
            SetClipboardText(L"SHA-256: " + OracleSha(kLength - 1, 1));
            PressKeys(ctrlV);
        })
        .WaitFor("the file read again", [&] { return DigestBox() == DigestOf(changed); })
        .WaitFor("a match", balloonWith(TTI_INFO))
        .Do([&] {
            EXPECT_EQ(Look(), (Seen{kMatchTitle, TTI_INFO, Filled(kMatch, L"SHA-256"), Colour::Green}));
            Click(Main(), IDC_BROWSE);
        })
        .WaitFor("the file chooser", [this] { return GuiThread().FileChooser(Main()) != NULL; })
        .Do([&] {
            SetClipboardText(m_digest);
            ::SetFocus(GuiThread().Focus()); // the name box, as the chooser opens
            PressKeys(ctrlV);
        })
        .WaitFor("the name pasted", [&] {
            return ItemText(GuiThread().FileChooser(Main()), cmb13) == m_digest;
        })
        .Do([&] {
            EXPECT_EQ(Balloon(), nullptr);
            ::PostMessageW(GuiThread().FileChooser(Main()), WM_COMMAND, IDCANCEL, 0);
        })
        .WaitFor("the chooser to close", [this] { return GuiThread().FileChooser(Main()) == NULL; })
        .Do([&] { ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(Run(script), IDCANCEL);
}

// The balloon goes at a click on it, at a key, when the window moves, when
// the user goes to another window and when another file is chosen (a drop,
// Browse), which also takes the colour away; the colour alone stays until
// then.
TEST_F(DigestCheckTest, BalloonAndColourGo)
{
    const std::wstring next = MakeFile(L"next.bin", "next");
    const std::wstring last = MakeFile(L"last.bin", "last");
    const Seen match = {kMatchTitle, TTI_INFO, Filled(kMatch, L"MD5"), Colour::Green};
    const Seen mismatch = {kMismatchTitle, TTI_ERROR, Mismatch(L"MD5", m_digest), Colour::Red};
    auto generate = [this] { ASSERT_TRUE(ClickNow(Main(), IDC_GENERATE)); };
    UiScript script = OpenedPlain();
    script.Do([&] {
            ASSERT_TRUE(SetClipboardText(m_digest));
            generate();
            EXPECT_EQ(Look(), match);
            RECT r;
            ::GetWindowRect(Balloon(), &r);
            ClickAt({(r.left + r.right) / 2, r.bottom - 10}); // in its body, below the stem
        })
        .WaitFor("the clicked balloon to go", [&] { return Balloon() == NULL; })
        .Do([&] {
            EXPECT_EQ(::GetActiveWindow(), Main()) << "the click took the activation";
            EXPECT_EQ(BoxColour(), Colour::Green);
            generate();
            ASSERT_NE(Balloon(), nullptr);
            PressKeys({VK_TAB});
        })
        .WaitFor("the balloon to go at a key", [&] { return Balloon() == NULL; })
        .Do([&] {
            generate();
            RECT r;
            ::GetWindowRect(Main(), &r);
            ::SetWindowPos(Main(), NULL, r.left + 10, r.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            EXPECT_EQ(Balloon(), nullptr) << "left behind by the window";
            EXPECT_EQ(BoxColour(), Colour::Green);

            generate();
            HWND hOther = ::CreateWindowExW(0, L"Static", L"another window", WS_POPUP | WS_VISIBLE,
                                            0, 0, 100, 100, NULL, NULL, NULL, NULL);
            ::SetForegroundWindow(hOther);
            EXPECT_EQ(Balloon(), nullptr) << "left over another window";
            ::DestroyWindow(hOther);
            ::SetForegroundWindow(Main());

            generate();
            HDROP hDrop = MakeDrop({next});
            ::SendMessageW(Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
            EXPECT_EQ(PathBox(), next);
            EXPECT_EQ(Look(), kNothing);

            generate();
            EXPECT_EQ(Look(), mismatch);
        });
    Browse(script, last);
    script.Do([&] {
        EXPECT_EQ(Look(), kNothing);
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

// Near the bottom of the screen, where the balloon does not fit below the
// digest box, it points at the box's upper edge from above; never over it,
// also where it would fit below the upper edge.
TEST_F(DigestCheckTest, BalloonNeverCoversTheDigestBox)
{
    const Seen mismatch = {kMismatchTitle, TTI_ERROR, Mismatch(L"MD5", kOtherMd5), Colour::Red};
    UiScript script = OpenedPlain();
    script.Do([&] {
        RECT window, box, balloon;
        ::GetWindowRect(Main(), &window);
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        ::GetMonitorInfoW(::MonitorFromWindow(Main(), MONITOR_DEFAULTTONEAREST), &mi);
        ASSERT_TRUE(SetClipboardText(kOtherMd5));
        auto generateAt = [&](LONG top) {
            ::SetWindowPos(Main(), NULL, window.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            ::GetWindowRect(::GetDlgItem(Main(), IDC_DIGEST), &box);
            ASSERT_TRUE(ClickNow(Main(), IDC_GENERATE));
            EXPECT_EQ(Look(), mismatch);
        };
        generateAt(mi.rcWork.top);
        EXPECT_EQ(g_ptTrack.y, box.bottom) << "room below";
        ::GetWindowRect(Balloon(), &balloon);
        const LONG cyBalloon = balloon.bottom - balloon.top, cyAbove = box.top - mi.rcWork.top;
        generateAt(mi.rcWork.bottom - (window.bottom - window.top));
        EXPECT_EQ(g_ptTrack.y, box.top) << "at the bottom";
        generateAt(mi.rcMonitor.bottom - cyBalloon - cyAbove);
        EXPECT_EQ(g_ptTrack.y, box.top) << "room below the upper edge alone";
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

// Another program holding the clipboard (a clipboard manager reading what
// was just copied): a moment is waited out, seconds are told, at Generate
// and at Ctrl+V alike.
TEST_F(DigestCheckTest, BusyClipboardIsWaitedForThenTold)
{
    const Seen match = {kMatchTitle, TTI_INFO, Filled(kMatch, L"MD5"), Colour::Green};
    const Seen busy = {kCannotCheckTitle, TTI_WARNING, kClipboardBusy, Colour::None};
    std::unique_ptr<ClipboardHolder> holder;
    auto pasted = [this](UINT icon) {
        return [this, icon] { return Balloon() != NULL && m_dlg.m_balloon.m_nTitleIcon == icon; };
    };
    UiScript script = OpenedPlain();
    script.Do([&] {
            ASSERT_TRUE(SetClipboardText(m_digest));
            holder.reset(new ClipboardHolder(300));
            ASSERT_TRUE(ClickNow(Main(), IDC_GENERATE));
            EXPECT_EQ(Look(), match);
            holder.reset(new ClipboardHolder(2000));
            ASSERT_TRUE(ClickNow(Main(), IDC_GENERATE));
            EXPECT_EQ(Look(), busy);
            holder.reset(); // once it lets go

            holder.reset(new ClipboardHolder(300));
            PressKeys({VK_CONTROL, 'V'});
        })
        .WaitFor("a match", pasted(TTI_INFO))
        .Do([&] {
            EXPECT_EQ(Look(), match);
            holder.reset(new ClipboardHolder(2000));
            PressKeys({VK_CONTROL, 'V'});
        })
        .WaitFor("a warning", pasted(TTI_WARNING))
        .Do([&] {
            // Told, not taken for an empty clipboard; the colour of the
            // verdict before stays with the digest it was about.
            EXPECT_EQ(Look(), (Seen{kCannotCheckTitle, TTI_WARNING, kClipboardBusy, Colour::Green}));
            holder.reset();
            ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(Run(script), IDCANCEL);
}

// A window procedure for WH_CBT that refuses to make tooltips.
LRESULT CALLBACK RefuseTooltips(int code, WPARAM wParam, LPARAM lParam)
{
    wchar_t name[32] = L"";
    if (code == HCBT_CREATEWND &&
        ::GetClassNameW(reinterpret_cast<HWND>(wParam), name, 32) > 0 &&
        std::wstring(name) == L"tooltips_class32")
        return 1;
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

// Where no balloon can show (no tooltip could be made here; a setting can
// turn balloons off), the verdict comes in a message box over the window,
// with the same title, text and icon.
TEST_F(DigestCheckTest, WithoutABalloonTheVerdictComesInAMessageBox)
{
    HHOOK hRefuse = ::SetWindowsHookExW(WH_CBT, RefuseTooltips, NULL, ::GetCurrentThreadId());
    HWND hBox = NULL;
    UiScript script = OpenedPlain();
    script.Do([&] {
            EXPECT_EQ(m_dlg.m_balloon.m_hWnd, nullptr);
            ASSERT_TRUE(SetClipboardText(kOtherMd5));
            Click(Main(), IDC_GENERATE); // posted: the message box has a loop of its own
        })
        .WaitFor("a message box", [&] { return (hBox = GuiThread().OwnedWindow(Main())) != NULL; })
        .Do([&] {
            EXPECT_EQ(TextOf(hBox), kMismatchTitle);
            std::wstring text;
            HICON hIcon = NULL;
            for (HWND hItem : VisibleDescendants(hBox)) {
                if ((::GetWindowLongW(hItem, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                    hIcon = reinterpret_cast<HICON>(::SendMessageW(hItem, STM_GETICON, 0, 0));
                else if (TextOf(hItem).find(kClipboardValue) != std::wstring::npos)
                    text = TextOf(hItem);
            }
            EXPECT_EQ(text, Mismatch(L"MD5", kOtherMd5));
            EXPECT_EQ(hIcon, ::LoadIconW(NULL, MAKEINTRESOURCEW(32513))); // IDI_ERROR
            ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
        })
        .WaitFor("the message box to close", [&] { return !::IsWindow(hBox); })
        .Do([&] {
            EXPECT_EQ(BoxColour(), Colour::Red);
            ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(Run(script), IDCANCEL);
    ::UnhookWindowsHookEx(hRefuse);
}

} // namespace
