// Vorkel.exe end to end: started as its own process with arguments it must
// ignore, driven through its windows from this one (the clipboard set from
// here too), ended in each of the ways a user ends it.
#include <windows.h>

#include <afxres.h> // ID_HELP

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_inputs.h"
#include "program_texts.h"
#include "resource.h"
#include "resource_reader.h"
#include "vorkel_process.h"

namespace {

const DWORD kExitTimeoutMs = 5000;

// Options, a quoted path with blanks, a Chinese word, and a sample file
// itself: the program takes nothing from its command line, so none of these
// may show in its boxes or be hashed.
std::wstring IgnoredArguments()
{
    return L"/p -h --help \"C:\\no such\\file.txt\" 参数 \"" + Inputs().samples[0].path + L"\"";
}

class VorkelTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_vorkel.Start(Inputs().vorkelExe, IgnoredArguments()));
        EXPECT_EQ(m_vorkel.ItemText(IDC_PATH), L"");
        EXPECT_EQ(m_vorkel.ItemText(IDC_DIGEST), L"");
    }

    // The program ends within a few seconds, with exit code 0.
    void ExpectExitCodeZero()
    {
        DWORD exitCode = 0;
        ASSERT_TRUE(m_vorkel.Exited(kExitTimeoutMs, exitCode))
            << "still running " << kExitTimeoutMs << " ms later";
        EXPECT_EQ(exitCode, 0u);
    }

    // The program's visible top-level windows, in a stable order.
    std::vector<HWND> TopLevelWindows() const
    {
        std::vector<HWND> windows = m_vorkel.Gui().Windows();
        std::sort(windows.begin(), windows.end());
        return windows;
    }

    VorkelProcess m_vorkel;
};

TEST_F(VorkelTest, GenerateBeforeBrowseReportsTheEmptyPath)
{
    ASSERT_TRUE(ClickNow(m_vorkel.Main(), IDC_GENERATE));
    EXPECT_EQ(m_vorkel.ItemText(IDC_DIGEST), L"");
    EXPECT_EQ(m_vorkel.ItemText(IDC_PATH), L"");

    ::PostMessageW(m_vorkel.Main(), WM_CLOSE, 0, 0);
    ExpectExitCodeZero();
    // Written through the C runtime's text-mode stream, which may make the
    // line break CR LF.
    std::string output = m_vorkel.Output();
    EXPECT_TRUE(output == " can't be opened\n" || output == " can't be opened\r\n")
        << "standard output: " << testing::PrintToString(output);
}

// A user's session: a file chosen, its digest shown; the About box and the
// help command change nothing of it.
TEST_F(VorkelTest, DigestOfTheChosenFileThroughAboutAndHelp)
{
    const Sample &sample = Inputs().samples[0];
    ASSERT_TRUE(m_vorkel.Browse(sample.path));
    EXPECT_EQ(m_vorkel.ItemText(IDC_DIGEST), L"");
    ASSERT_TRUE(ClickNow(m_vorkel.Main(), IDC_GENERATE));
    EXPECT_EQ(m_vorkel.ItemText(IDC_DIGEST), ShownDigest(sample.digest));
    EXPECT_EQ(m_vorkel.ItemText(IDC_PATH), sample.path);
    const std::vector<HWND> windows = TopLevelWindows();

    // The About box: modal over the main window, which is its owner.
    ::PostMessageW(m_vorkel.Main(), WM_SYSCOMMAND, IDM_ABOUT, 0);
    HWND hAbout = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        hAbout = m_vorkel.Gui().OwnedWindow(m_vorkel.Main());
        return hAbout != NULL;
    })) << "no About box owned by the main window";
    EXPECT_EQ(TextOf(hAbout), kAboutCaption);
    EXPECT_FALSE(::IsWindowEnabled(m_vorkel.Main()));
    ::PostMessageW(hAbout, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return !::IsWindow(hAbout) && ::IsWindowEnabled(m_vorkel.Main()); }));

    // The help command: the program has no help to show, and shows nothing
    // (a message box would also keep the sender waiting).
    ASSERT_TRUE(Send(m_vorkel.Main(), WM_COMMAND, ID_HELP, 0));
    EXPECT_EQ(TopLevelWindows(), windows);

    EXPECT_EQ(TextOf(m_vorkel.Main()), kMainCaption);
    EXPECT_EQ(m_vorkel.ItemText(IDC_PATH), sample.path);
    EXPECT_EQ(m_vorkel.ItemText(IDC_DIGEST), ShownDigest(sample.digest));

    ::PostMessageW(m_vorkel.Main(), WM_CLOSE, 0, 0);
    ExpectExitCodeZero();
    EXPECT_EQ(m_vorkel.Output(), ""); // a message only when a file cannot be opened
}

