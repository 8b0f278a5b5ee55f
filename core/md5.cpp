// MD5 message digest (RFC 1321), after the structure of the RFC's reference
// code: MD5Init, MD5Update and MD5Final over a plain context record, with the
// compression function MD5Transform written out step by step.
#include "md5.h"

namespace {

// Per-step rotation amounts, round by round.
enum {
    S11 = 7,  S12 = 12, S13 = 17, S14 = 22,
    S21 = 5,  S22 = 9,  S23 = 14, S24 = 20,
    S31 = 4,  S32 = 11, S33 = 16, S34 = 23,
    S41 = 6,  S42 = 10, S43 = 15, S44 = 21
};

// 0x80 then zeros: MD5Final feeds as much of it as the message needs.
const unsigned char PADDING[64] = {
    0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0
};

// MD5Transform is expanded inside MD5Update rather than called once per
// block: the call, with its saving and restoring of registers, sits between
// the last step of one block and the first of the next, where every cycle
// adds to the running time (about 1.5% here).
#if defined(__GNUC__)
#define MD5_TRANSFORM_INLINE inline __attribute__((always_inline))
#else
#define MD5_TRANSFORM_INLINE inline
#endif

MD5_TRANSFORM_INLINE void MD5Transform(std::uint32_t state[4], const unsigned char block[64]);
void Encode(unsigned char *output, const std::uint32_t *input, std::uint32_t len);
void Decode(std::uint32_t *output, const unsigned char *input, std::uint32_t len);
void MD5_memcpy(unsigned char *output, const unsigned char *input, std::uint32_t len);
void MD5_memset(unsigned char *output, int value, std::uint32_t len);

// The four round functions, in forms that give the same values as the RFC's
// but keep b, the word computed by the step just before, as few operations
// deep as possible: every step waits for the one before it, so the depth of
// b in each step is what bounds the speed of the whole transform.
// F: (x & y) | (~x & z), selecting with one and and one xor.
#define F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
// G: (x & z) | (y & ~z); the two halves share no bits, so GG below adds them
// separately, the half without x first.
#define G_X(x, z) ((x) & (z))
#define G_Y(y, z) ((y) & ~(z))
// H: x ^ y ^ z, with y ^ z (older words) ready before x is.
#define H(x, y, z) ((x) ^ ((y) ^ (z)))
// I: y ^ (x | ~z).
#define I(x, y, z) ((y) ^ ((x) | ~(z)))

#define ROTATE_LEFT(x, n) (((x) << (n)) | ((x) >> (32 - (n))))

// One step: a = b + ((a + f(b, c, d) + x + ac) <<< s). The sum a + x + ac is
// taken first: it does not depend on b, so it is ready by the time b is.
#define FF(a, b, c, d, x, s, ac) {                  \
    (a) += (x) + (std::uint32_t)(ac);               \
    (a) += F((b), (c), (d));                        \
    (a) = ROTATE_LEFT((a), (s));                    \
    (a) += (b);                                     \
}
#define GG(a, b, c, d, x, s, ac) {                  \
    (a) += (x) + (std::uint32_t)(ac);               \
    (a) += G_Y((c), (d));                           \
    (a) += G_X((b), (d));                           \
    (a) = ROTATE_LEFT((a), (s));                    \
    (a) += (b);                                     \
}
#define HH(a, b, c, d, x, s, ac) {                  \
    (a) += (x) + (std::uint32_t)(ac);               \
    (a) += H((b), (c), (d));                        \
    (a) = ROTATE_LEFT((a), (s));                    \
    (a) += (b);                                     \
}
#define II(a, b, c, d, x, s, ac) {                  \
    (a) += (x) + (std::uint32_t)(ac);               \
    (a) += I((b), (c), (d));                        \
    (a) = ROTATE_LEFT((a), (s));                    \
    (a) += (b);                                     \
}

} // namespace

// Starts a message: zero length, the standard's initial chaining values.
void MD5Init(MD5_CTX *context)
{
    context->count[0] = context->count[1] = 0;
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
}

// Absorbs inputLen bytes: completes the pending block first, then transforms
// whole blocks straight from the caller's input, and keeps the rest.
void MD5Update(MD5_CTX *context, const unsigned char *input, std::uint32_t inputLen)
{
    std::uint32_t i, index, partLen;

    // Bytes already waiting in the buffer.
    index = (std::uint32_t)((context->count[0] >> 3) & 0x3F);

    // Add the length in bits, carrying into the high word.
    if ((context->count[0] += ((std::uint32_t)inputLen << 3)) < ((std::uint32_t)inputLen << 3))
        context->count[1]++;
    context->count[1] += ((std::uint32_t)inputLen >> 29);

    partLen = 64 - index;

    if (inputLen >= partLen) {
        MD5_memcpy(&context->buffer[index], input, partLen);
        MD5Transform(context->state, context->buffer);

        for (i = partLen; i + 63 < inputLen; i += 64)
            MD5Transform(context->state, &input[i]);

        index = 0;
    }
    else
        i = 0;

    MD5_memcpy(&context->buffer[index], &input[i], inputLen - i);
}

