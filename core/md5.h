// MD5 message digest (RFC 1321), organised like the RFC's reference code:
// a context is initialised, fed bytes in pieces of any size, then finalised
// into a 16-byte digest.
#ifndef VORKEL_CORE_MD5_H
#define VORKEL_CORE_MD5_H

#include <cstddef>
#include <cstdint>

// The words are exactly 32 bits wide on every platform: the reference code's
// `unsigned long` is 64 bits on LP64 systems and gives wrong digests there.
struct MD5_CTX {
    std::uint32_t state[4];      // chaining values A, B, C, D
    std::uint32_t count[2];      // message length in bits, mod 2^64, low word first
    unsigned char buffer[64];    // input not yet transformed
};

void MD5Init(MD5_CTX *context);
void MD5Update(MD5_CTX *context, const unsigned char *input, std::uint32_t inputLen);
void MD5Final(unsigned char digest[16], MD5_CTX *context);

// MD5Update's loop over whole blocks: blocks compressions of 64 bytes each,
// read from input one after another, into state. The bit count is the
// caller's to keep (md5lanes.h keeps it in the message's context).
void MD5TransformBlocks(std::uint32_t state[4], const unsigned char *input, std::size_t blocks);

#endif
