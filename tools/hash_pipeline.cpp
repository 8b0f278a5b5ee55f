// The pipeline's threads: the reader, the hashers, and the caller's side
// (Add, Next), all meeting under one lock. Each name becomes a job; the
// reader opens the jobs in order and appends the pieces it reads; a hasher's
// idle lane takes the next piece of a job whose pieces are waiting (one piece
// of a job in a lane at a time: they must be hashed in order); the last
// piece's end finishes the digest.
//
// Why this cannot deadlock with every buffer in use: only the file being read
// can lack pieces that have not been read yet; every other job with pieces
// has all it needs in memory, so some lane can always go on and free a
// buffer, and hashers never wait for lanes to fill.
#include "hash_pipeline.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "md5.h"
#include "md5file.h"
#include "md5lanes.h"
#include "standard_streams.h"

namespace {

// Bytes read, waiting to be hashed.
struct Piece {
    unsigned char *bytes;
    std::size_t size;
};

// One name on its way through: read, hashed, taken back.
struct Job {
    std::string name;
    MD5_CTX context;
    std::deque<Piece> pieces; // read, not yet in a lane
    bool read = false;        // the reader is done with the file
    bool hashing = false;     // a piece of it is in a lane
    bool done = false;        // result holds the outcome
    HashResult result = {};
};

// Done with a file: closed, or for standard input its end-of-file flag
// cleared (it may be named again, or read by the caller next).
void Release(std::FILE *file)
{
    if (file == stdin)
        std::clearerr(stdin);
    else
        std::fclose(file);
}

} // namespace

struct HashPipeline::State {
    int path;
    bool dashIsStdin;
    HashLimits limits;
    unsigned hashers;

    std::mutex mutex;
    std::condition_variable readerWakes;  // a name, or room to read (see WakeReader)
    std::condition_variable hashersWake;  // pieces waiting
    std::condition_variable resultReady;  // a job done
    std::deque<Job> jobs;                 // added and not yet taken back, oldest first
    std::size_t opened = 0;               // jobs[opened] is the next for the reader
    std::deque<Job *> ready;              // jobs with pieces waiting and none in a lane
    std::vector<unsigned char *> freeBuffers;
    std::vector<std::unique_ptr<unsigned char[]>> buffers; // every one allocated
    unsigned busyLanes = 0;               // over all hashers
    bool stopping = false;
    // While the reader waits for room in the middle of a file: the file, and
    // the read-ahead it waits to come under.
    const Job *waitingToRead = nullptr;
    std::size_t waitingAhead = 0;

    std::thread reader;
    std::vector<std::thread> hashing;

    void ReadFiles();
    void ReadFile(Job &job, std::unique_lock<std::mutex> &lock);
    bool CanRead(const Job &job, std::size_t ahead) const;
    void WakeReader();
    void HashPieces();
    unsigned Share() const;
    void Finish(Job &job);
    void TakeOldest(HashResult *result);
};

// The reader's thread: every job in turn.
void HashPipeline::State::ReadFiles()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        readerWakes.wait(lock, [this] { return stopping || opened < jobs.size(); });
        if (stopping)
            return;
        ReadFile(jobs[opened++], lock);
    }
}

// Whether the reader may fill another piece of job: a buffer is free or may
// be allocated, and job, when no name follows it, is not ahead of its
// hashing by `ahead` pieces or more.
bool HashPipeline::State::CanRead(const Job &job, std::size_t ahead) const
{
    bool buffer = !freeBuffers.empty() || buffers.size() < limits.pieces;
    bool lastNamed = opened == jobs.size();
    return buffer && !(lastNamed && job.pieces.size() >= ahead);
}

// Reads job's file to its end, handing each piece to the hashers as it is
// filled. Called, and returns, with lock held; reads and opens without it.
void HashPipeline::State::ReadFile(Job &job, std::unique_lock<std::mutex> &lock)
{
    const bool isStdin = dashIsStdin && job.name == "-";
    lock.unlock();
    std::FILE *file = stdin;
    if (isStdin)
        SetBinary(stdin);
    else if ((file = std::fopen(job.name.c_str(), "rb")) != NULL)
        std::setvbuf(file, NULL, _IONBF, 0); // the reads go straight into the pieces
    int error = errno;
    lock.lock();
    if (file == NULL) {
        job.result.status = MD5FILE_OPEN_ERROR;
        job.result.error = error;
        job.read = true;
        Finish(job);
        return;
    }

    for (;;) {
        // Stopped by the read-ahead, go on only when it has halved: a wait
        // for every piece would cost a thread switch a piece.
        if (!CanRead(job, limits.lastFileAhead)) {
            waitingToRead = &job;
            waitingAhead = (limits.lastFileAhead + 1) / 2;
            readerWakes.wait(lock, [&] { return stopping || CanRead(job, waitingAhead); });
            waitingToRead = nullptr;
        }
        if (stopping)
            break;
        unsigned char *bytes;
        if (!freeBuffers.empty()) {
            bytes = freeBuffers.back();
            freeBuffers.pop_back();
        } else {
            buffers.emplace_back(new unsigned char[limits.pieceSize]);
            bytes = buffers.back().get();
        }

        lock.unlock();
        std::size_t n = std::fread(bytes, 1, limits.pieceSize, file);
        bool failed = std::ferror(file) != 0;
        error = errno;
        // A short read is the end of the file or an error: the file is let
        // go before the job can be done, so that nothing here touches it
        // (standard input above all) once its result may be taken back.
        bool end = n < limits.pieceSize;
        if (end)
            Release(file);
        lock.lock();

        if (n == 0) {
            freeBuffers.push_back(bytes);
        } else {
            job.pieces.push_back({bytes, n});
            if (!job.hashing && job.pieces.size() == 1) {
                ready.push_back(&job);
                hashersWake.notify_all();
            }
        }
        // Only the end of the file yields a digest. job may be taken back
        // from here on: it is not touched again.
        if (end) {
            if (failed) {
                job.result.status = MD5FILE_READ_ERROR;
                job.result.error = error;
            }
            job.read = true;
            if (!job.hashing && job.pieces.empty())
                Finish(job);
            return;
        }
    }

    // Stopped in the middle of the file: nobody waits for it any more.
    lock.unlock();
    Release(file);
    lock.lock();
}

