// The compression in 16 lanes, for processors with AVX2: two vectors of 8
// lanes stepped together. Each step waits for the one before, and one vector
// alone leaves the processor idle for part of that wait; the other vector's
// step fills it (measured on a Zen 2: 4.2 GB/s for 16 lanes, 3.3 for one
// vector of 8). With no more than the first 8 lanes busy, one vector does
// (MD5TransformAVX2Low8). Only the functions here are compiled for AVX2
// (target attributes): the rest of the program runs on any x86-64, and
// md5lanes.cpp calls them only where the processor and the system support
// it.
#include "md5lanes_rounds.h"

#ifdef MD5_LANES_X86

namespace {

#define AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

// Lanes 0 to 7 and 8 to 15.
struct Lanes16 {
    __m256i low, high;
};

// Each primitive for one vector of 8 lanes, then for a pair.

AVX2_INLINE __m256i Add(__m256i u, __m256i v)
{
    return _mm256_add_epi32(u, v);
}

AVX2_INLINE __m256i AddConst(__m256i v, std::uint32_t k)
{
    return _mm256_add_epi32(v, _mm256_set1_epi32((int)k));
}

// No rotation instruction before AVX-512: two shifts and an or.
AVX2_INLINE __m256i Rotate(__m256i v, int s)
{
    return _mm256_or_si256(_mm256_slli_epi32(v, s), _mm256_srli_epi32(v, 32 - s));
}

// The round functions in the core's forms (md5.cpp), b as few operations
// deep as possible. F: d ^ (b & (c ^ d)).
AVX2_INLINE __m256i AddF(__m256i a, __m256i b, __m256i c, __m256i d)
{
    return Add(a, _mm256_xor_si256(d, _mm256_and_si256(b, _mm256_xor_si256(c, d))));
}

// G: (b & d) | (c & ~d), whose halves share no bits: added one by one, the
// half without b first.
AVX2_INLINE __m256i AddG(__m256i a, __m256i b, __m256i c, __m256i d)
{
    return Add(Add(a, _mm256_andnot_si256(d, c)), _mm256_and_si256(b, d));
}

// H: b ^ (c ^ d).
AVX2_INLINE __m256i AddH(__m256i a, __m256i b, __m256i c, __m256i d)
{
    return Add(a, _mm256_xor_si256(b, _mm256_xor_si256(c, d)));
}

// I: c ^ (b | ~d); ~d as d ^ all ones, there being no vector not.
AVX2_INLINE __m256i AddI(__m256i a, __m256i b, __m256i c, __m256i d)
{
    return Add(a, _mm256_xor_si256(c, _mm256_or_si256(b, _mm256_xor_si256(d, _mm256_set1_epi32(-1)))));
}

AVX2_INLINE void Load(__m256i *v, const std::uint32_t *row)
{
    *v = _mm256_loadu_si256((const __m256i *)row);
}

// Writes the words of the lanes in mask (bit i for lane i, the low 8 bits).
AVX2_INLINE void Store(std::uint32_t *row, unsigned mask, __m256i v)
{
    // Lane i of bits holds bit i; keep is all ones in a lane of mask.
    const __m256i bits = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
    __m256i keep = _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32((int)(mask & 0xff)), bits), bits);
    _mm256_maskstore_epi32((int *)row, keep, v);
}

AVX2_INLINE void LoadWords(__m256i x[16], const unsigned char *const p[8])
{
    MD5LoadWords8(x, p, 0);
    MD5LoadWords8(x + 8, p, 8);
}

AVX2_INLINE Lanes16 Add(Lanes16 u, Lanes16 v)
{
    return {Add(u.low, v.low), Add(u.high, v.high)};
}

AVX2_INLINE Lanes16 AddConst(Lanes16 v, std::uint32_t k)
{
    return {AddConst(v.low, k), AddConst(v.high, k)};
}

AVX2_INLINE Lanes16 Rotate(Lanes16 v, int s)
{
    return {Rotate(v.low, s), Rotate(v.high, s)};
}

AVX2_INLINE Lanes16 AddF(Lanes16 a, Lanes16 b, Lanes16 c, Lanes16 d)
{
    return {AddF(a.low, b.low, c.low, d.low), AddF(a.high, b.high, c.high, d.high)};
}

AVX2_INLINE Lanes16 AddG(Lanes16 a, Lanes16 b, Lanes16 c, Lanes16 d)
{
    return {AddG(a.low, b.low, c.low, d.low), AddG(a.high, b.high, c.high, d.high)};
}

AVX2_INLINE Lanes16 AddH(Lanes16 a, Lanes16 b, Lanes16 c, Lanes16 d)
{
    return {AddH(a.low, b.low, c.low, d.low), AddH(a.high, b.high, c.high, d.high)};
}

AVX2_INLINE Lanes16 AddI(Lanes16 a, Lanes16 b, Lanes16 c, Lanes16 d)
{
    return {AddI(a.low, b.low, c.low, d.low), AddI(a.high, b.high, c.high, d.high)};
}

AVX2_INLINE void Load(Lanes16 *v, const std::uint32_t *row)
{
    Load(&v->low, row);
    Load(&v->high, row + 8);
}

AVX2_INLINE void Store(std::uint32_t *row, unsigned mask, Lanes16 v)
{
    Store(row, mask, v.low);
    Store(row + 8, mask >> 8, v.high);
}

AVX2_INLINE void LoadWords(Lanes16 x[16], const unsigned char *const p[16])
{
    __m256i low[16], high[16];
    LoadWords(low, p);
    LoadWords(high, p + 8);
    // Unrolled, the halves stay in registers; gcc would keep the loop and
    // pass them through memory.
#pragma GCC unroll 16
    for (int k = 0; k < 16; k++)
        x[k] = {low[k], high[k]};
}

} // namespace

#define VLOAD(v, row) Load(&(v), (row))
#define VSTORE Store
#define VLOAD_WORDS LoadWords
#define VADD Add
#define VADD_CONST AddConst
#define VROTL Rotate
#define VADD_F AddF
#define VADD_G AddG
#define VADD_H AddH
#define VADD_I AddI

__attribute__((target("avx2")))
void MD5TransformAVX2(std::uint32_t state[4][MD5_LANES_MAX],
                      const unsigned char *const block[MD5_LANES_MAX], std::size_t count,
                      unsigned mask)
MD5_LANES_TRANSFORM(Lanes16)

__attribute__((target("avx2")))
void MD5TransformAVX2Low8(std::uint32_t state[4][MD5_LANES_MAX],
                          const unsigned char *const block[MD5_LANES_MAX], std::size_t count,
                          unsigned mask)
MD5_LANES_TRANSFORM(__m256i)

#endif
