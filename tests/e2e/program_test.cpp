// Vorkel.exe end to end: started as its own process with arguments it must
// ignore, driven through its windows from this one, ended in each of the
// ways a user ends it.
#include <windows.h>

#include <dlgs.h> // cmb13: the file name box of Wine's file chooser

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "vorkel_process.h"

namespace {

// The identifiers of the program's controls and commands.
const int kPathBox = 1000;
const int kDigestBox = 1001;
const int kBrowse = 1002;
const int kGenerate = 1003;
const WPARAM kAboutCommand = 0x0010; // the About item of the system menu
const WPARAM kHelpCommand = 0xE146;  // ID_HELP

const DWORD kExitTimeoutMs = 5000;

// Options, a quoted path with blanks, a Chinese word, and the sample file
// itself: the program takes nothing from its command line, so none of these
// may show in its boxes or be hashed.
std::wstring IgnoredArguments()
{
    return L"/p -h --help \"C:\\no such\\file.txt\" 参数 \"" + Inputs().sampleFile + L"\"";
}

// A click handled before this returns: for buttons that open no modal loop.
bool ClickNow(HWND hButton)
{
    return Send(hButton, BM_CLICK, 0, 0);
}

class VorkelTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_vorkel.Start(IgnoredArguments()));
        EXPECT_EQ(m_vorkel.ItemText(kPathBox), L"");
        EXPECT_EQ(m_vorkel.ItemText(kDigestBox), L"");
    }

    // Browse, the sample's path typed into the real file chooser, Open.
    void BrowseToTheSample()
    {
        ::PostMessageW(m_vorkel.Item(kBrowse), BM_CLICK, 0, 0);
        HWND hChooser = NULL;
        ASSERT_TRUE(WaitUntil([&] {
            hChooser = m_vorkel.OwnedWindow();
            return hChooser != NULL && ::GetDlgItem(hChooser, cmb13) != NULL;
        })) << "no file chooser owned by the main window";
        ASSERT_TRUE(Send(::GetDlgItem(hChooser, cmb13), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(Inputs().sampleFile.c_str())));
        ::PostMessageW(hChooser, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return m_vorkel.ItemText(kPathBox) == Inputs().sampleFile; }))
            << "path box: " << testing::PrintToString(m_vorkel.ItemText(kPathBox));
        EXPECT_TRUE(WaitUntil([&] { return m_vorkel.OwnedWindow() == NULL; }));
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
        std::vector<HWND> windows = m_vorkel.Windows();
        std::sort(windows.begin(), windows.end());
        return windows;
    }

    VorkelProcess m_vorkel;
};

TEST_F(VorkelTest, GenerateBeforeBrowseReportsTheEmptyPath)
{
    ASSERT_TRUE(ClickNow(m_vorkel.Item(kGenerate)));
    EXPECT_EQ(m_vorkel.ItemText(kDigestBox), L"");
    EXPECT_EQ(m_vorkel.ItemText(kPathBox), L"");

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
    ASSERT_NO_FATAL_FAILURE(BrowseToTheSample());
    EXPECT_EQ(m_vorkel.ItemText(kDigestBox), L"");
    ASSERT_TRUE(ClickNow(m_vorkel.Item(kGenerate)));
    EXPECT_EQ(m_vorkel.ItemText(kDigestBox), Inputs().sampleDigest);
    EXPECT_EQ(m_vorkel.ItemText(kPathBox), Inputs().sampleFile);
    const std::vector<HWND> windows = TopLevelWindows();

    // The About box: modal over the main window, which is its owner.
    ::PostMessageW(m_vorkel.Main(), WM_SYSCOMMAND, kAboutCommand, 0);
    HWND hAbout = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        hAbout = m_vorkel.OwnedWindow();
        return hAbout != NULL;
    })) << "no About box owned by the main window";
    EXPECT_EQ(TextOf(hAbout), L"关于 Vorkel");
    EXPECT_FALSE(::IsWindowEnabled(m_vorkel.Main()));
    ::PostMessageW(hAbout, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return !::IsWindow(hAbout) && ::IsWindowEnabled(m_vorkel.Main()); }));

    // The help command: the program has no help to show, and shows nothing
    // (a message box would also keep the sender waiting).
    ASSERT_TRUE(Send(m_vorkel.Main(), WM_COMMAND, kHelpCommand, 0));
    EXPECT_EQ(TopLevelWindows(), windows);

    EXPECT_EQ(TextOf(m_vorkel.Main()), kMainCaption);
    EXPECT_EQ(m_vorkel.ItemText(kPathBox), Inputs().sampleFile);
    EXPECT_EQ(m_vorkel.ItemText(kDigestBox), Inputs().sampleDigest);

    ::PostMessageW(m_vorkel.Main(), WM_CLOSE, 0, 0);
    ExpectExitCodeZero();
    EXPECT_EQ(m_vorkel.Output(), ""); // a message only when a file cannot be opened
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
    ASSERT_TRUE(WaitUntil([&] { return vorkel.Focus() == vorkel.Item(kPathBox); }))
        << "the focus is in control " << ::GetDlgCtrlID(vorkel.Focus()) << ", not the path box";
    vorkel.PressKey(vk);
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