// Wakes the reader if it waits for room and now has it; waking it for less
// would only put it to sleep again, a thread switch each time.
void HashPipeline::State::WakeReader()
{
    if (waitingToRead != nullptr && CanRead(*waitingToRead, waitingAhead))
        readerWakes.notify_one();
}

// This hasher's fair part of the lanes' work: the busy lanes and waiting
// jobs of all hashers spread evenly, so that a few files are hashed on as
// many processors, not in one hasher's lanes.
unsigned HashPipeline::State::Share() const
{
    return (unsigned)((busyLanes + ready.size() + hashers - 1) / hashers);
}

// A hasher's thread: its lanes filled with waiting pieces and run until one
// ends, over and over.
void HashPipeline::State::HashPieces()
{
    MD5_LANES lanes;
    MD5LanesInit(&lanes, path);
    Job *laneJob[MD5_LANES_MAX] = {};
    unsigned char *laneBytes[MD5_LANES_MAX] = {};
    unsigned busy = 0;

    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        while (busy < (unsigned)lanes.width && !ready.empty() && busy < Share()) {
            Job *job = ready.front();
            ready.pop_front();
            Piece piece = job->pieces.front();
            job->pieces.pop_front();
            job->hashing = true;
            int lane = MD5LanesAdd(&lanes, &job->context, piece.bytes, piece.size);
            laneJob[lane] = job;
            laneBytes[lane] = piece.bytes;
            busy++;
            busyLanes++;
        }
        WakeReader(); // pieces taken: the last file's read-ahead shrank
        if (stopping)
            return;
        if (busy == 0) {
            hashersWake.wait(lock);
            continue;
        }

        lock.unlock();
        unsigned ended = MD5LanesRun(&lanes);
        lock.lock();

        for (int lane = 0; lane < lanes.width; lane++) {
            if (!(ended & (1u << lane)))
                continue;
            Job *job = laneJob[lane];
            freeBuffers.push_back(laneBytes[lane]);
            job->hashing = false;
            busy--;
            busyLanes--;
            // Its next piece first: the oldest jobs finish first, and their
            // buffers come free for the reader soonest.
            if (!job->pieces.empty())
                ready.push_front(job);
            else if (job->read)
                Finish(*job);
        }
        WakeReader(); // buffers freed
        if (!ready.empty())
            hashersWake.notify_all();
    }
}

// The digest of a job read and hashed to its end. Called with the lock held.
void HashPipeline::State::Finish(Job &job)
{
    MD5Final(job.result.digest, &job.context); // which also wipes the context
    if (job.result.status != MD5FILE_OK)
        std::memset(job.result.digest, 0, sizeof(job.result.digest));
    job.done = true;
    resultReady.notify_one();
}

HashPipeline::HashPipeline(int path, bool dashIsStdin, const HashLimits &limits)
    : m_state(new State)
{
    State &s = *m_state;
    s.path = path;
    s.dashIsStdin = dashIsStdin;
    s.limits = limits;
    s.limits.pieceSize = std::max<std::size_t>(64, limits.pieceSize / 64 * 64);
    s.limits.pieces = std::max<std::size_t>(1, limits.pieces);
    s.limits.names = std::max<std::size_t>(1, limits.names);
    s.limits.lastFileAhead = std::max<std::size_t>(1, limits.lastFileAhead);
    s.hashers = limits.hashers;
    if (s.hashers == 0) {
        unsigned processors = std::max(1u, std::thread::hardware_concurrency());
        if (path != MD5_PATH_SCALAR && processors > 1)
            processors--;
        s.hashers = std::min(8u, processors);
    }

    s.reader = std::thread(&State::ReadFiles, &s);
    for (unsigned i = 0; i < s.hashers; i++)
        s.hashing.emplace_back(&State::HashPieces, &s);
}

HashPipeline::~HashPipeline()
{
    State &s = *m_state;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.stopping = true;
    }
    s.readerWakes.notify_all();
    s.hashersWake.notify_all();
    s.reader.join();
    for (std::thread &t : s.hashing)
        t.join();
}

bool HashPipeline::Add(const char *name)
{
    State &s = *m_state;
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.jobs.size() >= s.limits.names)
        return false;
    s.jobs.emplace_back();
    s.jobs.back().name = name;
    MD5Init(&s.jobs.back().context);
    s.readerWakes.notify_one(); // a name to read, or one after the file being read
    return true;
}

bool HashPipeline::Next(HashResult *result)
{
    State &s = *m_state;
    std::unique_lock<std::mutex> lock(s.mutex);
    if (s.jobs.empty())
        return false;
    s.resultReady.wait(lock, [&s] { return s.jobs.front().done; });
    s.TakeOldest(result);
    return true;
}

bool HashPipeline::TryNext(HashResult *result)
{
    State &s = *m_state;
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.jobs.empty() || !s.jobs.front().done)
        return false;
    s.TakeOldest(result);
    return true;
}

// The oldest job's result, the job dropped. Called with the lock held, the
// job done.
void HashPipeline::State::TakeOldest(HashResult *result)
{
    *result = jobs.front().result;
    jobs.pop_front();
    opened--; // a job is done only once it has been opened
}
