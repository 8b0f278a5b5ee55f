// CFileDialog's translation of its arguments into what GetOpenFileNameA
// takes: the filter's '|' (but not a byte of a character of two bytes) become
// '\0', the initial name goes into the file buffer, the default extension
// and flags are passed on. (The chooser itself is driven in the dialog's
// tests.)
#include <afxdlgs.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "code_page.h"

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
    EXPECT_GE(dlg.m_ofn.nMaxFile, static_cast<DWORD>(MAX_PATH));
    EXPECT_STREQ(dlg.m_ofn.lpstrDefExt, "exe");
    EXPECT_EQ(dlg.m_ofn.Flags, 0x1004u);
    EXPECT_EQ(dlg.m_ofn.lStructSize, sizeof(OPENFILENAMEA));
}

TEST(CFileDialog, FilterWithoutTheClosingBars)
{
    CFileDialog dlg(TRUE, NULL, NULL, 0, "Text|*.txt");
    EXPECT_EQ(FilterList(dlg.m_ofn), "Text\n*.txt\n");
    EXPECT_EQ(dlg.m_ofn.lpstrDefExt, nullptr);
    EXPECT_STREQ(dlg.m_ofn.lpstrFile, "");
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

} // namespace
