// CFileDialog's translation of its arguments into what GetOpenFileNameA
// takes: the filter's '|' (but not a byte of a character of two bytes) become
// '\0', the initial name goes into the file buffer, the default extension
// and flags are passed on. And what it takes back from the real chooser: a
// choice only when it is whole.
#include <afxdlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "code_page.h"
#include "dialog_font_resource.h"
#include "ui_script.h"
#include "windows_under_test.h"

namespace {

// The filter as the system reads it: texts up to the empty one.
std::string FilterList(const OPENFILENAMEA &ofn)
{
    std::string list;
    for (const char *p = ofn.lpstrFilter; *p != '\0'; p += std::strlen(p) + 1)
        list += std::string(p) + "\n";
    return list;
}

TEST(CFileDialog, TakesTheArgumentsAsTheChooserWantsThem)
{
    CFileDialog dlg(TRUE, "exe", "*.exe", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    "Exe files(*.exe)|*.exe|All files(*.*)|*.*||");
    EXPECT_EQ(FilterList(dlg.m_ofn), "Exe files(*.exe)\n*.exe\nAll files(*.*)\n*.*\n");
    EXPECT_STREQ(dlg.m_ofn.lpstrFile, "*.exe");
    EXPECT_GE(dlg.m_ofn.nMaxFile, 32u * 1024); // long paths
    EXPECT_STREQ(dlg.m_ofn.lpstrDefExt, "exe");
    EXPECT_EQ(dlg.m_ofn.Flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST)); // passed on as given
    EXPECT_EQ(dlg.m_ofn.lStructSize, sizeof(OPENFILENAMEA));
}

TEST(CFileDialog, FilterWithoutTheClosingBars)
{
    CFileDialog dlg(TRUE, NULL, NULL, 0, "Text|*.txt");
    EXPECT_EQ(FilterList(dlg.m_ofn), "Text\n*.txt\n");
    EXPECT_EQ(dlg.m_ofn.lpstrDefExt, nullptr);
    EXPECT_STREQ(dlg.m_ofn.lpstrFile, "");
}

TEST(CFileDialog, BarRightAfterACharacterOfTheCodePageSeparates)
{
    // Its bytes must not be taken for a character that swallows the '|': in
    // UTF-8 文件夹 is 9 bytes, in 1252 é one, and each would end in a pair
    // with the '|' if they were taken two at a time.
    std::string name = ToAnsi(FirstWithAnsiForm({L"文件夹", L"ファイル", L"Fichier é"}));
    CFileDialog dlg(TRUE, NULL, NULL, 0, (name + "|*.txt|" + name + "|*.*||").c_str());
    EXPECT_EQ(FilterList(dlg.m_ofn), name + "\n*.txt\n" + name + "\n*.*\n");
}

TEST(CFileDialog, BarInsideACharacterIsNoSeparator)
{
    // In 936 and 932 the second byte of a character can be 0x7C, a '|' (亅
    // is 0x81 0x7C in 936).
    std::string character = DoubleByteCharacterEndingIn('|');
    if (character.empty())
        GTEST_SKIP() << "no character of " << CodePageName() << " has a '|' byte but '|'";
    std::string filter = character + " files|*.txt||";
    CFileDialog dlg(TRUE, NULL, NULL, 0, filter.c_str());
    EXPECT_EQ(FilterList(dlg.m_ofn), character + " files\n*.txt\n");
}

// A file with a name in the code page's own characters, in the temporary
// folder, for the chooser to be answered with; the chooser opened over a
// dialog of the class library, as a program opens it.
class CFileDialogChoice : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t folder[MAX_PATH];
        ::GetTempPathW(MAX_PATH, folder);
        // The characters last, so that a cut can fall inside one of them.
        std::wstring name = std::to_wstring(::GetCurrentProcessId()) + L" " +
                            FirstWithAnsiForm({L"样本", L"サンプル", L"Größe"});
        m_widePath = folder + name;
        m_path = ToAnsi(m_widePath);
        HANDLE hFile = ::CreateFileW(m_widePath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                     0, NULL);
        ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
        ::CloseHandle(hFile);
    }
    void TearDown() override { ::DeleteFileW(m_widePath.c_str()); }

    // Runs a chooser (the flags Browse gives, the initial name given) over a
    // dialog of template nIDOwner with a name buffer of nMaxFile bytes, and
    // answers it with the file's path or cancels it. Notes the flags and
    // hook the chooser was called with, whether a hook's dialog is inside
    // it, and the flags and hook left after.
    struct Choice {
        INT_PTR nResult;
        std::string path; // GetPathName()
    };
    Choice Choose(DWORD nMaxFile, UINT nIDOwner = IDD_CHINESE_IN_LATIN_FACE, bool bAnswer = true,
                  const char *lpszInitial = "*.exe")
    {
        CDialog owner(nIDOwner);
        CFileDialog dlg(TRUE, "exe", lpszInitial, BROWSE_FLAGS, NULL, &owner);
        dlg.m_ofn.nMaxFile = nMaxFile;
        INT_PTR nResult = 0;
        UiScript script;
        script.WaitFor("the owner", [&] { return owner.m_hWnd != NULL; })
            .Do([&] {
                nResult = dlg.DoModal();
                ::PostMessageW(owner.m_hWnd, WM_COMMAND, IDCANCEL, 0);
            })
            .WaitFor("the file chooser", [&] { return GuiThread().FileChooser(owner.m_hWnd) != NULL; })
            .Do([&] {
                HWND hChooser = GuiThread().FileChooser(owner.m_hWnd);
                m_dwFlags = dlg.m_ofn.Flags;
                m_bHookGiven = dlg.m_ofn.lpfnHook != NULL;
                m_bHookDialog = ::FindWindowExW(hChooser, NULL, L"#32770", NULL) != NULL;
                if (bAnswer)
                    AnswerFileChooser(hChooser, m_widePath);
                else
                    ::PostMessageW(hChooser, WM_COMMAND, IDCANCEL, 0);
            });
        EXPECT_EQ(script.Play([&] { owner.DoModal(); }), "") << nMaxFile;
        m_dwFlagsAfter = dlg.m_ofn.Flags;
        m_bHookAfter = dlg.m_ofn.lpfnHook != NULL;
        return {nResult, std::string(dlg.GetPathName())};
    }

    static constexpr DWORD BROWSE_FLAGS = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    std::wstring m_widePath;
    std::string m_path; // in the ANSI code page
    DWORD m_dwFlags = 0;
    bool m_bHookGiven = false, m_bHookDialog = false;
    DWORD m_dwFlagsAfter = 0;
    bool m_bHookAfter = false;
};

