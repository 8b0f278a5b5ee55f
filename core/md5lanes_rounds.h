// Inside the lanes (md5lanes.cpp): the vector paths' compression functions,
// and the 64 steps they share, written once for every vector width.
#ifndef VORKEL_CORE_MD5LANES_ROUNDS_H
#define VORKEL_CORE_MD5LANES_ROUNDS_H

#include <cstddef>
#include <cstdint>

#include "md5lanes.h"

#if defined(__x86_64__) || defined(__i386__)
#define MD5_LANES_X86 1

// count compressions of every lane, lane i reading its blocks one after
// another from block[i]; the chaining values are state's columns. Lanes not
// in mask (bit i for lane i) are hashed too, so block[i] must point at count
// readable blocks for every lane, but their columns are left as they were.
// Each runs as many lanes as its vectors have: MD5TransformAVX2Low8 lanes
// 0 to 7, MD5TransformAVX2 0 to 15, MD5TransformAVX512Low16 0 to 15 and
// MD5TransformAVX512 0 to 31. Compiled for AVX2 and AVX-512 only
// (md5lanes_avx2.cpp, md5lanes_avx512.cpp): call them only where
// MD5LanesSupported says so.
void MD5TransformAVX2Low8(std::uint32_t state[4][MD5_LANES_MAX],
                          const unsigned char *const block[MD5_LANES_MAX], std::size_t count,
                          unsigned mask);
void MD5TransformAVX2(std::uint32_t state[4][MD5_LANES_MAX],
                      const unsigned char *const block[MD5_LANES_MAX], std::size_t count,
                      unsigned mask);
void MD5TransformAVX512Low16(std::uint32_t state[4][MD5_LANES_MAX],
                             const unsigned char *const block[MD5_LANES_MAX], std::size_t count,
                             unsigned mask);
void MD5TransformAVX512(std::uint32_t state[4][MD5_LANES_MAX],
                        const unsigned char *const block[MD5_LANES_MAX], std::size_t count,
                        unsigned mask);
#endif

// Every compression function of the paths is MD5_LANES_TRANSFORM over a
// vector type, whose lanes are its 32-bit words, and a handful of primitives
// that each path defines for it, as functions overloaded on the type:
//   Load(&v, row)           v = row[0..lanes - 1] (a row of state)
//   Store(row, mask, v)     v into the row's words of the lanes in mask only
//   LoadWords(x, p)         x[k] = word k of the block at p[i], in lane i
//   Add(u, v)               lane by lane u + v, modulo 2^32
//   AddConst(v, k)          v + k in every lane
//   Rotate<s>(v)            each lane rotated left by s bits
//   AddF(a, b, c, d)        a + F(b, c, d) lane by lane; likewise AddG,
//                           AddH and AddI with RFC 1321's G, H and I
// so that all a path adds of its own is those primitives
// (MD5_LANES_PAIR makes a pair's out of a vector's).
#define MD5_LANES_TRANSFORM(Vector) {                                    \
    const int lanes = sizeof(Vector) / 4;                                \
    const unsigned char *p[sizeof(Vector) / 4];                          \
    for (int i = 0; i < lanes; i++)                                      \
        p[i] = block[i];                                                 \
    Vector a, b, c, d;                                                   \
    Load(&a, state[0]);                                                  \
    Load(&b, state[1]);                                                  \
    Load(&c, state[2]);                                                  \
    Load(&d, state[3]);                                                  \
                                                                         \
    for (; count > 0; count--) {                                         \
        Vector x[16];                                                    \
        LoadWords(x, p);                                                 \
        Vector aa = a, bb = b, cc = c, dd = d;                           \
        MD5_LANE_STEPS(a, b, c, d, x)                                    \
        a = Add(a, aa);                                                  \
        b = Add(b, bb);                                                  \
        c = Add(c, cc);                                                  \
        d = Add(d, dd);                                                  \
        for (int i = 0; i < lanes; i++)                                  \
            p[i] += 64;                                                  \
    }                                                                    \
                                                                         \
    Store(state[0], mask, a);                                            \
    Store(state[1], mask, b);                                            \
    Store(state[2], mask, c);                                            \
    Store(state[3], mask, d);                                            \
}

