// The digest dialog's Browse and Generate as a user drives them: which file
// is hashed, what the boxes show, what goes to standard output, and the keys
// that end the dialog.
#include <windows.h>

#include <dlgs.h> // cmb1, cmb13: the file chooser's filter and file name boxes
#include <gtest/gtest.h>

#include <vector>

#include "digest_dialog_fixture.h"
#include "windows_under_test.h"

namespace {

// Whatever a Generate click writes to standard output.
std::string GenerateCapturingOutput(HWND hDlg)
{
    testing::internal::CaptureStdout();
    ClickNow(hDlg, IDC_GENERATE);
    return testing::internal::GetCapturedStdout();
}

TEST_F(DigestDialogTest, GenerateBeforeBrowseHashesTheEmptyPath)
{
    std::string output;
    UiScript script = Opened();
    script.Do([&] { output = GenerateCapturingOutput(Main()); })
        .Do([this] {
            EXPECT_EQ(PathBox(), L"");
            EXPECT_EQ(DigestBox(), L"");
            ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(output, " can't be opened\n");
}

TEST_F(DigestDialogTest, BrowseChoosesGenerateHashes)
{
    const std::string first = "The quick brown fox jumps over the lazy dog";
    const std::string second(3000, '\x80'); // several reads, bytes above 0x7F
    std::string firstPath = WriteFile(L"first.bin", first);
    std::string secondPath = WriteFile(L"second.bin", second);

    UiScript script = Opened();
    Browse(script, firstPath);
    script.Do([this] { EXPECT_EQ(DigestBox(), L""); })
        .Do([&] {
            ClickNow(Main(), IDC_GENERATE);
            EXPECT_EQ(DigestBox(), L"9E107D9D372BB6826BD81D3542A419D6");
            EXPECT_EQ(DigestBox(), ExpectedDigest(first));
            ClickNow(Main(), IDC_GENERATE); // again: the same
            EXPECT_EQ(DigestBox(), ExpectedDigest(first));
            EXPECT_EQ(PathBox(), FromAnsi(firstPath));
        });

    // A chooser cancelled changes nothing.
    script.Do([this] { Click(Main(), IDC_BROWSE); })
        .WaitFor("the file chooser", [this] { return FindFileChooser(Main()) != NULL; })
        .Do([this] { Click(FindFileChooser(Main()), IDCANCEL); })
        .WaitFor("the chooser to close", [this] { return FindFileChooser(Main()) == NULL; })
        .Do([&] {
            EXPECT_EQ(PathBox(), FromAnsi(firstPath));
            EXPECT_EQ(DigestBox(), ExpectedDigest(first));
        });

    // Another file: the old digest goes at once.
    Browse(script, secondPath);
    script.Do([&] {
        EXPECT_EQ(DigestBox(), L"");
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), ExpectedDigest(second));
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, EmptyFile)
{
    std::string path = WriteFile(L"empty", "");
    UiScript script = Opened();
    Browse(script, path);
    script.Do([this] {
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), L"D41D8CD98F00B204E9800998ECF8427E");
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, TextTypedIntoThePathBoxIsNotUsed)
{
    std::string chosen = WriteFile(L"chosen.txt", "chosen\r\n");
    std::string typed = WriteFile(L"typed.txt", "typed\r\n");
    UiScript script = Opened();
    Browse(script, chosen);
    script.Do([&] {
        ::SetDlgItemTextA(Main(), IDC_PATH, typed.c_str());
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), ExpectedDigest("chosen\r\n"));
        EXPECT_EQ(PathBox(), FromAnsi(chosen));
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, FileDeletedAfterBrowse)
{
    std::string path = WriteFile(L"gone.bin", "soon gone");
    std::string output;
    UiScript script = Opened();
    Browse(script, path);
    script.Do([&] {
        ClickNow(Main(), IDC_GENERATE);
        ASSERT_EQ(DigestBox(), ExpectedDigest("soon gone"));
        ::DeleteFileA(path.c_str());
        output = GenerateCapturingOutput(Main());
        EXPECT_EQ(DigestBox(), L"");
        EXPECT_EQ(PathBox(), FromAnsi(path));
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(output, path + " can't be opened\n");
}

TEST_F(DigestDialogTest, ChineseFileName)
{
    // The chooser gives the path in code page 936, and that is how it is
    // opened.
    std::string path = WriteFile(L"校验文件.bin", "中文");
    ASSERT_NE(path.find(ToAnsi(L"校验文件")), std::string::npos);
    UiScript script = Opened();
    Browse(script, path);
    script.Do([this] {
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), ExpectedDigest("\xE4\xB8\xAD\xE6\x96\x87")); // UTF-8 bytes
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, TheChooserOffersExecutables)
{
    std::string tool = WriteFile(L"tool.exe", "MZ");
    std::wstring initialName;
    std::vector<std::wstring> filters;
    UiScript script = Opened();
    script.Do([this] { Click(Main(), IDC_BROWSE); })
        .WaitFor("the file chooser", [this] { return FindFileChooser(Main()) != NULL; })
        .Do([&] {
            HWND hChooser = FindFileChooser(Main());
            initialName = ItemText(hChooser, cmb13);
            HWND hFilters = ::GetDlgItem(hChooser, cmb1);
            for (int i = 0; i < ::SendMessageW(hFilters, CB_GETCOUNT, 0, 0); i++) {
                wchar_t text[64] = L"";
                ::SendMessageW(hFilters, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                filters.push_back(text);
            }
            AnswerFileChooser(hChooser, tool);
        })
        .WaitFor("the path box to show the choice", [&] { return PathBox() == FromAnsi(tool); })
        .Do([this] { ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(initialName, L"*.exe");
    EXPECT_EQ(filters, (std::vector<std::wstring>{L"Exe files(*.exe)", L"All files(*.*)"}));
}

TEST_F(DigestDialogTest, EnterInThePathBoxEndsTheDialog)
{
    UiScript script = Opened();
    script.Do([this] {
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(Main(), IDC_PATH)) << "the focus starts there";
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(Run(script), IDOK);
}

TEST_F(DigestDialogTest, EscEndsTheDialog)
{
    UiScript script = Opened();
    script.Do([] { PressKey(VK_ESCAPE); });
    EXPECT_EQ(Run(script), IDCANCEL);
}

} // namespace