// The digest compared with an MD5 that another program put on the
// clipboard, as a browser does when the user copies it from the download
// page: at Generate, and again at Ctrl+V once the user has copied another.
TEST_F(VorkelTest, ComparesTheDigestWithTheMd5OnTheClipboard)
{
    const Sample &sample = Inputs().samples[0];
    const std::wstring other = L"9E107D9D372BB6826BD81D3542A419D6";
    auto balloonText = [this] {
        HWND hBalloon = m_vorkel.Gui().Tooltip(m_vorkel.Main());
        return hBalloon != NULL ? TextOf(hBalloon) : L"(none)";
    };
    ASSERT_TRUE(SetClipboardText(L"MD5 (download) = " + FromAnsi(sample.digest)));
    ASSERT_TRUE(m_vorkel.Browse(sample.path));
    ASSERT_TRUE(ClickNow(m_vorkel.Main(), IDC_GENERATE));
    EXPECT_EQ(m_vorkel.ItemText(IDC_DIGEST), ShownDigest(sample.digest));
    EXPECT_TRUE(WaitUntil([&] { return balloonText() == Filled(kMatch, L"MD5"); }))
        << ToUtf8(balloonText());

    ASSERT_TRUE(SetClipboardText(other));
    PressKeys({VK_CONTROL, 'V'});
    const std::wstring mismatch = Filled(kMismatch, L"MD5") + L"\r\n" + kClipboardValue + other;
    EXPECT_TRUE(WaitUntil([&] { return balloonText() == mismatch; })) << ToUtf8(balloonText());
    EXPECT_EQ(m_vorkel.ItemText(IDC_PATH), sample.path) << "nothing pasted";

    SetClipboardText(L"");
    ::PostMessageW(m_vorkel.Main(), WM_CLOSE, 0, 0);
    ExpectExitCodeZero();
}

// Files named in any script, and at a deep path of more than 260 bytes: each
// chosen through the chooser and hashed as md5sum hashes it.
TEST_F(VorkelTest, EverySampleIsHashedAsMd5sumHashesIt)
{
    for (const Sample &sample : Inputs().samples) {
        SCOPED_TRACE(testing::PrintToString(sample.path));
        ASSERT_TRUE(m_vorkel.Browse(sample.path));
        EXPECT_EQ(m_vorkel.ItemText(IDC_DIGEST), L"");
        ASSERT_TRUE(ClickNow(m_vorkel.Main(), IDC_GENERATE));
        EXPECT_EQ(m_vorkel.ItemText(IDC_DIGEST), ShownDigest(sample.digest));
    }
    ::PostMessageW(m_vorkel.Main(), WM_CLOSE, 0, 0);
    ExpectExitCodeZero();
    EXPECT_EQ(m_vorkel.Output(), "");
}

