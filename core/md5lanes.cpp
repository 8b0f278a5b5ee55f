// MD5 in lanes: which vector path the processor can run, and the lanes'
// bookkeeping around the paths' compression functions (md5lanes_avx2.cpp,
// md5lanes_avx512.cpp): pieces given to lanes, runs until a piece ends, the
// scalar core for too few busy lanes.
#include "md5lanes.h"

#include "md5lanes_rounds.h"

#ifdef MD5_LANES_X86
#include <cpuid.h>
#endif

namespace {

// How the busy lanes are hashed fastest. Measured on a Zen 2 (AVX2): the
// scalar core 0.65 GB/s; 8 lanes in one vector 3.3 GB/s, 0.41 a lane; 16 in
// two vectors 4.2 GB/s, 0.26 a lane, as slow with few lanes busy as with
// all. So: one busy lane, the scalar core; up to 8, all among the first 8
// (MD5LanesAdd fills the lowest idle lane), one vector; more, two vectors,
// which pay from three busy lanes on. On a Zen 5 (AVX-512), a block of
// every lane takes the scalar core 85 ns, one vector of 16 lanes 200 ns and
// two vectors of 16 300 ns: one vector pays from three busy lanes on, two
// from four.
enum { RUN_SCALAR, RUN_AVX2_LOW8, RUN_AVX2, RUN_AVX512_LOW16, RUN_AVX512 };

int HowToRun(int path, unsigned busy, int busyCount)
{
    if (path == MD5_PATH_SCALAR || busyCount < 2)
        return RUN_SCALAR;
    if (path == MD5_PATH_AVX512) {
        if ((busy & 0xffff) == busy)
            return busyCount >= 3 ? RUN_AVX512_LOW16 : RUN_SCALAR;
        return busyCount >= 4 ? RUN_AVX512 : RUN_SCALAR;
    }
    if ((busy & 0xff) == busy)
        return RUN_AVX2_LOW8;
    return busyCount >= 3 ? RUN_AVX2 : RUN_SCALAR;
}

// Adds bytes (a multiple of 64) to the message length in bits, carrying into
// the high word.
void AddToCount(MD5_CTX *context, std::size_t bytes)
{
    std::uint64_t bits = ((std::uint64_t)context->count[1] << 32 | context->count[0]) +
                         ((std::uint64_t)bytes << 3);
    context->count[0] = (std::uint32_t)bits;
    context->count[1] = (std::uint32_t)(bits >> 32);
}

void GetColumn(const MD5_LANES *lanes, int lane, std::uint32_t state[4])
{
    for (int w = 0; w < 4; w++)
        state[w] = lanes->state[w][lane];
}

void SetColumn(MD5_LANES *lanes, int lane, const std::uint32_t state[4])
{
    for (int w = 0; w < 4; w++)
        lanes->state[w][lane] = state[w];
}

#ifdef MD5_LANES_X86
// The extended control register XCR0: which register state the system saves
// on a thread switch. Only to be read where CPUID says OSXSAVE.
std::uint64_t ReadXCR0(void)
{
    std::uint32_t low, high;
    __asm__ __volatile__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (std::uint64_t)high << 32 | low;
}
#endif

} // namespace

int MD5LanesSupported(void)
{
#ifdef MD5_LANES_X86
    unsigned int eax, ebx, ecx, edx;

    // Leaf 1: AVX (ECX bit 28), and OSXSAVE (bit 27): the system saves
    // extended state with XSAVE, so that XCR0 can be read.
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || !(ecx & (1u << 27)) || !(ecx & (1u << 28)))
        return MD5_PATH_SCALAR;
    std::uint64_t xcr0 = ReadXCR0();
    // XMM and YMM state (bits 1 and 2) saved: 256-bit registers keep their
    // upper halves across thread switches.
    if ((xcr0 & 0x6) != 0x6)
        return MD5_PATH_SCALAR;

    // Leaf 7: AVX2 (EBX bit 5), AVX512F (bit 16).
    if (__get_cpuid_max(0, NULL) < 7)
        return MD5_PATH_SCALAR;
    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    if (!(ebx & (1u << 5)))
        return MD5_PATH_SCALAR;
    // For AVX-512 also the mask registers and all 32 registers' 512 bits
    // (bits 5, 6 and 7).
    if ((ebx & (1u << 16)) && (xcr0 & 0xe6) == 0xe6)
        return MD5_PATH_AVX512;
    return MD5_PATH_AVX2;
#else
    return MD5_PATH_SCALAR;
#endif
}

