// CString: the empty string for null and for missing resources, sharing
// between copies, loading from the string table in code page 936, and
// upper-casing that leaves double-byte characters alone.
#include <afx.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "probe_resource.h"
#include "windows_under_test.h"

namespace {

// The tests' texts are written as UTF-16 literals; CString holds ANSI bytes.
std::wstring Wide(const CString &s)
{
    return FromAnsi(static_cast<LPCTSTR>(s));
}

TEST(Environment, AnsiCodePageIs936)
{
    // What the resources' Chinese texts and the double-byte rules below are
    // for; the test runner sets the locale that gives it.
    EXPECT_EQ(::GetACP(), 936u);
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

TEST(CString, LoadsTheStringTableInTheAnsiCodePage)
{
    CString s;
    EXPECT_TRUE(s.LoadString(IDS_GREETING));
    EXPECT_EQ(Wide(s), L"你好, Vorkel");

    std::wstring expected;
    for (int i = 0; i < 15; i++)
        expected += L"一二三四五六七八九十";
    EXPECT_TRUE(s.LoadString(IDS_LONG));
    EXPECT_EQ(s.GetLength(), 300);
    EXPECT_EQ(Wide(s), expected);
}

TEST(CString, MissingStringGivesTheEmptyString)
{
    CString s("previous");
    EXPECT_FALSE(s.LoadString(IDS_LONG + 1));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(s, "");
}

TEST(CString, MakeUpperChangesOnlySingleByteLetters)
{
    CString s("md5 of d41d8cd9, -_z{}");
    s.MakeUpper();
    EXPECT_STREQ(s, "MD5 OF D41D8CD9, -_Z{}");

    // 乤 is 0x81 0x61 in code page 936: its second byte is an 'a'.
    CString chinese(ToAnsi(L"a乤b").c_str());
    ASSERT_EQ(chinese.GetLength(), 4);
    chinese.MakeUpper();
    EXPECT_EQ(Wide(chinese), L"A乤B");
}

} // namespace
