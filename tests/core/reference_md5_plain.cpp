// ReferenceMD5 written from the standard's prose, deliberately unlike the
// core: constants computed from the sine, one loop over the 64 steps with
// tables of rotations and word indices.
#include "reference_md5.h"

#include <cmath>
#include <cstdint>

struct ReferenceMD5::State {
    std::uint32_t h[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    std::uint64_t length = 0;       // bytes so far
    unsigned char pending[64] = {}; // the start of an incomplete block
    void block(const unsigned char *bytes);
};

namespace {

std::uint32_t rotl(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

} // namespace

void ReferenceMD5::State::block(const unsigned char *bytes)
{
    static const int shifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};
    static std::uint32_t T[64];
    if (T[0] == 0)
        for (int i = 0; i < 64; i++)
            T[i] = static_cast<std::uint32_t>(std::floor(std::fabs(std::sin(i + 1.0)) * 4294967296.0));

    std::uint32_t w[16];
    for (int i = 0; i < 16; i++) {
        w[i] = 0;
        for (int k = 3; k >= 0; k--)
            w[i] = (w[i] << 8) | bytes[4 * i + k];
    }
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
    for (int i = 0; i < 64; i++) {
        std::uint32_t f;
        int g;
        switch (i / 16) {
        case 0: f = (b & c) | (~b & d); g = i; break;
        case 1: f = (d & b) | (~d & c); g = (5 * i + 1) % 16; break;
        case 2: f = b ^ c ^ d; g = (3 * i + 5) % 16; break;
        default: f = c ^ (b | ~d); g = (7 * i) % 16; break;
        }
        const std::uint32_t next = b + rotl(a + f + T[i] + w[g], shifts[i / 16][i % 4]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
}

ReferenceMD5::ReferenceMD5() : m_state(new State) {}

ReferenceMD5::~ReferenceMD5() = default;

void ReferenceMD5::Update(const void *data, std::size_t len)
{
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    for (std::size_t i = 0; i < len;) {
        if (m_state->length % 64 == 0 && len - i >= 64) {
            m_state->block(bytes + i); // whole blocks straight from the input
            m_state->length += 64;
            i += 64;
            continue;
        }
        m_state->pending[m_state->length++ % 64] = bytes[i++];
        if (m_state->length % 64 == 0)
            m_state->block(m_state->pending);
    }
}

std::array<unsigned char, 16> ReferenceMD5::Digest()
{
    const std::uint64_t bits = m_state->length * 8;
    const unsigned char one = 0x80, zero = 0;
    Update(&one, 1);
    while (m_state->length % 64 != 56)
        Update(&zero, 1);
    for (int i = 0; i < 8; i++) {
        const unsigned char byte = static_cast<unsigned char>(bits >> (8 * i));
        Update(&byte, 1);
    }

    std::array<unsigned char, 16> out{};
    for (int i = 0; i < 16; i++)
        out[i] = static_cast<unsigned char>(m_state->h[i / 4] >> (8 * (i % 4)));
    return out;
}
