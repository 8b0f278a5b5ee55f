// The digests found in text the user copied: which runs of hex digits are
// digests and of what kind, which separators join pairs of digits into one
// run, what invisible characters and wrapped lines do, what names say; and
// the verdict on a file's digests where the text reads more than one way.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ExpectedDigests.h"

namespace {

// Digests of the empty message, and of "abc" or another one.
const std::wstring kMd5 = L"d41d8cd98f00b204e9800998ecf8427e";
const std::wstring kOtherMd5 = L"9e107d9d372bb6826bd81d3542a419d6";
const std::wstring kSha1 = L"da39a3ee5e6b4b0d3255bfef95601890afd80709";
const std::wstring kSha256 = L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
const std::wstring kOtherSha256 = L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::wstring kSha384 =
    L"38b060a751ac96384cd9327eb1b1e36a21fdb71114be07434c0cc7bf63f6e1da274edebfe76f65fbd51ad2f14898b95b";
const std::wstring kSha512 = L"cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce"
                             L"47d0d13c5d85f2b0ff8318d2877eec2f63b931bd47417a81a538327af927da3e";

const unsigned kKindMd5 = 1u << DIGEST_MD5, kKindSha1 = 1u << DIGEST_SHA1, kKindSha256 = 1u << DIGEST_SHA256,
               kKindSha384 = 1u << DIGEST_SHA384, kKindSha512 = 1u << DIGEST_SHA512;

// The file's digests, by kind; a kind not given matches nothing (a digest
// not computed would be left aside).
using FileDigests = std::map<DigestKind, std::wstring>;

std::string Upper(const std::wstring &hex)
{
    std::string upper;
    for (wchar_t ch : hex)
        upper += static_cast<char>(::towupper(ch));
    return upper;
}

CExpectedDigests::CVerdict JudgeFile(const CExpectedDigests &expected, const FileDigests &file)
{
    std::string digests[DIGEST_KINDS] = {"-", "-", "-", "-", "-"};
    for (const auto &digest : file)
        digests[digest.first] = Upper(digest.second);
    return expected.Judge(digests);
}

// "d4 1d 8c ...", as certutil prints a digest.
std::wstring Pairs(const std::wstring &hex, const std::wstring &separator = L" ")
{
    std::wstring pairs = hex.substr(0, 2);
    for (std::size_t i = 2; i < hex.size(); i += 2)
        pairs += separator + hex.substr(i, 2);
    return pairs;
}

const std::wstring kWrappedSha512 = L"SHA-512:\r\n" + kSha512.substr(0, 64) + L"\r\n" + kSha512.substr(64);

struct ParseCase {
    const char *name;
    std::wstring text;
    unsigned kinds;
    FileDigests file;   // a file that passes
    std::wstring shown; // what a file that matches nothing is shown
    BOOL unsupported = FALSE;
    int nearMiss = 0;
};

void PrintTo(const ParseCase &c, std::ostream *os)
{
    *os << c.name;
}

class ExpectedDigestsParse : public testing::TestWithParam<ParseCase> {};

TEST_P(ExpectedDigestsParse, FindsTheDigests)
{
    const ParseCase &c = GetParam();
    CExpectedDigests expected;
    expected.Parse(L"SHA3-256: " + kSha256 + L" MD5: " + kMd5); // forgotten at the next
    expected.Parse(c.text);
    EXPECT_EQ(expected.GetKinds(), c.kinds);
    EXPECT_EQ(expected.m_bUnsupported, c.unsupported);
    EXPECT_EQ(expected.m_nNearMissLength, c.nearMiss);
    if (c.kinds == 0)
        return;
    EXPECT_TRUE(JudgeFile(expected, c.file).bPass);
    const CExpectedDigests::CVerdict verdict = JudgeFile(expected, {});
    EXPECT_FALSE(verdict.bPass);
    EXPECT_EQ(verdict.strValue, Upper(c.shown));
}

const ParseCase kParseCases[] = {
    {"Md5sumLine", kMd5 + L"  cafe.iso\r\n", kKindMd5, {{DIGEST_MD5, kMd5}}, kMd5},
    {"BsdLine", L"MD5 (face.bin) = D41D8CD98F00B204E9800998ECF8427E", kKindMd5, {{DIGEST_MD5, kMd5}}, kMd5},
    {"InASentence", L"MD5:" + kMd5 + L". Thanks, 2026", kKindMd5, {{DIGEST_MD5, kMd5}}, kMd5},
    // Pairs joined by one space, colon or hyphen, as certutil printed them,
    // when the first starts a word: after "MD5 " (not with its "D5"), not
    // with the "ed" of "Verified", after Chinese; one pair too many (after "be ", or after the last) gives two
    // windows, either of which may be meant.
    {"PairsJoinedBySpaces", L"MD5 hash of file.iso:\r\n" + Pairs(kMd5) + L"\r\nCertUtil: done", kKindMd5,
     {{DIGEST_MD5, kMd5}}, kMd5},
    {"PairsJoinedByColonsAndHyphens", L"d4:1d:8c:d9:8f:00:b2:04-e9-80-09-98-ec-f8-42-7e", kKindMd5,
     {{DIGEST_MD5, kMd5}}, kMd5},
    {"PairsAfterMd5", L"MD5 " + Pairs(kMd5), kKindMd5, {{DIGEST_MD5, kMd5}}, kMd5},
    {"PairsAfterAWordEndingInHex", L"Verified: " + Pairs(kMd5), kKindMd5, {{DIGEST_MD5, kMd5}}, kMd5},
    {"PairsAfterChinese", L"校验值" + Pairs(kMd5), kKindMd5, {{DIGEST_MD5, kMd5}}, kMd5},
    {"PairsAfterShouldBe", L"It should be " + Pairs(kMd5), kKindMd5, {{DIGEST_MD5, kMd5}}, L""},
    {"SeventeenPairs", Pairs(kMd5) + L" ff", kKindMd5, {{DIGEST_MD5, kMd5}}, L""},
    {"Sha256InPairsAfterBe", L"be " + Pairs(kSha256, L":"), kKindSha256, {{DIGEST_SHA256, kSha256}}, L""},
    {"SeveralDigestsInEitherCase",
     kMd5 + L"  a\n" + kOtherMd5 + L"  b\nD41D8CD98F00B204E9800998ECF8427E  c\n", kKindMd5,
     {{DIGEST_MD5, kOtherMd5}}, L""},
    // Invisible characters inside: a SHA-256 stays one, never two MD5s.
    {"ZeroWidthSpaceInAnMd5", kMd5.substr(0, 16) + L"\u200B" + kMd5.substr(16), kKindMd5,
     {{DIGEST_MD5, kMd5}}, kMd5},
    {"ZeroWidthSpaceInASha256", kSha256.substr(0, 32) + L"\u200B" + kSha256.substr(32), kKindSha256,
     {{DIGEST_SHA256, kSha256}}, kSha256},
    {"SoftHyphensAndJoiners", L"d41d8cd9\u00AD8f00b204\u2060e9800998\uFEFFecf8427e\u200D", kKindMd5,
     {{DIGEST_MD5, kMd5}}, kMd5},
    {"InvisiblesInPairs", Pairs(kMd5, L"\u200C \u200B"), kKindMd5, {{DIGEST_MD5, kMd5}}, kMd5},
    // Each length; a digest wrapped onto two lines is also read whole.
    {"Sha1", kSha1 + L"  file", kKindSha1, {{DIGEST_SHA1, kSha1}}, kSha1},
    {"Sha256", L"SHA-256: " + kSha256, kKindSha256, {{DIGEST_SHA256, kSha256}}, kSha256},
    {"Sha384", L"SHA-384: " + kSha384, kKindSha384, {{DIGEST_SHA384, kSha384}}, kSha384},
    {"Sha512", kSha512 + L" *file", kKindSha512, {{DIGEST_SHA512, kSha512}}, kSha512},
    {"TwoSha256s", kSha256 + L"  a\n" + kSha256 + L"  b\n", kKindSha256, {{DIGEST_SHA256, kSha256}}, kSha256},
    {"Md5AndSha256", L"MD5 " + kMd5 + L" SHA-256 " + kSha256, kKindMd5 | kKindSha256,
     {{DIGEST_MD5, kMd5}, {DIGEST_SHA256, kSha256}}, L""},
    {"Md5AndSha1NamedTogether", L"MD5 and SHA1: " + kMd5 + L" " + kSha1, kKindMd5 | kKindSha1,
     {{DIGEST_MD5, kMd5}, {DIGEST_SHA1, kSha1}}, L""},
    {"WrappedSha512", kWrappedSha512, kKindSha256 | kKindSha512, {{DIGEST_SHA512, kSha512}}, L""},
    {"TwoSha256Lines", kSha256 + L"\n" + kOtherSha256, kKindSha256 | kKindSha512, {{DIGEST_SHA256, kOtherSha256}},
     L""},
    {"WrappedSha384HalvesNoDigests", kSha384.substr(0, 48) + L"\r" + kSha384.substr(48), kKindSha384,
     {{DIGEST_SHA384, kSha384}}, kSha384},
    {"NotWrappedWithASpaceBetween", kSha256 + L" \n" + kOtherSha256, kKindSha256,
     {{DIGEST_SHA256, kSha256}}, L""},
    // Named algorithms the program does not compute; a name applies on its
    // line, to the first digest after it.
    {"Sha3", L"SHA3-256: " + kSha256, 0, {}, L"", TRUE},
    {"Blake2b", L"BLAKE2b-512: " + kSha512, 0, {}, L"", TRUE},
    {"Sha512Truncated", L"SHA-512/256(file) = " + kSha256, 0, {}, L"", TRUE},
    {"Crc32", L"CRC-32: 1a2b3c4d", 0, {}, L"", TRUE},
    {"WrappedSha3", L"SHA3-512: " + kSha512.substr(0, 64) + L"\n" + kSha512.substr(64), 0, {}, L"", TRUE},
    {"NameOnTheLineBefore", L"SHA3-256\n" + kSha256, kKindSha256, {{DIGEST_SHA256, kSha256}}, kSha256},
    {"NameThenTwoDigests", L"XXH128 " + kOtherMd5 + L" " + kMd5, kKindMd5, {{DIGEST_MD5, kMd5}}, kMd5, TRUE},
    {"Sha3AndSha256", L"SHA3-256: " + kSha256 + L"\nSHA-256: " + kOtherSha256, kKindSha256,
     {{DIGEST_SHA256, kOtherSha256}}, kOtherSha256, TRUE},
    // Not digests: near misses when alone, groups other than pairs, two
    // separators, full-width digits, numbers of other kinds.
    {"OneDigitMore", kMd5 + L"0", 0, {}, L"", FALSE, 33},
    {"AFullWidthDigitCutsTheRun", L"d41d8cd98f00b204e9800998ecf8427０", 0, {}, L"", FALSE, 31},
    {"Sha256OneShort", kSha256.substr(1), 0, {}, L"", FALSE, 63},
    {"Sha224Long", kSha256.substr(0, 56), 0, {}, L"", FALSE, 56},
    {"Sha512OneMore", kSha512 + L"0", 0, {}, L"", FALSE, 129},
    {"OneShortOneLong", kMd5.substr(1) + L" " + kMd5 + L"0", 0, {}, L""},
    {"GroupsOfEight", L"d41d8cd9 8f00b204 e9800998 ecf8427e", 0, {}, L""},
    {"TwoSeparators", Pairs(kMd5, L"  "), 0, {}, L""},
    {"FullWidthDigits", L"ｄ４１ｄ８ｃｄ９８ｆ００ｂ２０４ｅ９８００９９８ｅｃｆ８４２７ｅ", 0, {}, L""},
    {"Date", L"Released 2026-12-09", 0, {}, L""},
    {"BuildNumber", L"Windows 10.0.19045.4529", 0, {}, L""},
    {"Guid", L"{6B29FC40-CA47-1067-B31D-00DD010662DA}", 0, {}, L""},
    {"NoDigest", L"Nothing to see here", 0, {}, L""},
    {"Empty", L"", 0, {}, L""},
};

INSTANTIATE_TEST_SUITE_P(Texts, ExpectedDigestsParse, testing::ValuesIn(kParseCases),
                         [](const testing::TestParamInfo<ParseCase> &info) {
                             return std::string(info.param.name);
                         });

// Verdicts where the text reads more than one way, or fails in one kind of
// several.
TEST(ExpectedDigestsJudge, PassesWhenAnyReadingDoes)
{
    const FileDigests file = {{DIGEST_MD5, kMd5},       {DIGEST_SHA256, kSha256},
                              {DIGEST_SHA384, kSha384}, {DIGEST_SHA512, kSha512}};
    const struct {
        const char *what;
        std::wstring text;
        BOOL pass;
        unsigned kinds;
        std::wstring value;
    } cases[] = {
        {"wrapped SHA-512", kWrappedSha512, TRUE, kKindSha512, L""},
        {"two SHA-256 lines, the first the file's", kSha256 + L"\n" + kOtherSha256, TRUE, kKindSha256, L""},
        {"MD5 and SHA-256 lines, together no SHA-384", kMd5 + L"\n" + kSha256, TRUE, kKindMd5 | kKindSha256, L""},
        {"pairs, the file's without the first", L"should be " + Pairs(kMd5), TRUE, kKindMd5, L""},
        {"MD5 and another SHA-256", L"MD5: " + kMd5 + L"\nSHA-256: " + kOtherSha256, FALSE, kKindSha256,
         kOtherSha256},
        {"two other MD5s", kOtherMd5 + L"\ne4d909c290d0fb1ca068ffaddf22cbd0", FALSE, kKindMd5, L""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        CExpectedDigests expected;
        expected.Parse(c.text);
        const CExpectedDigests::CVerdict verdict = JudgeFile(expected, file);
        EXPECT_EQ(verdict.bPass, c.pass);
        EXPECT_EQ(verdict.nKinds, c.kinds);
        EXPECT_EQ(verdict.strValue, Upper(c.value));
    }
}

} // namespace