// One step over all lanes: a = b + ((a + f(b, c, d) + x + ac) <<< s), in the
// order of the core's steps (md5.cpp): the sum a + x + ac, which does not
// wait for b, first.
#define MD5_LANE_STEP(AddFunction, a, b, c, d, x, s, ac) { \
    (a) = Add((a), AddConst((x), (ac)));                   \
    (a) = AddFunction((a), (b), (c), (d));                 \
    (a) = Rotate<(s)>(a);                                  \
    (a) = Add((a), (b));                                   \
}
#define FFV(a, b, c, d, x, s, ac) MD5_LANE_STEP(AddF, a, b, c, d, x, s, ac)
#define GGV(a, b, c, d, x, s, ac) MD5_LANE_STEP(AddG, a, b, c, d, x, s, ac)
#define HHV(a, b, c, d, x, s, ac) MD5_LANE_STEP(AddH, a, b, c, d, x, s, ac)
#define IIV(a, b, c, d, x, s, ac) MD5_LANE_STEP(AddI, a, b, c, d, x, s, ac)

// The 64 steps of RFC 1321, section 3.4, over vectors a, b, c, d and the
// block's words x[0..15] (each a vector of that word of every lane).
#define MD5_LANE_STEPS(a, b, c, d, x)          \
    /* Round 1 */                              \
    FFV(a, b, c, d, x[ 0],  7, 0xd76aa478)     \
    FFV(d, a, b, c, x[ 1], 12, 0xe8c7b756)     \
    FFV(c, d, a, b, x[ 2], 17, 0x242070db)     \
    FFV(b, c, d, a, x[ 3], 22, 0xc1bdceee)     \
    FFV(a, b, c, d, x[ 4],  7, 0xf57c0faf)     \
    FFV(d, a, b, c, x[ 5], 12, 0x4787c62a)     \
    FFV(c, d, a, b, x[ 6], 17, 0xa8304613)     \
    FFV(b, c, d, a, x[ 7], 22, 0xfd469501)     \
    FFV(a, b, c, d, x[ 8],  7, 0x698098d8)     \
    FFV(d, a, b, c, x[ 9], 12, 0x8b44f7af)     \
    FFV(c, d, a, b, x[10], 17, 0xffff5bb1)     \
    FFV(b, c, d, a, x[11], 22, 0x895cd7be)     \
    FFV(a, b, c, d, x[12],  7, 0x6b901122)     \
    FFV(d, a, b, c, x[13], 12, 0xfd987193)     \
    FFV(c, d, a, b, x[14], 17, 0xa679438e)     \
    FFV(b, c, d, a, x[15], 22, 0x49b40821)     \
    /* Round 2 */                              \
    GGV(a, b, c, d, x[ 1],  5, 0xf61e2562)     \
    GGV(d, a, b, c, x[ 6],  9, 0xc040b340)     \
    GGV(c, d, a, b, x[11], 14, 0x265e5a51)     \
    GGV(b, c, d, a, x[ 0], 20, 0xe9b6c7aa)     \
    GGV(a, b, c, d, x[ 5],  5, 0xd62f105d)     \
    GGV(d, a, b, c, x[10],  9,  0x2441453)     \
    GGV(c, d, a, b, x[15], 14, 0xd8a1e681)     \
    GGV(b, c, d, a, x[ 4], 20, 0xe7d3fbc8)     \
    GGV(a, b, c, d, x[ 9],  5, 0x21e1cde6)     \
    GGV(d, a, b, c, x[14],  9, 0xc33707d6)     \
    GGV(c, d, a, b, x[ 3], 14, 0xf4d50d87)     \
    GGV(b, c, d, a, x[ 8], 20, 0x455a14ed)     \
    GGV(a, b, c, d, x[13],  5, 0xa9e3e905)     \
    GGV(d, a, b, c, x[ 2],  9, 0xfcefa3f8)     \
    GGV(c, d, a, b, x[ 7], 14, 0x676f02d9)     \
    GGV(b, c, d, a, x[12], 20, 0x8d2a4c8a)     \
    /* Round 3 */                              \
    HHV(a, b, c, d, x[ 5],  4, 0xfffa3942)     \
    HHV(d, a, b, c, x[ 8], 11, 0x8771f681)     \
    HHV(c, d, a, b, x[11], 16, 0x6d9d6122)     \
    HHV(b, c, d, a, x[14], 23, 0xfde5380c)     \
    HHV(a, b, c, d, x[ 1],  4, 0xa4beea44)     \
    HHV(d, a, b, c, x[ 4], 11, 0x4bdecfa9)     \
    HHV(c, d, a, b, x[ 7], 16, 0xf6bb4b60)     \
    HHV(b, c, d, a, x[10], 23, 0xbebfbc70)     \
    HHV(a, b, c, d, x[13],  4, 0x289b7ec6)     \
    HHV(d, a, b, c, x[ 0], 11, 0xeaa127fa)     \
    HHV(c, d, a, b, x[ 3], 16, 0xd4ef3085)     \
    HHV(b, c, d, a, x[ 6], 23,  0x4881d05)     \
    HHV(a, b, c, d, x[ 9],  4, 0xd9d4d039)     \
    HHV(d, a, b, c, x[12], 11, 0xe6db99e5)     \
    HHV(c, d, a, b, x[15], 16, 0x1fa27cf8)     \
    HHV(b, c, d, a, x[ 2], 23, 0xc4ac5665)     \
    /* Round 4 */                              \
    IIV(a, b, c, d, x[ 0],  6, 0xf4292244)     \
    IIV(d, a, b, c, x[ 7], 10, 0x432aff97)     \
    IIV(c, d, a, b, x[14], 15, 0xab9423a7)     \
    IIV(b, c, d, a, x[ 5], 21, 0xfc93a039)     \
    IIV(a, b, c, d, x[12],  6, 0x655b59c3)     \
    IIV(d, a, b, c, x[ 3], 10, 0x8f0ccc92)     \
    IIV(c, d, a, b, x[10], 15, 0xffeff47d)     \
    IIV(b, c, d, a, x[ 1], 21, 0x85845dd1)     \
    IIV(a, b, c, d, x[ 8],  6, 0x6fa87e4f)     \
    IIV(d, a, b, c, x[15], 10, 0xfe2ce6e0)     \
    IIV(c, d, a, b, x[ 6], 15, 0xa3014314)     \
    IIV(b, c, d, a, x[13], 21, 0x4e0811a1)     \
    IIV(a, b, c, d, x[ 4],  6, 0xf7537e82)     \
    IIV(d, a, b, c, x[11], 10, 0xbd3af235)     \
    IIV(c, d, a, b, x[ 2], 15, 0x2ad7d2bb)     \
    IIV(b, c, d, a, x[ 9], 21, 0xeb86d391)

