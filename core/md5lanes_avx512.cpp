// The compression for processors with AVX-512 (its foundation, AVX512F):
// 32 lanes in two vectors of 16 stepped together, as the AVX2 path steps
// its two (measured on a Zen 5, the lanes alone: 6.9 GB/s for 32 lanes,
// 5.1 for one vector of 16), and one vector of 16 when no lane past the
// 16th is busy. Only the functions here are compiled for AVX-512 (target
// attributes), and md5lanes.cpp calls them only where the processor and the
// system support it. The steps are the AVX2 path's (md5lanes_rounds.h), and
// so is the loading of the blocks, 8 lanes at a time: what is this path's
// own is the handful of primitives below.
#include "md5lanes_rounds.h"

#ifdef MD5_LANES_X86

// gcc 12's AVX-512 headers fill the unused operand of several intrinsics
// (rotation, insertion) with a vector initialised from itself, which
// -Wmaybe-uninitialized takes for a read of an unset value.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace {

#define AVX512_INLINE __attribute__((target("avx512f"), always_inline)) inline

// vpternlogd computes any bitwise function of three vectors in one
// instruction; its immediate is the function's truth table, bit
// (x << 2 | y << 1 | z) holding f(x, y, z). Applying f bitwise to the
// columns x = 0xf0, y = 0xcc, z = 0xaa of that table gives the table itself,
// so each immediate is checked here against RFC 1321's definition.
enum { TERNARY_F = 0xca, TERNARY_G = 0xe4, TERNARY_H = 0x96, TERNARY_I = 0x39 };
constexpr unsigned TruthTable(unsigned f) { return f & 0xff; }
static_assert(TruthTable((0xf0 & 0xcc) | (~0xf0 & 0xaa)) == TERNARY_F, "F(X,Y,Z) = XY v not(X) Z");
static_assert(TruthTable((0xf0 & 0xaa) | (0xcc & ~0xaa)) == TERNARY_G, "G(X,Y,Z) = XZ v Y not(Z)");
static_assert(TruthTable(0xf0 ^ 0xcc ^ 0xaa) == TERNARY_H, "H(X,Y,Z) = X xor Y xor Z");
static_assert(TruthTable(0xcc ^ (0xf0 | ~0xaa)) == TERNARY_I, "I(X,Y,Z) = Y xor (X v not(Z))");

// The primitives for one vector of 16 lanes (md5lanes_rounds.h).

AVX512_INLINE __m512i Add(__m512i u, __m512i v)
{
    return _mm512_add_epi32(u, v);
}

AVX512_INLINE __m512i AddConst(__m512i v, std::uint32_t k)
{
    return _mm512_add_epi32(v, _mm512_set1_epi32((int)k));
}

template <int s> AVX512_INLINE __m512i Rotate(__m512i v)
{
    return _mm512_rol_epi32(v, s);
}

AVX512_INLINE __m512i AddF(__m512i a, __m512i b, __m512i c, __m512i d)
{
    return Add(a, _mm512_ternarylogic_epi32(b, c, d, TERNARY_F));
}

AVX512_INLINE __m512i AddG(__m512i a, __m512i b, __m512i c, __m512i d)
{
    return Add(a, _mm512_ternarylogic_epi32(b, c, d, TERNARY_G));
}

AVX512_INLINE __m512i AddH(__m512i a, __m512i b, __m512i c, __m512i d)
{
    return Add(a, _mm512_ternarylogic_epi32(b, c, d, TERNARY_H));
}

AVX512_INLINE __m512i AddI(__m512i a, __m512i b, __m512i c, __m512i d)
{
    return Add(a, _mm512_ternarylogic_epi32(b, c, d, TERNARY_I));
}

AVX512_INLINE void Load(__m512i *v, const std::uint32_t *row)
{
    *v = _mm512_loadu_si512(row);
}

// Writes the words of the lanes in mask (bit i for lane i, the low 16 bits).
AVX512_INLINE void Store(std::uint32_t *row, unsigned mask, __m512i v)
{
    _mm512_mask_storeu_epi32(row, (__mmask16)mask, v);
}

// Words first to first + 7 of all 16 lanes, one vector a word: lanes 0 to 7
// and 8 to 15 turned as on the AVX2 path, then joined (the low 256 bits from
// the first eight lanes).
AVX512_INLINE void LoadWords8Of16(__m512i words[8], const unsigned char *const p[16], int first)
{
    __m256i low[8], high[8];
    MD5LoadWords8(low, p, first);
    MD5LoadWords8(high, p + 8, first);
    // Unrolled, the halves stay in registers; gcc would keep the loop and
    // pass them through memory.
#pragma GCC unroll 8
    for (int k = 0; k < 8; k++)
        words[k] = _mm512_inserti64x4(_mm512_castsi256_si512(low[k]), high[k], 1);
}

AVX512_INLINE void LoadWords(__m512i x[16], const unsigned char *const p[16])
{
    LoadWords8Of16(x, p, 0);
    LoadWords8Of16(x + 8, p, 8);
}

// Lanes 0 to 15 and 16 to 31.
MD5_LANES_PAIR(Lanes32, __m512i, AVX512_INLINE)

} // namespace

__attribute__((target("avx512f")))
void MD5TransformAVX512(std::uint32_t state[4][MD5_LANES_MAX],
                        const unsigned char *const block[MD5_LANES_MAX], std::size_t count,
                        unsigned mask)
MD5_LANES_TRANSFORM(Lanes32)

__attribute__((target("avx512f")))
void MD5TransformAVX512Low16(std::uint32_t state[4][MD5_LANES_MAX],
                             const unsigned char *const block[MD5_LANES_MAX], std::size_t count,
                             unsigned mask)
MD5_LANES_TRANSFORM(__m512i)

#endif
