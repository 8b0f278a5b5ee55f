// The MD5 context: known answers, every way of cutting a message into pieces,
// padding boundaries, the wiped context, and agreement with an independent
// MD5 over random messages and beyond 2^32 bits.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "md5.h"
#include "reference_md5.h"

namespace {

std::string HexOf(const unsigned char digest[16])
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < 16; i++) {
        text += digits[digest[i] >> 4];
        text += digits[digest[i] & 0xf];
    }
    return text;
}

// Hashes message fed in pieces of the given sizes; the last piece takes the rest.
std::string Md5InPieces(const std::string &message, const std::vector<std::size_t> &pieces)
{
    MD5_CTX context;
    MD5Init(&context);
    const unsigned char *p = reinterpret_cast<const unsigned char *>(message.data());
    std::size_t left = message.size();
    for (std::size_t piece : pieces) {
        const std::size_t n = piece < left ? piece : left;
        MD5Update(&context, p, static_cast<std::uint32_t>(n));
        p += n;
        left -= n;
    }
    MD5Update(&context, p, static_cast<std::uint32_t>(left));
    unsigned char digest[16];
    MD5Final(digest, &context);
    return HexOf(digest);
}

std::string Md5(const std::string &message) { return Md5InPieces(message, {}); }

std::string Md5InPiecesOf(const std::string &message, std::size_t size)
{
    return Md5InPieces(message, std::vector<std::size_t>(message.size() / size + 1, size));
}

struct KnownAnswer {
    const char *message;
    const char *digest;
};

// RFC 1321, appendix A.5.
const KnownAnswer rfcSuite[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

std::string PatternMessage(std::size_t len)
{
    std::string message(len, '\0');
    for (std::size_t i = 0; i < len; i++)
        message[i] = static_cast<char>((i * 131 + 7) & 0xff);
    return message;
}

} // namespace

TEST(MD5KnownAnswers, RfcSuiteInOnePiece)
{
    for (const KnownAnswer &answer : rfcSuite)
        EXPECT_EQ(Md5(answer.message), answer.digest) << '"' << answer.message << '"';
}

TEST(MD5KnownAnswers, RfcSuiteInSingleBytes)
{
    for (const KnownAnswer &answer : rfcSuite)
        EXPECT_EQ(Md5InPiecesOf(answer.message, 1), answer.digest) << '"' << answer.message << '"';
}

TEST(MD5KnownAnswers, RfcSuiteSplitAtEveryPoint)
{
    for (const KnownAnswer &answer : rfcSuite) {
        const std::size_t len = std::strlen(answer.message);
        for (std::size_t split = 0; split <= len; split++)
            EXPECT_EQ(Md5InPieces(answer.message, {split}), answer.digest)
                << '"' << answer.message << "\" split at " << split;
    }
}

TEST(MD5Pieces, AnyCuttingGivesTheSameDigest)
{
    const std::string message = PatternMessage(5000);
    const std::string whole = Md5(message);
    EXPECT_EQ(whole, ReferenceMD5::Hex(message));
    for (std::size_t size : {1, 3, 63, 64, 65, 127, 1024, 4096})
        EXPECT_EQ(Md5InPiecesOf(message, size), whole) << "pieces of " << size;
    // Uneven pieces that leave the buffer at every fill level in turn.
    EXPECT_EQ(Md5InPieces(message, {1, 2, 61, 64, 7, 121, 1024, 0, 9}), whole);
}

TEST(MD5Pieces, EmptyUpdateLeavesTheContextUnchanged)
{
    const std::string message = PatternMessage(200);
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(message.data());
    for (std::uint32_t fed : {0u, 10u, 63u, 64u, 200u}) {
        MD5_CTX context;
        std::memset(&context, 0x5a, sizeof(context));
        MD5Init(&context);
        MD5Update(&context, bytes, fed);
        MD5_CTX before;
        std::memcpy(&before, &context, sizeof(context));
        MD5Update(&context, bytes, 0);
        EXPECT_EQ(std::memcmp(&before, &context, sizeof(context)), 0) << "after " << fed << " bytes";
    }
}