#ifdef MD5_LANES_X86
#include <immintrin.h>

// The words of one block from each of 8 lanes, turned so that each vector
// holds one word of every lane: words[k] gets word first + k of lanes 0 to 7
// (k = 0 to 7), lane i's block starting at p[i]. Both paths load their 16
// lanes with it, 8 at a time. An 8 x 8 transpose of
// 32-bit words in three stages of shuffles. Static, so that each path file
// has a copy of its own, compiled for its own target: the linker would keep
// only one copy of an inline function shared by both.
__attribute__((target("avx2"), always_inline)) static inline void
MD5LoadWords8(__m256i words[8], const unsigned char *const p[8], int first)
{
    __m256i r0 = _mm256_loadu_si256((const __m256i *)(p[0] + 4 * first));
    __m256i r1 = _mm256_loadu_si256((const __m256i *)(p[1] + 4 * first));
    __m256i r2 = _mm256_loadu_si256((const __m256i *)(p[2] + 4 * first));
    __m256i r3 = _mm256_loadu_si256((const __m256i *)(p[3] + 4 * first));
    __m256i r4 = _mm256_loadu_si256((const __m256i *)(p[4] + 4 * first));
    __m256i r5 = _mm256_loadu_si256((const __m256i *)(p[5] + 4 * first));
    __m256i r6 = _mm256_loadu_si256((const __m256i *)(p[6] + 4 * first));
    __m256i r7 = _mm256_loadu_si256((const __m256i *)(p[7] + 4 * first));

    // Pairs of lanes: (lane 0 word 0, lane 1 word 0, lane 0 word 1, lane 1
    // word 1) in each 128-bit half.
    __m256i t0 = _mm256_unpacklo_epi32(r0, r1), t1 = _mm256_unpackhi_epi32(r0, r1);
    __m256i t2 = _mm256_unpacklo_epi32(r2, r3), t3 = _mm256_unpackhi_epi32(r2, r3);
    __m256i t4 = _mm256_unpacklo_epi32(r4, r5), t5 = _mm256_unpackhi_epi32(r4, r5);
    __m256i t6 = _mm256_unpacklo_epi32(r6, r7), t7 = _mm256_unpackhi_epi32(r6, r7);

    // Quads: one word of lanes 0 to 3 (or 4 to 7) in each half, words k and
    // k + 4 in the low and high half.
    __m256i u0 = _mm256_unpacklo_epi64(t0, t2), u1 = _mm256_unpackhi_epi64(t0, t2);
    __m256i u2 = _mm256_unpacklo_epi64(t1, t3), u3 = _mm256_unpackhi_epi64(t1, t3);
    __m256i u4 = _mm256_unpacklo_epi64(t4, t6), u5 = _mm256_unpackhi_epi64(t4, t6);
    __m256i u6 = _mm256_unpacklo_epi64(t5, t7), u7 = _mm256_unpackhi_epi64(t5, t7);

    // Halves joined: lanes 0 to 3 low, 4 to 7 high.
    words[0] = _mm256_permute2x128_si256(u0, u4, 0x20);
    words[1] = _mm256_permute2x128_si256(u1, u5, 0x20);
    words[2] = _mm256_permute2x128_si256(u2, u6, 0x20);
    words[3] = _mm256_permute2x128_si256(u3, u7, 0x20);
    words[4] = _mm256_permute2x128_si256(u0, u4, 0x31);
    words[5] = _mm256_permute2x128_si256(u1, u5, 0x31);
    words[6] = _mm256_permute2x128_si256(u2, u6, 0x31);
    words[7] = _mm256_permute2x128_si256(u3, u7, 0x31);
}
#endif