// The same files dropped on the window from inside the program's process
// (drop_hook.cpp), as Explorer drops them.
TEST_F(VorkelTest, EverySampleDroppedOnTheWindowIsHashed)
{
    EXPECT_TRUE(::GetWindowLongW(m_vorkel.Main(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    for (const Sample &sample : Inputs().samples) {
        SCOPED_TRACE(testing::PrintToString(sample.path));
        ASSERT_TRUE(m_vorkel.Drop(Inputs().dropHook, {sample.path}));
        ASSERT_TRUE(WaitUntil([&] { return m_vorkel.ItemText(IDC_PATH) == sample.path; }))
            << "the path box shows " << testing::PrintToString(m_vorkel.ItemText(IDC_PATH));
        ASSERT_TRUE(ClickNow(m_vorkel.Main(), IDC_GENERATE));
        EXPECT_EQ(m_vorkel.ItemText(IDC_DIGEST), ShownDigest(sample.digest));
    }
    ::PostMessageW(m_vorkel.Main(), WM_CLOSE, 0, 0);
    ExpectExitCodeZero();
}

TEST(Samples, OneIsAtAPathOfMoreThan260BytesButFewerThan260Characters)
{
    std::wstring longest;
    for (const Sample &sample : Inputs().samples)
        longest = std::max(longest, sample.path, [](const std::wstring &a, const std::wstring &b) {
            return a.size() < b.size();
        });
    EXPECT_GT(ToUtf8(longest).size(), 260u);
    EXPECT_LT(longest.size(), 260u); // the most Wine's chooser takes is 259
}

// The texts of both windows are the templates' own, whatever the locale's
// code page: none comes through as '?'.
TEST_F(VorkelTest, WindowTextsAreTheTemplatesOwn)
{
    HMODULE hExe = ::LoadLibraryExW(Inputs().vorkelExe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(hExe, nullptr);
    auto expectTexts = [hExe](HWND hDlg, int nIDTemplate) {
        DialogTemplate dlg = LoadDialogTemplate(hExe, nIDTemplate);
        ASSERT_FALSE(dlg.items.empty());
        EXPECT_EQ(TextOf(hDlg), dlg.caption);
        // Labels have no ID of their own: they are found in tab order.
        std::vector<HWND> controls = Controls(hDlg);
        ASSERT_EQ(controls.size(), dlg.items.size());
        for (std::size_t i = 0; i < controls.size(); i++) {
            const DialogItem &item = dlg.items[i];
            if (item.text.empty() || item.text[0] != L'#') { // not an icon's ordinal
                EXPECT_EQ(TextOf(controls[i]), item.text) << item;
            }
        }
    };
    expectTexts(m_vorkel.Main(), IDD_MAIN);

    ::PostMessageW(m_vorkel.Main(), WM_SYSCOMMAND, IDM_ABOUT, 0);
    HWND hAbout = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (hAbout = m_vorkel.Gui().OwnedWindow(m_vorkel.Main())) != NULL; }));
    expectTexts(hAbout, IDD_ABOUT);
    ::PostMessageW(hAbout, WM_COMMAND, IDOK, 0);
    ::FreeLibrary(hExe);

    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(m_vorkel.Main()) != FALSE; }));
    ::PostMessageW(m_vorkel.Main(), WM_CLOSE, 0, 0);
    ExpectExitCodeZero();
}

// The ways of ending the program; each in a fresh one.
struct Ending {
    const char *name;
    std::function<void(VorkelProcess &)> end;
};

void PrintTo(const Ending &ending, std::ostream *os)
{
    *os << ending.name;
}

class VorkelEnds : public VorkelTest, public testing::WithParamInterface<Ending> {};

// A key in the path box, which has the focus from the start.
void PressInThePathBox(VorkelProcess &vorkel, UINT vk)
{
    ASSERT_TRUE(WaitUntil([&] { return vorkel.Gui().Focus() == vorkel.Item(IDC_PATH); }))
        << "the focus is in control " << ::GetDlgCtrlID(vorkel.Gui().Focus())
        << ", not the path box";
    vorkel.Gui().PressKey(vk);
}

const Ending kEndings[] = {
    {"EnterInThePathBox", [](VorkelProcess &vorkel) { PressInThePathBox(vorkel, VK_RETURN); }},
    {"Esc", [](VorkelProcess &vorkel) { PressInThePathBox(vorkel, VK_ESCAPE); }},
    {"CloseCommand",
     [](VorkelProcess &vorkel) { ::PostMessageW(vorkel.Main(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"CloseBox", [](VorkelProcess &vorkel) { ::PostMessageW(vorkel.Main(), WM_CLOSE, 0, 0); }},
};

TEST_P(VorkelEnds, WithExitCodeZero)
{
    ASSERT_NO_FATAL_FAILURE(GetParam().end(m_vorkel));
    ExpectExitCodeZero();
    EXPECT_EQ(m_vorkel.Output(), "");
}

INSTANTIATE_TEST_SUITE_P(Vorkel, VorkelEnds, testing::ValuesIn(kEndings),
                         [](const testing::TestParamInfo<Ending> &info) {
                             return info.param.name;
                         });

} // namespace
