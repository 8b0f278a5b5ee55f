// The digest compared with the MD5 the user copied, on the real dialog: what
// the balloon says (its title, icon and text) and the digest box's colour,
// at Generate and on Ctrl+V, for the clipboard's texts a user copies; and
// what makes the balloon and the colour go.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h> // cmb13: the file chooser's name box
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "digest_dialog_fixture.h"
#include "drop_files.h"
#include "program_texts.h"
#include "windows_under_test.h"

namespace {

// What the tooltips of this thread were last told, seen by a hook on the
// messages sent to them: their title and icon (which Wine does not give
// back) and where to point.
struct {
    std::wstring title;
    WPARAM icon = TTI_NONE;
    POINT ptTrack = {-1, -1};
} g_told;

LRESULT CALLBACK WatchTooltips(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *msg = reinterpret_cast<CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && msg->message == TTM_SETTITLEA) {
        g_told.title = FromAnsi(reinterpret_cast<const char *>(msg->lParam));
        g_told.icon = msg->wParam;
    } else if (code == HC_ACTION && msg->message == TTM_TRACKPOSITION) {
        g_told.ptTrack = {static_cast<short>(LOWORD(msg->lParam)),
                          static_cast<short>(HIWORD(msg->lParam))};
    }
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

std::wstring OtherDigest(int digits)
{
    std::wstring text = kOtherDigest;
    return text.replace(text.find(L"%d"), 2, std::to_wstring(digits));
}

const std::wstring kOtherMd5 = L"9E107D9D372BB6826BD81D3542A419D6";
const std::wstring kThirdMd5 = L"E4D909C290D0FB1CA068FFADDF22CBD0";
const std::wstring kSha256 = L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

class DigestCheckTest : public DigestDialogTest {
protected:
    void SetUp() override
    {
        DigestDialogTest::SetUp();
        m_digest = DigestOf(kContent);
        m_dlg.m_strPath = ToAnsi(MakeFile(L"download.bin", kContent)).c_str();
        g_told = {};
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
    // digest box, at its lower edge.
    Seen Look()
    {
        HWND hBalloon = Balloon();
        if (hBalloon == NULL)
            return {L"", TTI_NONE, L"", BoxColour()};
        RECT box;
        ::GetWindowRect(::GetDlgItem(Main(), IDC_DIGEST), &box);
        const POINT pt = g_told.ptTrack;
        EXPECT_TRUE(pt.x > box.left && pt.x < box.right && pt.y >= box.top && pt.y <= box.bottom)
            << "points at " << pt.x << "," << pt.y;
        return {g_told.title, g_told.icon, TextOf(hBalloon), BoxColour()};
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

const std::string DigestCheckTest::kContent = "The file the user downloaded\r\n";

// Generate, with what users copy from a download page on the clipboard; and
// with no digest to show (a file that can't be read), which compares
// nothing.
TEST_F(DigestCheckTest, GenerateComparesWithTheClipboard)
{
    std::wstring pairs; // "2d 06 af ...", as certutil printed digests
    for (std::size_t i = 0; i < m_digest.size(); i += 2)
        pairs += Lower(m_digest.substr(i, 2)) + L" ";
    const std::wstring mismatchOne = std::wstring(kMismatch) + L"\r\n" + kClipboardMd5 + kOtherMd5;
    const struct {
        const char *what;
        std::wstring clipboard;
        Seen seen;
    } cases[] = {
        {"an md5sum line", Lower(m_digest) + L"  download.bin\n",
         {kMatchTitle, TTI_INFO, kMatch, Colour::Green}},
        {"one of several, in pairs", kOtherMd5 + L"\r\n" + pairs + L"\r\n" + kThirdMd5,
         {kMatchTitle, TTI_INFO, kMatch, Colour::Green}},
        {"another MD5", L"MD5 (download.bin) = " + Lower(kOtherMd5),
         {kMismatchTitle, TTI_ERROR, mismatchOne, Colour::Red}},
        {"the same other MD5 twice", kOtherMd5 + L" " + Lower(kOtherMd5),
         {kMismatchTitle, TTI_ERROR, mismatchOne, Colour::Red}},
        {"two other MD5s", kOtherMd5 + L"\n" + kThirdMd5,
         {kMismatchTitle, TTI_ERROR, kMismatch, Colour::Red}},
        {"a SHA-256", L"SHA-256: " + kSha256,
         {kCannotCheckTitle, TTI_WARNING, OtherDigest(64), Colour::None}},
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
        ASSERT_TRUE(SetClipboardText(kOtherMd5));
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
// with one, it compares, and answers a clipboard without an MD5 too. In the
// file chooser it pastes a name, as ever.
TEST_F(DigestCheckTest, CtrlVComparesOnceADigestIsShown)
{
    const std::vector<WORD> ctrlV = {VK_CONTROL, 'V'};
    std::wstring path;
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
            PressKeys(ctrlV);
        })
        .WaitFor("a balloon", [&] { return Balloon() != NULL; })
        .Do([&] {
            EXPECT_EQ(Look(), (Seen{kCannotCheckTitle, TTI_WARNING, kNoMd5, Colour::None}));
            EXPECT_EQ(PathBox(), path) << "nothing pasted";
            SetClipboardText(m_digest);
            ::SetFocus(::GetDlgItem(Main(), IDC_GENERATE));
            PressKeys(ctrlV);
        })
        .WaitFor("a match", [&] { return g_told.icon == TTI_INFO && Balloon() != NULL; })
        .Do([&] {
            EXPECT_EQ(Look(), (Seen{kMatchTitle, TTI_INFO, kMatch, Colour::Green}));
            SetClipboardText(kSha256);
            PressKeys(ctrlV);
        })
        .WaitFor("a warning", [&] { return g_told.icon == TTI_WARNING && Balloon() != NULL; })
        .Do([&] {
            EXPECT_EQ(Look(), (Seen{kCannotCheckTitle, TTI_WARNING, OtherDigest(64), Colour::None}));
            EXPECT_EQ(PathBox(), path);
            Click(Main(), IDC_BROWSE);
        })
        // In the file chooser Ctrl+V is the chooser's: it pastes a name.
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

// The balloon goes at a click on it, when the window moves, when the user
// goes to another window and when another file is chosen (a drop, Browse),
// which also takes the colour away; the colour alone stays until then.
TEST_F(DigestCheckTest, BalloonAndColourGo)
{
    const std::wstring next = MakeFile(L"next.bin", "next");
    const std::wstring last = MakeFile(L"last.bin", "last");
    const Seen match = {kMatchTitle, TTI_INFO, kMatch, Colour::Green};
    const Seen mismatch = {kMismatchTitle, TTI_ERROR,
                           std::wstring(kMismatch) + L"\r\n" + kClipboardMd5 + m_digest, Colour::Red};
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

} // namespace
