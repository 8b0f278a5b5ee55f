// AfxSkipProgramName: what the entry point hands to AfxWinMain as the
// command line, once the program's name and the blanks after it are gone.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <string>

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
    // "样本" (sample) in code page 936: bytes compared as signed chars would
    // be below the space and taken for blanks.
    const std::string sample = "\xD1\xF9\xB1\xBE";
    EXPECT_EQ(Rest(sample + ".exe arg"), "arg");
    EXPECT_EQ(Rest("C:\\" + sample + "\\Vorkel.exe " + sample), sample);
    EXPECT_EQ(Rest("\"" + sample + " Vorkel.exe\" \xFF"), "\xFF");
}

} // namespace