// A round function of a pair (AddF and the like): the vector's on each half.
#define MD5_LANES_PAIR_ROUND(Pair, INLINE, Name)                                         \
    INLINE Pair Name(Pair a, Pair b, Pair c, Pair d)                                     \
    {                                                                                    \
        return {Name(a.low, b.low, c.low, d.low), Name(a.high, b.high, c.high, d.high)}; \
    }

// Two vectors of a path stepped together as one of twice the lanes, the low
// vector's lanes first. Each step waits for the one before, and a lone
// vector leaves the vector unit idle for part of that wait; the other
// vector's step fills it. Defines the type Pair and its primitives, each the
// vector's own on both halves, marked INLINE (the path's target).
#define MD5_LANES_PAIR(Pair, Vector, INLINE)                                                            \
    struct Pair {                                                                                       \
        Vector low, high;                                                                               \
    };                                                                                                  \
    INLINE Pair Add(Pair u, Pair v) { return {Add(u.low, v.low), Add(u.high, v.high)}; }                \
    INLINE Pair AddConst(Pair v, std::uint32_t k) { return {AddConst(v.low, k), AddConst(v.high, k)}; } \
    template <int s> INLINE Pair Rotate(Pair v) { return {Rotate<s>(v.low), Rotate<s>(v.high)}; }       \
    MD5_LANES_PAIR_ROUND(Pair, INLINE, AddF)                                                            \
    MD5_LANES_PAIR_ROUND(Pair, INLINE, AddG)                                                            \
    MD5_LANES_PAIR_ROUND(Pair, INLINE, AddH)                                                            \
    MD5_LANES_PAIR_ROUND(Pair, INLINE, AddI)                                                            \
    INLINE void Load(Pair *v, const std::uint32_t *row)                                                 \
    {                                                                                                   \
        Load(&v->low, row);                                                                             \
        Load(&v->high, row + sizeof(Vector) / 4);                                                       \
    }                                                                                                   \
    INLINE void Store(std::uint32_t *row, unsigned mask, Pair v)                                        \
    {                                                                                                   \
        Store(row, mask, v.low);                                                                        \
        Store(row + sizeof(Vector) / 4, mask >> sizeof(Vector) / 4, v.high);                            \
    }                                                                                                   \
    INLINE void LoadWords(Pair x[16], const unsigned char *const p[])                                   \
    {                                                                                                   \
        Vector low[16], high[16];                                                                       \
        LoadWords(low, p);                                                                              \
        LoadWords(high, p + sizeof(Vector) / 4);                                                        \
        /* Unrolled, the halves stay in registers; gcc would keep the loop */                           \
        /* and pass them through memory. */                                                             \
        _Pragma("GCC unroll 16") for (int k = 0; k < 16; k++) x[k] = {low[k], high[k]};                 \
    }

#endif
