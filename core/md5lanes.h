// MD5 over several messages at once. MD5 can't go faster within a message,
// whose every step waits for the one before, but a vector unit can run the
// compression for a different message in each of its lanes: 8 in an AVX2
// register, 16 in an AVX-512 one. Each vector path steps two registers
// together: 16 lanes with AVX2, 32 with AVX-512. A lane takes a piece of a message
// (its context and bytes, as MD5Update takes them); MD5LanesRun hashes the
// busy lanes side by side until a piece ends, and the lane is then free for
// the next piece.
#ifndef VORKEL_CORE_MD5LANES_H
#define VORKEL_CORE_MD5LANES_H

#include <cstddef>
#include <cstdint>

#include "md5.h"

// The ways to run the compression, narrowest first.
enum {
    MD5_PATH_SCALAR = 0, // the core's MD5Transform, one message at a time
    MD5_PATH_AVX2,       // 16 lanes in two vectors of 8
    MD5_PATH_AVX512      // 32 lanes in two vectors of 16
};

#define MD5_LANES_MAX 32

// Busy lanes, chaining values and next blocks of every lane. The chaining
// values are kept one row a word (A, B, C, D), a column a lane, so that a
// row loads into one vector.
struct MD5_LANES {
    int path;                                  // MD5_PATH_...
    int width;                                 // lanes: 1, 16 or 32
    std::uint32_t state[4][MD5_LANES_MAX];     // A, B, C, D of each lane
    const unsigned char *block[MD5_LANES_MAX]; // each lane's next block
    std::size_t blocks[MD5_LANES_MAX];         // whole blocks left in its piece
    MD5_CTX *context[MD5_LANES_MAX];           // its message; null when idle
};

// The widest path this processor has and this system saves the registers
// of (CPUID, and XGETBV for the system's part); MD5_PATH_SCALAR elsewhere.
int MD5LanesSupported(void);

// Lanes of path: 1 for the scalar core, 16 for AVX2, 32 for AVX-512.
int MD5LanesWidth(int path);

// Starts a set of idle lanes that run path (one the processor supports).
void MD5LanesInit(MD5_LANES *lanes, int path);

// Gives inputLen bytes of context's message to an idle lane and returns the
// lane, or -1 when every lane is busy. The bytes that complete a block
// already begun and those after the last whole block are absorbed at once;
// the whole blocks between wait for MD5LanesRun. Until the lane's piece
// ends, the context and the bytes must be left alone.
int MD5LanesAdd(MD5_LANES *lanes, MD5_CTX *context, const unsigned char *input,
                std::size_t inputLen);

// Hashes the busy lanes' blocks, all at once, until the piece of one or more
// ends; their contexts are then as MD5Update would have left them, and the
// lanes idle. Too few busy lanes to pay for the vector unit are hashed to
// their end by the scalar core instead. Returns the lanes whose piece ended,
// a bit each (bit i for lane i); 0 when none was busy.
unsigned MD5LanesRun(MD5_LANES *lanes);

#endif