// A message 55 bytes past a block boundary takes one pad byte and the length
// in the same block; from 56 on, the padding spills into a whole extra block.
TEST(MD5Padding, BoundariesAgreeWithReference)
{
    for (std::size_t blocks : {0, 1, 2, 17}) {
        for (std::size_t rest : {0, 1, 54, 55, 56, 57, 62, 63, 64, 65}) {
            const std::string message = PatternMessage(64 * blocks + rest);
            EXPECT_EQ(Md5(message), ReferenceMD5::Hex(message)) << "length " << message.size();
            EXPECT_EQ(Md5InPiecesOf(message, 1), ReferenceMD5::Hex(message)) << "length " << message.size();
        }
    }
}

TEST(MD5Padding, BitCountMatchesLengthAndBufferInvariantHolds)
{
    const std::string message = PatternMessage(1000);
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(message.data());
    MD5_CTX context;
    MD5Init(&context);
    MD5Update(&context, bytes, 100);
    MD5Update(&context, bytes + 100, 900);
    EXPECT_EQ(context.count[0], 8000u);
    EXPECT_EQ(context.count[1], 0u);
    // 1000 = 15 * 64 + 40: the last 40 bytes wait in the buffer.
    EXPECT_EQ((context.count[0] >> 3) & 0x3F, 40u);
    EXPECT_EQ(std::memcmp(context.buffer, bytes + 960, 40), 0);
}

TEST(MD5Final, WipesTheWholeContext)
{
    for (std::uint32_t len : {0u, 3u, 55u, 56u, 100u}) {
        const std::string message = PatternMessage(len);
        MD5_CTX context;
        std::memset(&context, 0xa5, sizeof(context));
        MD5Init(&context);
        MD5Update(&context, reinterpret_cast<const unsigned char *>(message.data()), len);
        unsigned char digest[16];
        MD5Final(digest, &context);

        const unsigned char *raw = reinterpret_cast<const unsigned char *>(&context);
        for (std::size_t i = 0; i < sizeof(context); i++)
            ASSERT_EQ(raw[i], 0) << "byte " << i << " after a message of " << len;
    }
}

TEST(MD5Final, ContextIsReusableAfterInit)
{
    MD5_CTX context;
    unsigned char digest[16];
    MD5Init(&context);
    MD5Update(&context, reinterpret_cast<const unsigned char *>("abc"), 3);
    MD5Final(digest, &context);
    MD5Init(&context);
    MD5Update(&context, reinterpret_cast<const unsigned char *>("a"), 1);
    MD5Final(digest, &context);
    EXPECT_EQ(HexOf(digest), "0cc175b9c0f1b6a831c399e269772661");
}

TEST(MD5Differential, RandomMessagesInRandomPiecesAgreeWithReference)
{
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> byteValue(0, 255);
    std::uniform_int_distribution<std::size_t> length(0, 4096);
    for (int round = 0; round < 3000; round++) {
        std::string message(length(random), '\0');
        for (char &c : message)
            c = static_cast<char>(byteValue(random));

        std::vector<std::size_t> pieces;
        for (std::size_t left = message.size(); left > 0;) {
            std::uniform_int_distribution<std::size_t> pieceSize(0, left < 300 ? left : 300);
            const std::size_t piece = pieceSize(random);
            pieces.push_back(piece);
            left -= piece;
        }
        ASSERT_EQ(Md5InPieces(message, pieces), ReferenceMD5::Hex(message))
            << "round " << round << ", length " << message.size();
    }
}

// Past 512 MiB the low word of the bit count wraps and must carry into the
// high word, which goes into the padding.
TEST(MD5Differential, BitCountCarriesPast2To32Bits)
{
    const std::size_t piece = 16 << 20;
    std::vector<unsigned char> zeros(piece, 0);
    const std::size_t pieces = 33; // 528 MiB
    const unsigned char tail[] = "tail";

    MD5_CTX context;
    ReferenceMD5 reference;
    MD5Init(&context);
    for (std::size_t i = 0; i < pieces; i++) {
        MD5Update(&context, zeros.data(), static_cast<std::uint32_t>(piece));
        reference.Update(zeros.data(), piece);
    }
    MD5Update(&context, tail, 4);
    reference.Update(tail, 4);

    // 528 MiB + 4 bytes = 2^32 + 2^27 + 32 bits.
    EXPECT_EQ(context.count[1], 1u);
    EXPECT_EQ(context.count[0], (1u << 27) + 32u);

    unsigned char digest[16];
    MD5Final(digest, &context);
    const std::array<unsigned char, 16> expected = reference.Digest();
    EXPECT_EQ(HexOf(digest), HexOf(expected.data()));
}
