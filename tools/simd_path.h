// Which lanes md5hex hashes in (md5lanes.h): the widest path the processor
// and the system support, or a narrower one that the environment variable
// MD5HEX_SIMD asks for (scalar, avx2 or avx512, in any case), for benchmarks
// and for anyone who needs it. It only ever narrows the choice; any other
// value is passed over.
#ifndef VORKEL_TOOLS_SIMD_PATH_H
#define VORKEL_TOOLS_SIMD_PATH_H

int SimdPath();

#endif
