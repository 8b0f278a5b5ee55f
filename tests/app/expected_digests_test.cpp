// The digests found in text the user copied: which runs of hex digits are
// MD5s, which separators join pairs of digits into one run, and when the
// text holds another kind of digest instead.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ExpectedDigests.h"

namespace {

const char kMd5[] = "D41D8CD98F00B204E9800998ECF8427E";   // of the empty message
const char kOther[] = "9E107D9D372BB6826BD81D3542A419D6"; // of another one

struct ParseCase {
    const char *name;
    std::wstring text;
    std::set<std::string> md5s;
    int otherLength;
};

void PrintTo(const ParseCase &c, std::ostream *os)
{
    *os << c.name;
}

class ExpectedDigestsParse : public testing::TestWithParam<ParseCase> {};

TEST_P(ExpectedDigestsParse, FindsTheDigests)
{
    CExpectedDigests expected;
    expected.m_md5s = {"left over"};
    expected.m_nOtherLength = 1;
    expected.Parse(GetParam().text);
    EXPECT_EQ(expected.m_md5s, GetParam().md5s);
    EXPECT_EQ(expected.m_nOtherLength, GetParam().otherLength);
}

const std::wstring kSha256(L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");

const ParseCase kParseCases[] = {
    {"Md5sumLine", L"d41d8cd98f00b204e9800998ecf8427e  cafe.iso\r\n", {kMd5}, 0},
    {"BsdLine", L"MD5 (face.bin) = D41D8CD98F00B204E9800998ECF8427E", {kMd5}, 0},
    {"InASentence", L"MD5:d41d8cd98f00b204e9800998ecf8427e. Thanks, 2026", {kMd5}, 0},
    // Pairs joined by one space, colon or hyphen, as certutil printed them.
    {"PairsJoinedBySpaces",
     L"MD5 hash of file.iso:\r\nd4 1d 8c d9 8f 00 b2 04 e9 80 09 98 ec f8 42 7e\r\nCertUtil: done",
     {kMd5}, 0},
    {"PairsJoinedByColonsAndHyphens", L"d4:1d:8c:d9:8f:00:b2:04-e9-80-09-98-ec-f8-42-7e", {kMd5}, 0},
    {"SeveralDigestsInEitherCase",
     L"d41d8cd98f00b204e9800998ecf8427e  a\n9e107d9d372bb6826bd81d3542a419d6  b\n"
     L"D41D8CD98F00B204E9800998ECF8427E  c\n",
     {kMd5, kOther}, 0},
    // Not MD5s: a run one digit short or long, groups other than pairs,
    // two separators, full-width digits.
    {"OneShortOneLong", L"d41d8cd98f00b204e9800998ecf8427 d41d8cd98f00b204e9800998ecf8427e0", {}, 0},
    {"GroupsOfEight", L"d41d8cd9 8f00b204 e9800998 ecf8427e", {}, 0},
    {"TwoSeparators", L"d4  1d  8c  d9  8f  00  b2  04  e9  80  09  98  ec  f8  42  7e", {}, 0},
    {"FullWidthDigits", L"ｄ４１ｄ８ｃｄ９８ｆ００ｂ２０４ｅ９８００９９８ｅｃｆ８４２７ｅ", {}, 0},
    {"AFullWidthDigitCutsTheRun", L"d41d8cd98f00b204e9800998ecf8427０", {}, 0},
    // Another kind of digest: its length, when there is exactly one.
    {"Sha256", L"SHA-256: " + kSha256, {}, 64},
    {"Sha1", L"da39a3ee5e6b4b0d3255bfef95601890afd80709  file", {}, 40},
    {"TwoSha256s", kSha256 + L"  a\n" + kSha256 + L"  b\n", {}, 0},
    {"Md5AndSha256", L"MD5 d41d8cd98f00b204e9800998ecf8427e SHA-256 " + kSha256, {kMd5}, 64},
    {"NoDigest", L"Nothing to see here", {}, 0},
    {"Empty", L"", {}, 0},
};

INSTANTIATE_TEST_SUITE_P(Texts, ExpectedDigestsParse, testing::ValuesIn(kParseCases),
                         [](const testing::TestParamInfo<ParseCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
