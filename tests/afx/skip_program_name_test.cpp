// AfxSkipProgramName: what the entry point hands to AfxWinMain as the
// command line, once the program's name and the blanks after it are gone.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "code_page.h"
#include "windows_under_test.h"

namespace {

// The rest of commandLine after the name; the result must point into the
// line itself, not at a copy.
std::string Rest(const std::string &commandLine)
{
    std::string line = commandLine;
    char *begin = &line[0];
    char *rest = AfxSkipProgramName(begin);
    EXPECT_GE(rest, begin);
    EXPECT_LE(rest, begin + line.size());
    if (rest < begin || rest > begin + line.size())
        return "(outside the command line)";
    return rest;
}

TEST(AfxSkipProgramName, QuotedNameRunsToItsClosingQuote)
{
    EXPECT_EQ(Rest("\"C:\\Program Files\\Vorkel\\Vorkel.exe\" /x y"), "/x y");
    EXPECT_EQ(Rest("\"Vorkel.exe\""), "");
    // Whatever follows the closing quote is the rest, blank or not.
    EXPECT_EQ(Rest("\"a b\"c d"), "c d");
    // Without a closing quote the whole line is the name.
    EXPECT_EQ(Rest("\"C:\\Program Files\\Vorkel.exe a b"), "");
}

TEST(AfxSkipProgramName, UnquotedNameEndsAtTheFirstBlank)
{
    EXPECT_EQ(Rest("Vorkel.exe a \"b c\""), "a \"b c\"");
    EXPECT_EQ(Rest("C:\\Vorkel\\Vorkel.exe"), "");
    EXPECT_EQ(Rest(""), "");
}

TEST(AfxSkipProgramName, SkipsEveryControlCharacterAfterTheName)
{
    std::string blanks;
    for (char c = 1; c <= ' '; c++)
        blanks += c;
    EXPECT_EQ(Rest("Vorkel.exe" + blanks + "arg" + blanks), "arg" + blanks);
    EXPECT_EQ(Rest("\"Vorkel.exe\"" + blanks + "arg"), "arg");
    EXPECT_EQ(Rest("Vorkel.exe" + blanks), "");
}

TEST(AfxSkipProgramName, BytesAbove0x7FAreNotBlanks)
{
    // "Sample" in the code page's own characters, of bytes from 0x80 up:
    // compared as signed chars they would be below the space, and blanks.
    const std::string sample = ToAnsi(FirstWithAnsiForm({L"样本", L"サンプル", L"Größe"}));
    ASSERT_TRUE(std::any_of(sample.begin(), sample.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
    EXPECT_EQ(Rest(sample + ".exe arg"), "arg");
    EXPECT_EQ(Rest("C:\\" + sample + "\\Vorkel.exe " + sample), sample);
    EXPECT_EQ(Rest("\"" + sample + " Vorkel.exe\" \xFF"), "\xFF");
}

} // namespace