// Over a dialog whose template's face lacks its texts' glyphs (shown in a
// stand-in face), the chooser is Explorer-style with the library's hook;
// over one whose face has them, it gets the caller's flags and no hook, as
// on Windows, where a hook would bring back the chooser of old.
TEST_F(CFileDialogChoice, HookedOnlyOverADialogInAStandInFace)
{
    EXPECT_EQ(Choose(MAX_PATH, IDD_CHINESE_IN_LATIN_FACE).path, m_path);
    // (The chooser itself adds OFN_PATHMUSTEXIST, which OFN_FILEMUSTEXIST
    // implies.)
    const DWORD HOOK = OFN_EXPLORER | OFN_ENABLEHOOK;
    EXPECT_EQ(m_dwFlags & ~OFN_PATHMUSTEXIST, BROWSE_FLAGS | HOOK);
    EXPECT_TRUE(m_bHookGiven);
    EXPECT_TRUE(m_bHookDialog);
    EXPECT_EQ(m_dwFlagsAfter & HOOK, 0u) << "the caller's again";
    EXPECT_FALSE(m_bHookAfter);

    EXPECT_EQ(Choose(MAX_PATH, IDD_LATIN_IN_LATIN_FACE).path, m_path);
    EXPECT_EQ(m_dwFlags & ~OFN_PATHMUSTEXIST, BROWSE_FLAGS);
    EXPECT_FALSE(m_bHookGiven);
    EXPECT_FALSE(m_bHookDialog);
}

TEST_F(CFileDialogChoice, ACancelledChooserLeavesNoName)
{
    // Not even the initial name, "*.exe".
    Choice choice = Choose(MAX_PATH, IDD_CHINESE_IN_LATIN_FACE, false);
    EXPECT_EQ(choice.nResult, IDCANCEL);
    EXPECT_EQ(choice.path, "");
}

// The choice replaces the initial name whole: none of a longer one's tail
// is left after it.
TEST_F(CFileDialogChoice, AChoiceShorterThanTheInitialNameIsTakenWhole)
{
    const std::string initial(std::max<std::size_t>(60, m_path.size() + 1), 'n');
    EXPECT_EQ(Choose(MAX_PATH, IDD_CHINESE_IN_LATIN_FACE, true, initial.c_str()).path, m_path);
}

TEST_F(CFileDialogChoice, ANameThatMayHaveBeenCutIsNoChoice)
{
    // From a buffer the chooser accepts (more bytes than the path has UTF-16
    // units) up to one where only a whole path fits: a path longer in bytes
    // than the buffer does not fit it (Wine's ANSI chooser would cut it,
    // unterminated, and report success); one that fills the buffer, or
    // leaves less room than a character of the code page's longest kind,
    // can't be told from a cut one.
    const DWORD nWhole = static_cast<DWORD>(m_path.size() + MaxCharSize() + 1);
    for (DWORD nMaxFile = static_cast<DWORD>(m_widePath.size() + 1); nMaxFile <= nWhole;
         nMaxFile++) {
        Choice choice = Choose(nMaxFile);
        EXPECT_TRUE(m_bHookDialog) << nMaxFile; // as the program shows it under Wine
        if (nMaxFile < nWhole) {
            EXPECT_EQ(choice.nResult, IDCANCEL) << "a buffer of " << nMaxFile << " bytes for "
                                                << m_path.size() << ", in " << CodePageName();
            EXPECT_EQ(choice.path, "") << nMaxFile;
        } else {
            EXPECT_EQ(choice.nResult, IDOK) << nMaxFile;
            EXPECT_EQ(choice.path, m_path);
        }
    }
}

} // namespace