// Pads the message to 56 bytes mod 64, appends the bit length, writes the
// digest and wipes the context.
void MD5Final(unsigned char digest[16], MD5_CTX *context)
{
    unsigned char bits[8];
    std::uint32_t index, padLen;

    // The length before padding, low word first.
    Encode(bits, context->count, 8);

    // 55 bytes pending take a single 0x80; 56 or more take a whole extra block.
    index = (std::uint32_t)((context->count[0] >> 3) & 0x3f);
    padLen = (index < 56) ? (56 - index) : (120 - index);
    MD5Update(context, PADDING, padLen);

    MD5Update(context, bits, 8);

    Encode(digest, context->state, 16);

    // Leave nothing of the message behind.
    MD5_memset((unsigned char *)context, 0, sizeof(*context));
}

void MD5TransformBlocks(std::uint32_t state[4], const unsigned char *input, std::size_t blocks)
{
    for (; blocks > 0; blocks--, input += 64)
        MD5Transform(state, input);
}

namespace {

// One compression of a 64-byte block into the chaining values.
MD5_TRANSFORM_INLINE void MD5Transform(std::uint32_t state[4], const unsigned char block[64])
{
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], x[16];

    Decode(x, block, 64);

    /* Round 1 */
    FF(a, b, c, d, x[ 0], S11, 0xd76aa478); /* 1 */
    FF(d, a, b, c, x[ 1], S12, 0xe8c7b756); /* 2 */
    FF(c, d, a, b, x[ 2], S13, 0x242070db); /* 3 */
    FF(b, c, d, a, x[ 3], S14, 0xc1bdceee); /* 4 */
    FF(a, b, c, d, x[ 4], S11, 0xf57c0faf); /* 5 */
    FF(d, a, b, c, x[ 5], S12, 0x4787c62a); /* 6 */
    FF(c, d, a, b, x[ 6], S13, 0xa8304613); /* 7 */
    FF(b, c, d, a, x[ 7], S14, 0xfd469501); /* 8 */
    FF(a, b, c, d, x[ 8], S11, 0x698098d8); /* 9 */
    FF(d, a, b, c, x[ 9], S12, 0x8b44f7af); /* 10 */
    FF(c, d, a, b, x[10], S13, 0xffff5bb1); /* 11 */
    FF(b, c, d, a, x[11], S14, 0x895cd7be); /* 12 */
    FF(a, b, c, d, x[12], S11, 0x6b901122); /* 13 */
    FF(d, a, b, c, x[13], S12, 0xfd987193); /* 14 */
    FF(c, d, a, b, x[14], S13, 0xa679438e); /* 15 */
    FF(b, c, d, a, x[15], S14, 0x49b40821); /* 16 */

    /* Round 2 */
    GG(a, b, c, d, x[ 1], S21, 0xf61e2562); /* 17 */
    GG(d, a, b, c, x[ 6], S22, 0xc040b340); /* 18 */
    GG(c, d, a, b, x[11], S23, 0x265e5a51); /* 19 */
    GG(b, c, d, a, x[ 0], S24, 0xe9b6c7aa); /* 20 */
    GG(a, b, c, d, x[ 5], S21, 0xd62f105d); /* 21 */
    GG(d, a, b, c, x[10], S22,  0x2441453); /* 22 */
    GG(c, d, a, b, x[15], S23, 0xd8a1e681); /* 23 */
    GG(b, c, d, a, x[ 4], S24, 0xe7d3fbc8); /* 24 */
    GG(a, b, c, d, x[ 9], S21, 0x21e1cde6); /* 25 */
    GG(d, a, b, c, x[14], S22, 0xc33707d6); /* 26 */
    GG(c, d, a, b, x[ 3], S23, 0xf4d50d87); /* 27 */
    GG(b, c, d, a, x[ 8], S24, 0x455a14ed); /* 28 */
    GG(a, b, c, d, x[13], S21, 0xa9e3e905); /* 29 */
    GG(d, a, b, c, x[ 2], S22, 0xfcefa3f8); /* 30 */
    GG(c, d, a, b, x[ 7], S23, 0x676f02d9); /* 31 */
    GG(b, c, d, a, x[12], S24, 0x8d2a4c8a); /* 32 */

