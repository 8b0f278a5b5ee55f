// Files dropped on the digest dialog, as Explorer drops them: a real drop
// handle through the window's own procedure.
#include <windows.h>

#include <shlobj.h> // SLDF_HAS_DARWINID
#include <gtest/gtest.h>

#include <vector>

#include "digest_dialog_fixture.h"
#include "drop_files.h"
#include "shortcut.h"
#include "windows_under_test.h"

namespace {

// Drops the names on the window and checks that the handle was freed.
void Drop(HWND hWnd, const std::vector<std::wstring> &names, bool bWide = true)
{
    HDROP hDrop = MakeDrop(names, bWide);
    ASSERT_NE(hDrop, nullptr);
    ::SendMessageW(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
    EXPECT_EQ(::GlobalFlags(hDrop), GMEM_INVALID_HANDLE) << "the drop was not finished";
}

TEST_F(DigestDialogTest, ADroppedFileIsChosenAsBrowseChoosesIt)
{
    std::wstring first = MakeFile(L"first.bin", "first");
    std::wstring second = MakeFile(L"second.bin", "second");
    std::wstring third = MakeFile(L"third.bin", "third");
    std::wstring folder = MakeFile(L"folder\\inside.bin", "inside");
    folder.resize(folder.rfind(L'\\'));
    std::wstring gone = m_folder + L"\\gone.bin";

    UiScript script = Opened();
    script.Do([&] {
        EXPECT_TRUE(::GetWindowLongW(Main(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        Drop(Main(), {first});
        EXPECT_EQ(PathBox(), first);
        EXPECT_EQ(DigestBox(), L"");
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), DigestOf("first"));

        // Another file, its names in the ANSI code page: the digest goes.
        Drop(Main(), {second}, false);
        EXPECT_EQ(PathBox(), second);
        EXPECT_EQ(DigestBox(), L"");
        ClickNow(Main(), IDC_GENERATE);

        // Folders and names that are gone are passed over.
        Drop(Main(), {folder, gone, third, first});
        EXPECT_EQ(PathBox(), third);
        EXPECT_EQ(DigestBox(), L"");
        ClickNow(Main(), IDC_GENERATE);
        Drop(Main(), {folder});
        Drop(Main(), {gone}, false);
        EXPECT_EQ(PathBox(), third);
        EXPECT_EQ(DigestBox(), DigestOf("third"));
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

// A shortcut (Explorer drops the .lnk file itself) stands for the file it
// points at; one to a folder, to a file that is gone, or that can't be read
// as a shortcut is passed over, like a folder.
TEST_F(DigestDialogTest, ADroppedShortcutStandsForItsTarget)
{
    std::wstring target = MakeFile(L"目标 文件.bin", "target");
    std::wstring folder = MakeFile(L"folder\\inside.bin", "inside");
    folder.resize(folder.rfind(L'\\'));
    const std::wstring toFile = m_folder + L"\\to file.lnk",
                       toFolder = m_folder + L"\\to folder.lnk",
                       toGone = m_folder + L"\\to gone.LNK";
    ASSERT_TRUE(MakeShortcut(toFile, target));
    ASSERT_TRUE(MakeShortcut(toFolder, folder));
    ASSERT_TRUE(MakeShortcut(toGone, m_folder + L"\\gone.bin"));
    std::wstring unreadable = MakeFile(L"unreadable.lnk", "no shortcut");

    UiScript script = Opened();
    script.Do([&] {
        Drop(Main(), {toFolder, toGone, unreadable, toFile});
        EXPECT_EQ(PathBox(), target);
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), DigestOf("target"));
        Drop(Main(), {toFolder, toGone, unreadable});
        EXPECT_EQ(PathBox(), target);
        EXPECT_EQ(DigestBox(), DigestOf("target"));
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

// An installer's advertised shortcut is passed over: on Windows it answers
// GetPath with an icon of the installer's that exists, and only its flags
// (SLDF_HAS_DARWINID) tell it. Wine can't make one: a stand-in link object
// answers as Windows does. The same answer without the flag is taken.
TEST_F(DigestDialogTest, ADroppedAdvertisedShortcutIsPassedOver)
{
    const std::wstring icon = MakeFile(L"Installer\\{GUID}\\product.ico", "icon");
    const std::wstring link = MakeFile(L"Product.lnk", "read by the stand-in alone");
    UiScript script = Opened();
    script.Do([&] {
        for (DWORD dwFlags : {DWORD(SLDF_HAS_DARWINID | SLDF_HAS_ID_LIST), DWORD(0)}) {
            StandInShellLinks links(icon, dwFlags);
            ASSERT_TRUE(links.Registered());
            Drop(Main(), {link});
            EXPECT_EQ(PathBox(), dwFlags != 0 ? L"" : icon) << dwFlags;
        }
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

// Names in any script, and a path longer than the chooser or the ANSI file
// functions take: a drop is read whole, and Generate hashes the file.
TEST_F(DigestDialogTest, DroppedNamesInAnyScriptAndLongPaths)
{
    std::wstring folder(60, L'深');
    std::wstring deep = folder + L"\\" + folder + L"\\" + folder + L"\\" + folder + L"\\" +
                        folder + L"\\长路径.bin";
    const std::vector<std::wstring> names = {L"校验文件.bin", L"한국어 파일.bin",
                                             L"emoji \U0001F600.bin", deep};
    std::vector<std::wstring> paths;
    for (const std::wstring &name : names)
        paths.push_back(MakeFile(name, ToAnsi(name)));
    ASSERT_GT(paths.back().size(), 300u);

    UiScript script = Opened();
    script.Do([&] {
        for (std::size_t i = 0; i < names.size(); i++) {
            for (bool bWide : {true, false}) {
                Drop(Main(), {paths[i]}, bWide);
                EXPECT_EQ(PathBox(), paths[i]);
                ClickNow(Main(), IDC_GENERATE);
                EXPECT_EQ(DigestBox(), DigestOf(ToAnsi(names[i]))) << ToAnsi(names[i]);
            }
        }
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

} // namespace
