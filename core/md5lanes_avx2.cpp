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

// The primitives for one vector of 8 lanes (md5lanes_rounds.h).

AVX2_INLINE __m256i Add(__m256i u, __m256i v)
{
    return _mm256_add_epi32(u, v);
}

AVX2_INLINE __m256i AddConst(__m256i v, std::uint32_t k)
{
    return _mm256_add_epi32(v, _mm256_set1_epi32((int)k));
}

// No rotation instruction before AVX-512: two shifts and an or.
template <int s> AVX2_INLINE __m256i Rotate(__m256i v)
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

// Lanes 0 to 7 and 8 to 15.
MD5_LANES_PAIR(Lanes16, __m256i, AVX2_INLINE)

} // namespace

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