int MD5LanesWidth(int path)
{
    switch (path) {
    case MD5_PATH_AVX2:
        return 16;
    case MD5_PATH_AVX512:
        return 32;
    default:
        return 1;
    }
}

void MD5LanesInit(MD5_LANES *lanes, int path)
{
#ifndef MD5_LANES_X86
    path = MD5_PATH_SCALAR; // the vector paths are x86's
#endif
    lanes->path = path;
    lanes->width = MD5LanesWidth(path);
    for (int i = 0; i < MD5_LANES_MAX; i++) {
        for (int w = 0; w < 4; w++)
            lanes->state[w][i] = 0;
        lanes->block[i] = NULL;
        lanes->blocks[i] = 0;
        lanes->context[i] = NULL;
    }
}

int MD5LanesAdd(MD5_LANES *lanes, MD5_CTX *context, const unsigned char *input,
                std::size_t inputLen)
{
    int lane;
    for (lane = 0; lane < lanes->width && lanes->context[lane] != NULL; lane++)
        ;
    if (lane == lanes->width)
        return -1;

    // Bytes that complete a block already begun go through MD5Update.
    std::uint32_t index = (context->count[0] >> 3) & 0x3F;
    if (index != 0) {
        std::size_t head = inputLen < 64 - index ? inputLen : 64 - index;
        MD5Update(context, input, (std::uint32_t)head);
        input += head;
        inputLen -= head;
    }

    // The whole blocks are the lane's; they are counted now.
    std::uint32_t state[4] = {context->state[0], context->state[1], context->state[2],
                              context->state[3]};
    SetColumn(lanes, lane, state);
    lanes->block[lane] = input;
    lanes->blocks[lane] = inputLen / 64;
    lanes->context[lane] = context;
    AddToCount(context, inputLen / 64 * 64);

    // The rest waits in the context's buffer, which is empty now: MD5Update
    // only copies it there. It comes after the lane's blocks in the message,
    // and nothing reads the buffer before the lane has ended.
    MD5Update(context, input + inputLen / 64 * 64, (std::uint32_t)(inputLen % 64));
    return lane;
}

unsigned MD5LanesRun(MD5_LANES *lanes)
{
    unsigned busy = 0;
    int busyCount = 0, first = 0;
    std::size_t run = 0;
    for (int i = 0; i < lanes->width; i++) {
        if (lanes->context[i] == NULL)
            continue;
        if (busy == 0 || lanes->blocks[i] < run)
            run = lanes->blocks[i];
        if (busy == 0)
            first = i;
        busy |= 1u << i;
        busyCount++;
    }
    if (busy == 0)
        return 0;

    int how = HowToRun(lanes->path, busy, busyCount);
    if (how == RUN_SCALAR) {
        // Each busy lane's piece to its end, one after another.
        for (int i = 0; i < lanes->width; i++) {
            if (!(busy & (1u << i)))
                continue;
            std::uint32_t state[4];
            GetColumn(lanes, i, state);
            MD5TransformBlocks(state, lanes->block[i], lanes->blocks[i]);
            SetColumn(lanes, i, state);
            lanes->block[i] += 64 * lanes->blocks[i];
            lanes->blocks[i] = 0;
        }
    } else if (run > 0) {
        // As many blocks as the shortest piece has, in every lane. Idle lanes
        // read the first busy lane's blocks, which are there to be read; the
        // mask keeps their columns as they were.
        const unsigned char *block[MD5_LANES_MAX];
        for (int i = 0; i < MD5_LANES_MAX; i++)
            block[i] = (busy & (1u << i)) ? lanes->block[i] : lanes->block[first];
#ifdef MD5_LANES_X86
        if (how == RUN_AVX512)
            MD5TransformAVX512(lanes->state, block, run, busy);
        else if (how == RUN_AVX512_LOW16)
            MD5TransformAVX512Low16(lanes->state, block, run, busy);
        else if (how == RUN_AVX2)
            MD5TransformAVX2(lanes->state, block, run, busy);
        else
            MD5TransformAVX2Low8(lanes->state, block, run, busy);
#endif
        for (int i = 0; i < lanes->width; i++) {
            if (busy & (1u << i)) {
                lanes->block[i] += 64 * run;
                lanes->blocks[i] -= run;
            }
        }
    }

    // Ended pieces: the chaining values back into their contexts.
    unsigned ended = 0;
    for (int i = 0; i < lanes->width; i++) {
        if (!(busy & (1u << i)) || lanes->blocks[i] != 0)
            continue;
        GetColumn(lanes, i, lanes->context[i]->state);
        lanes->context[i] = NULL;
        ended |= 1u << i;
    }
    return ended;
}
