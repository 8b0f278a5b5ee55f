// The lanes against the scalar core, on every path this processor has:
// many messages of unequal lengths around the padding boundaries, cut into
// random pieces, lanes refilled as pieces end; and the choice of path
// against the compiler's own reading of the processor.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "md5lanes.h"
#include "reference_md5.h"

namespace {

const char *PathName(int path)
{
    return path == MD5_PATH_AVX512 ? "avx512" : path == MD5_PATH_AVX2 ? "avx2" : "scalar";
}

std::string Hex(const unsigned char digest[16])
{
    std::string text;
    for (int i = 0; i < 16; i++)
        text += "0123456789abcdef"[digest[i] >> 4], text += "0123456789abcdef"[digest[i] & 15];
    return text;
}

// A message on its way through the lanes, and the same message fed to
// MD5Update piece by piece beside it.
struct Message {
    std::string bytes;
    std::vector<std::size_t> cuts; // where each piece ends
    std::size_t piece = 0;         // the next piece to give a lane
    bool inLane = false;
    MD5_CTX context{};
    MD5_CTX alongside{};
};

// Lengths of 0 to 5 blocks, most of them near where the padding changes
// (55 and 56 bytes into a block), some at or just past a block's end; and
// now and then a long one that keeps its lane through many refills of the
// others.
std::size_t RandomLength(std::mt19937 &random)
{
    static const std::size_t rests[] = {0, 1, 54, 55, 56, 57, 63};
    switch (random() % 8) {
    case 0:
        return random() % 70000;
    case 1:
        return random() % 400;
    default:
        return 64 * (random() % 6) + rests[random() % 7];
    }
}

class MD5LanesTest : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        if (GetParam() > MD5LanesSupported())
            GTEST_SKIP() << "this processor or system has no " << PathName(GetParam());
    }
};

} // namespace

TEST_P(MD5LanesTest, RandomMessagesInRandomPiecesAgreeWithTheCore)
{
    std::mt19937 random(20261215 + GetParam());
    std::vector<Message> messages(600);
    for (Message &m : messages) {
        m.bytes.resize(RandomLength(random));
        for (char &c : m.bytes)
            c = static_cast<char>(random());
        // Pieces of any size, blocks begun by one piece and ended by another.
        for (std::size_t at = 0; at < m.bytes.size();) {
            at += 1 + random() % (random() % 3 ? 300 : 20000);
            m.cuts.push_back(at < m.bytes.size() ? at : m.bytes.size());
        }
        if (random() % 10 == 0)
            m.cuts.insert(m.cuts.begin(), 0); // an empty piece
        MD5Init(&m.context);
        MD5Init(&m.alongside);
    }

    MD5_LANES lanes;
    MD5LanesInit(&lanes, GetParam());
    ASSERT_EQ(lanes.width, MD5LanesWidth(GetParam()));
    Message *inLane[MD5_LANES_MAX] = {};
    for (int busy = 0, wanted = MD5_LANES_MAX;;) {
        // Idle lanes get the next pieces of messages not in a lane, up to a
        // number of busy lanes drawn anew now and then: the lanes drain down
        // to it as pieces end, so that any number of lanes is busy, in any
        // places.
        if (random() % 32 == 0)
            wanted = 1 + static_cast<int>(random() % MD5_LANES_MAX);
        for (Message &m : messages) {
            if (m.inLane || m.piece == m.cuts.size())
                continue;
            if (busy >= wanted)
                break;
            const std::size_t begin = m.piece == 0 ? 0 : m.cuts[m.piece - 1];
            const unsigned char *p = reinterpret_cast<const unsigned char *>(m.bytes.data());
            const int lane = MD5LanesAdd(&lanes, &m.context, p + begin, m.cuts[m.piece] - begin);
            if (lane < 0)
                break;
            ASSERT_LT(lane, lanes.width);
            ASSERT_EQ(inLane[lane], nullptr) << "lane " << lane << " given twice";
            MD5Update(&m.alongside, p + begin, static_cast<std::uint32_t>(m.cuts[m.piece] - begin));
            inLane[lane] = &m;
            m.inLane = true;
            m.piece++;
            busy++;
        }

        const unsigned ended = MD5LanesRun(&lanes);
        if (ended == 0) {
            for (Message *m : inLane)
                ASSERT_EQ(m, nullptr) << "busy lanes, none ended";
            break;
        }
        for (int lane = 0; lane < MD5_LANES_MAX; lane++) {
            if (!(ended & (1u << lane)))
                continue;
            Message *m = inLane[lane];
            ASSERT_NE(m, nullptr) << "lane " << lane << " ended but was idle";
            // Chaining values, bit count and the bytes waiting in the
            // buffer: all as MD5Update leaves them.
            const std::size_t waiting = (m->alongside.count[0] >> 3) & 0x3F;
            ASSERT_TRUE(std::memcmp(m->context.state, m->alongside.state, sizeof(m->context.state)) == 0 &&
                        std::memcmp(m->context.count, m->alongside.count, sizeof(m->context.count)) == 0 &&
                        std::memcmp(m->context.buffer, m->alongside.buffer, waiting) == 0)
                << "message of " << m->bytes.size() << " bytes, after piece " << m->piece;
            m->inLane = false;
            inLane[lane] = nullptr;
            busy--;
        }
    }

    for (Message &m : messages) {
        ASSERT_EQ(m.piece, m.cuts.size());
        unsigned char digest[16];
        MD5Final(digest, &m.context);
        ASSERT_EQ(Hex(digest), ReferenceMD5::Hex(m.bytes)) << "message of " << m.bytes.size() << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPath, MD5LanesTest,
                         testing::Values(MD5_PATH_SCALAR, MD5_PATH_AVX2, MD5_PATH_AVX512),
                         [](const testing::TestParamInfo<int> &info) { return PathName(info.param); });

// The path chosen against what gcc's runtime reads from CPUID and XGETBV.
TEST(MD5LanesSupported, AgreesWithTheCompilersReadingOfTheProcessor)
{
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    const int supported = MD5LanesSupported();
    EXPECT_EQ(supported >= MD5_PATH_AVX2, __builtin_cpu_supports("avx2") != 0) << PathName(supported);
    EXPECT_EQ(supported == MD5_PATH_AVX512, __builtin_cpu_supports("avx512f") != 0) << PathName(supported);
#else
    EXPECT_EQ(MD5LanesSupported(), MD5_PATH_SCALAR);
#endif
}
