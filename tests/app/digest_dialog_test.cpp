// The digest dialog's Browse and Generate as a user drives them: which file
// is hashed, what the boxes show, what goes to standard output, and the keys
// that end the dialog.
#include <windows.h>

#include <dlgs.h> // cmb1, cmb13: the file chooser's filter and file name boxes
#include <gtest/gtest.h>

#include <vector>

#include "digest_dialog_fixture.h"
#include "program_texts.h"
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
    std::wstring firstPath = MakeFile(L"first.bin", first);
    std::wstring secondPath = MakeFile(L"second.bin", second);

    UiScript script = Opened();
    Browse(script, firstPath);
    script.Do([this] { EXPECT_EQ(DigestBox(), L""); })
        .Do([&] {
            ClickNow(Main(), IDC_GENERATE);
            EXPECT_EQ(DigestBox(), ShownDigest("9e107d9d372bb6826bd81d3542a419d6"));
            EXPECT_EQ(DigestBox(), DigestOf(first));
            ClickNow(Main(), IDC_GENERATE); // again: the same
            EXPECT_EQ(DigestBox(), DigestOf(first));
            EXPECT_EQ(PathBox(), firstPath);
        });

    // A chooser cancelled changes nothing.
    script.Do([this] { Click(Main(), IDC_BROWSE); })
        .WaitFor("the file chooser", [this] { return GuiThread().FileChooser(Main()) != NULL; })
        .Do([this] { Click(GuiThread().FileChooser(Main()), IDCANCEL); })
        .WaitFor("the chooser to close", [this] { return GuiThread().FileChooser(Main()) == NULL; })
        .Do([&] {
            EXPECT_EQ(PathBox(), firstPath);
            EXPECT_EQ(DigestBox(), DigestOf(first));
        });

    // Another file: the old digest goes at once.
    Browse(script, secondPath);
    script.Do([&] {
        EXPECT_EQ(DigestBox(), L"");
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), DigestOf(second));
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, EmptyFile)
{
    std::wstring path = MakeFile(L"empty", "");
    UiScript script = Opened();
    Browse(script, path);
    script.Do([this] {
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), ShownDigest("d41d8cd98f00b204e9800998ecf8427e"));
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, TextTypedIntoThePathBoxIsNotUsed)
{
    std::wstring chosen = MakeFile(L"chosen.txt", "chosen\r\n");
    std::wstring typed = MakeFile(L"typed.txt", "typed\r\n");
    UiScript script = Opened();
    Browse(script, chosen);
    script.Do([&] {
        ::SetDlgItemTextW(Main(), IDC_PATH, typed.c_str());
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), DigestOf("chosen\r\n"));
        EXPECT_EQ(PathBox(), chosen);
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, FileDeletedAfterBrowse)
{
    std::wstring path = MakeFile(L"gone.bin", "soon gone");
    std::string output;
    UiScript script = Opened();
    Browse(script, path);
    script.Do([&] {
        ClickNow(Main(), IDC_GENERATE);
        ASSERT_EQ(DigestBox(), DigestOf("soon gone"));
        ::DeleteFileW(path.c_str());
        output = GenerateCapturingOutput(Main());
        EXPECT_EQ(DigestBox(), L"");
        EXPECT_EQ(PathBox(), path);
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(output, ToAnsi(path) + " can't be opened\n");
}

// Names in Chinese, in other scripts, with letters and signs that double-byte
// code pages lack, and a deep path of more than 260 bytes: under the UTF-8
// code page every one reaches the chooser, the path box and fopen intact.
TEST_F(DigestDialogTest, FilesNamedInAnyScript)
{
    // Folders of 40 Chinese characters: the path comes to about 220
    // characters (the chooser takes up to 259) and over 500 bytes.
    std::wstring folder(40, L'深');
    std::wstring deep = folder + L"\\" + folder + L"\\" + folder + L"\\" + folder + L"\\文件.bin";
    const std::vector<std::wstring> names = {
        L"校验文件.bin", L"한국어 파일.bin", L"emoji \U0001F600.bin", L"Straße łódź.bin", deep};
    std::vector<std::wstring> paths;
    for (const std::wstring &name : names)
        paths.push_back(MakeFile(name, ToAnsi(name))); // each file a content of its own
    ASSERT_GT(ToAnsi(paths.back()).size(), 260u);
    ASSERT_LT(paths.back().size(), 260u);

    UiScript script = Opened();
    for (std::size_t i = 0; i < names.size(); i++) {
        Browse(script, paths[i]);
        script.Do([this, &names, i] {
            ClickNow(Main(), IDC_GENERATE);
            EXPECT_EQ(DigestBox(), DigestOf(ToAnsi(names[i]))) << ToAnsi(names[i]);
        });
    }
    script.Do([this] { ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, TheChooserOffersExecutables)
{
    std::wstring tool = MakeFile(L"tool.exe", "MZ");
    std::wstring initialName;
    std::vector<std::wstring> filters;
    UiScript script = Opened();
    script.Do([this] { Click(Main(), IDC_BROWSE); })
        .WaitFor("the file chooser", [this] { return GuiThread().FileChooser(Main()) != NULL; })
        .Do([&] {
            HWND hChooser = GuiThread().FileChooser(Main());
            initialName = ItemText(hChooser, cmb13);
            HWND hFilters = ::GetDlgItem(hChooser, cmb1);
            for (int i = 0; i < ::SendMessageW(hFilters, CB_GETCOUNT, 0, 0); i++) {
                wchar_t text[64] = L"";
                ::SendMessageW(hFilters, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                filters.push_back(text);
            }
            AnswerFileChooser(hChooser, tool);
        })
        .WaitFor("the path box to show the choice", [&] { return PathBox() == tool; })
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
        GuiThread().PressKey(VK_RETURN);
    });
    EXPECT_EQ(Run(script), IDOK);
}

TEST_F(DigestDialogTest, EscEndsTheDialog)
{
    UiScript script = Opened();
    script.Do([] { GuiThread().PressKey(VK_ESCAPE); });
    EXPECT_EQ(Run(script), IDCANCEL);
}

} // namespace
