// CString: the empty string for null and for missing resources, sharing
// between copies, loading from the string table in the ANSI code page, and
// upper-casing that leaves every character of several bytes alone.
#include <afx.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "code_page.h"
#include "probe_resource.h"
#include "windows_under_test.h"

namespace {

// The tests' texts are written as UTF-16 literals; CString holds ANSI bytes.
std::wstring Wide(const CString &s)
{
    return FromAnsi(static_cast<LPCTSTR>(s));
}

TEST(CString, NullGivesTheEmptyString)
{
    LPCTSTR none = NULL;
    CString fromNull(none);
    EXPECT_EQ(fromNull.GetLength(), 0);
    EXPECT_STREQ(fromNull, "");

    CString s("text");
    s = none;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(s, "");
}

TEST(CString, CopiesShareUntilOneChanges)
{
    CString original("abc");
    CString copy(original);
    CString assigned;
    assigned = original;
    EXPECT_EQ(static_cast<LPCTSTR>(copy), static_cast<LPCTSTR>(original)); // one text

    copy.MakeUpper();
    std::strcpy(assigned.GetBuffer(10), "changed");
    assigned.ReleaseBuffer();
    EXPECT_STREQ(original, "abc");
    EXPECT_STREQ(copy, "ABC");
    EXPECT_STREQ(assigned, "changed");
    EXPECT_EQ(assigned.GetLength(), 7);
}

TEST(CString, AssignsFromItsOwnText)
{
    CString s("a longer text");
    s = static_cast<LPCTSTR>(s) + 2; // a piece of its own block
    EXPECT_STREQ(s, "longer text");

    CString shared(s);
    s = static_cast<LPCTSTR>(s) + 7;
    EXPECT_STREQ(s, "text");
    EXPECT_STREQ(shared, "longer text");
}

std::wstring Repeated(const std::wstring &text, int nTimes)
{
    std::wstring repeated;
    for (int i = 0; i < nTimes; i++)
        repeated += text;
    return repeated;
}

TEST(CString, LoadsTheStringTableInTheAnsiCodePage)
{
    // Each text is checked where the code page can write it; the long ones
    // take more than the first 256-byte try in every code page that can.
    const struct {
        UINT nID;
        std::wstring text;
    } strings[] = {
        {IDS_GREETING, L"你好, Vorkel"},
        {IDS_LONG, Repeated(L"一二三四五六七八九十", 15)},
        {IDS_LONG_LATIN, Repeated(L"Grüße, Vorkel! ", 20)},
    };
    int nLongOnes = 0;
    for (const auto &string : strings) {
        if (!HasAnsiForm(string.text))
            continue;
        CString s;
        EXPECT_TRUE(s.LoadString(string.nID)) << string.nID;
        EXPECT_EQ(Wide(s), string.text) << string.nID;
        EXPECT_EQ(s.GetLength(), static_cast<int>(ToAnsi(string.text).size())) << string.nID;
        if (ToAnsi(string.text).size() > 256)
            nLongOnes++;
    }
    EXPECT_GT(nLongOnes, 0) << CodePageName() << " writes none of the long texts";
}

TEST(CString, LoadsTextsWithACharacterAcrossTheFirstTry)
{
    // LoadStringA writes what fits of a text, cut before the first
    // character that doesn't: up to MaxCharSize - 1 bytes of the first
    // try's 255 can stay unused although the text goes on.
    const std::wstring characters[] = {L"é", L"中", L"𠀀"};
    int nChecked = 0;
    for (int c = 0; c < 3; c++) {
        if (!HasAnsiForm(characters[c]))
            continue;
        for (int n = 0; n < 4; n++) {
            std::wstring text = std::wstring(252 + n, L'a') + Repeated(characters[c], 8) + L"end";
            CString s;
            EXPECT_TRUE(s.LoadString(IDS_CUT_FIRST + 4 * c + n));
            std::string loaded(s), expected = ToAnsi(text);
            EXPECT_TRUE(loaded == expected)
                << "252 + " << n << " letters, then characters of " << ToAnsi(characters[c]).size()
                << " bytes in " << CodePageName() << ": " << loaded.size() << " bytes of "
                << expected.size() << ", the last ones \"" << loaded.substr(250) << "\"";
            nChecked++;
        }
    }
    EXPECT_GT(nChecked, 0);
}

TEST(CString, MissingStringGivesTheEmptyString)
{
    CString s("previous");
    EXPECT_FALSE(s.LoadString(IDS_MISSING));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(s, "");
}

TEST(CString, MakeUpperChangesOnlyTheLettersAToZ)
{
    CString s("md5 of d41d8cd9, -_z{}");
    s.MakeUpper();
    EXPECT_STREQ(s, "MD5 OF D41D8CD9, -_Z{}");

    // Lower-case letters beyond a to z stay as they are: é in 1252 and
    // UTF-8, the full-width ａ in 936, 932 and UTF-8.
    for (std::wstring letter : {L"é", L"ａ"}) {
        if (!HasAnsiForm(letter))
            continue;
        CString other(ToAnsi(L"a" + letter + L"b").c_str());
        other.MakeUpper();
        EXPECT_EQ(Wide(other), L"A" + letter + L"B");
    }
}

TEST(CString, MakeUpperLeavesALetterByteInsideACharacterAlone)
{
    // In 936 and 932 the second byte of a character can be anything from
    // 0x40 up, 'a' to 'z' included (乤 is 0x81 0x61 in 936): upper-casing it
    // would make another character of it.
    std::string character = DoubleByteCharacterEndingIn('a');
    if (character.empty())
        GTEST_SKIP() << "no character of " << CodePageName() << " has an 'a' byte but 'a'";
    std::string text = "a" + character + "b";
    CString s(text.c_str());
    s.MakeUpper();
    EXPECT_EQ(std::string(s), "A" + character + "B");
}

} // namespace
