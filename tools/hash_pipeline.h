// Many files hashed at once, for md5hex: worker threads, one a processor,
// each read pieces of the files and hash them in the lanes of the vector
// unit (md5lanes.h), a file in a lane of its own, and the results come back
// in the order the names went in. Reading and hashing on every processor,
// neither waits for a thread of its own; one large file is still read ahead
// by a worker while another hashes it.
//
// Memory is bounded whatever the number and size of the files: at most
// HashLimits::pieces buffers of HashLimits::pieceSize bytes (48 MiB), and
// HashLimits::names names with their results (a few hundred bytes each, so
// about a megabyte more). What the workers use is about two pieces a lane.
#ifndef VORKEL_TOOLS_HASH_PIPELINE_H
#define VORKEL_TOOLS_HASH_PIPELINE_H

#include <cstddef>
#include <memory>

// What hashing one file came to.
struct HashResult {
    int status;               // MD5FILE_OK, MD5FILE_OPEN_ERROR or MD5FILE_READ_ERROR (md5file.h)
    int error;                // errno of a failure, as fopen or the read left it
    unsigned char digest[16]; // the digest, when status is MD5FILE_OK; zeros otherwise
};

struct HashLimits {
    // Bytes read at a time, a multiple of 64. Small pieces stay in the
    // processor's caches between their reading and their hashing: measured,
    // 64 KiB pieces went a third faster than 256 KiB ones on a Zen 2, and on
    // a Zen 5 took a fifth less processor time (32 KiB, as much as 64).
    std::size_t pieceSize = 64 * 1024;
    std::size_t pieces = 768;           // read buffers at most (48 MiB)
    std::size_t names = 1024;           // names added and not yet taken back at most
    // Pieces read ahead of a file's hashing at most, by workers that have
    // nothing to hash: a few keep reading and hashing one file going at
    // once. Stopped there, they go on at half as many.
    std::size_t ahead = 8;
    // Worker threads; 0: one a processor. At most 8.
    unsigned workers = 0;
};

class HashPipeline {
public:
    // path: the lanes to hash in (MD5_PATH_..., md5lanes.h). dashIsStdin:
    // the name "-" stands for standard input, read in binary mode to its end
    // and left open; the pipeline is done with it (and with every file) by
    // the time its result can be taken, so that the caller may read it then.
    // Starts the threads.
    HashPipeline(int path, bool dashIsStdin, const HashLimits &limits = HashLimits());
    // Stops the threads; results not taken back are dropped.
    ~HashPipeline();
    HashPipeline(const HashPipeline &) = delete;
    HashPipeline &operator=(const HashPipeline &) = delete;

    // Queues a file to hash (name as fopen takes it), or returns false and
    // queues nothing when HashLimits::names are waiting: take a result first.
    bool Add(const char *name);

    // Waits for the result of the oldest name added and not yet taken back,
    // and takes it; false when there is none.
    bool Next(HashResult *result);

    // Takes that result only if it is there already; false when it is not
    // (or there is none), without waiting.
    bool TryNext(HashResult *result);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

#endif