    /* Round 3 */
    HH(a, b, c, d, x[ 5], S31, 0xfffa3942); /* 33 */
    HH(d, a, b, c, x[ 8], S32, 0x8771f681); /* 34 */
    HH(c, d, a, b, x[11], S33, 0x6d9d6122); /* 35 */
    HH(b, c, d, a, x[14], S34, 0xfde5380c); /* 36 */
    HH(a, b, c, d, x[ 1], S31, 0xa4beea44); /* 37 */
    HH(d, a, b, c, x[ 4], S32, 0x4bdecfa9); /* 38 */
    HH(c, d, a, b, x[ 7], S33, 0xf6bb4b60); /* 39 */
    HH(b, c, d, a, x[10], S34, 0xbebfbc70); /* 40 */
    HH(a, b, c, d, x[13], S31, 0x289b7ec6); /* 41 */
    HH(d, a, b, c, x[ 0], S32, 0xeaa127fa); /* 42 */
    HH(c, d, a, b, x[ 3], S33, 0xd4ef3085); /* 43 */
    HH(b, c, d, a, x[ 6], S34,  0x4881d05); /* 44 */
    HH(a, b, c, d, x[ 9], S31, 0xd9d4d039); /* 45 */
    HH(d, a, b, c, x[12], S32, 0xe6db99e5); /* 46 */
    HH(c, d, a, b, x[15], S33, 0x1fa27cf8); /* 47 */
    HH(b, c, d, a, x[ 2], S34, 0xc4ac5665); /* 48 */

    /* Round 4 */
    II(a, b, c, d, x[ 0], S41, 0xf4292244); /* 49 */
    II(d, a, b, c, x[ 7], S42, 0x432aff97); /* 50 */
    II(c, d, a, b, x[14], S43, 0xab9423a7); /* 51 */
    II(b, c, d, a, x[ 5], S44, 0xfc93a039); /* 52 */
    II(a, b, c, d, x[12], S41, 0x655b59c3); /* 53 */
    II(d, a, b, c, x[ 3], S42, 0x8f0ccc92); /* 54 */
    II(c, d, a, b, x[10], S43, 0xffeff47d); /* 55 */
    II(b, c, d, a, x[ 1], S44, 0x85845dd1); /* 56 */
    II(a, b, c, d, x[ 8], S41, 0x6fa87e4f); /* 57 */
    II(d, a, b, c, x[15], S42, 0xfe2ce6e0); /* 58 */
    II(c, d, a, b, x[ 6], S43, 0xa3014314); /* 59 */
    II(b, c, d, a, x[13], S44, 0x4e0811a1); /* 60 */
    II(a, b, c, d, x[ 4], S41, 0xf7537e82); /* 61 */
    II(d, a, b, c, x[11], S42, 0xbd3af235); /* 62 */
    II(c, d, a, b, x[ 2], S43, 0x2ad7d2bb); /* 63 */
    II(b, c, d, a, x[ 9], S44, 0xeb86d391); /* 64 */

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;

    // The message words are sensitive: wipe them.
    MD5_memset((unsigned char *)x, 0, sizeof(x));
}

// Words to bytes, least significant byte first, whatever the processor's order.
void Encode(unsigned char *output, const std::uint32_t *input, std::uint32_t len)
{
    std::uint32_t i, j;

    for (i = 0, j = 0; j < len; i++, j += 4) {
        output[j]     = (unsigned char)(input[i] & 0xff);
        output[j + 1] = (unsigned char)((input[i] >> 8) & 0xff);
        output[j + 2] = (unsigned char)((input[i] >> 16) & 0xff);
        output[j + 3] = (unsigned char)((input[i] >> 24) & 0xff);
    }
}

// Bytes to words, least significant byte first. Once the loop is unrolled,
// compilers turn each word's expression into a single load on little-endian
// machines; left as a loop, gcc builds the words with vector shuffles instead,
// which puts several cycles before the first step of every block.
void Decode(std::uint32_t *output, const unsigned char *input, std::uint32_t len)
{
    std::uint32_t i, j;

#pragma GCC unroll 16
    for (i = 0, j = 0; j < len; i++, j += 4)
        output[i] = ((std::uint32_t)input[j]) | (((std::uint32_t)input[j + 1]) << 8) |
                    (((std::uint32_t)input[j + 2]) << 16) | (((std::uint32_t)input[j + 3]) << 24);
}

void MD5_memcpy(unsigned char *output, const unsigned char *input, std::uint32_t len)
{
    std::uint32_t i;

    for (i = 0; i < len; i++)
        output[i] = input[i];
}

void MD5_memset(unsigned char *output, int value, std::uint32_t len)
{
    std::uint32_t i;

    for (i = 0; i < len; i++)
        output[i] = (unsigned char)value;
#if defined(__GNUC__)
    // A wipe stores to memory that is never read again, which the optimiser
    // would drop: an empty asm that may read that memory keeps the stores.
    __asm__ __volatile__("" : : "r"(output) : "memory");
#endif
}

} // namespace
