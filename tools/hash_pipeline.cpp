// The pipeline's threads: the workers and the caller's side (Add, Next), all
// meeting under one lock. Each name becomes a job. A worker both reads and
// hashes: it fills its idle lanes with pieces already read, or else reads
// the next piece of a job that no lane holds (opening the next job named
// when none is left), reads the next piece of each job in its lanes so that
// it is there when the lane ends, and then runs its lanes until a piece
// ends. A worker with no lane busy reads ahead for the others' jobs. A job
// is read by one worker at a time, in order, and is in one lane at a time
// (its pieces must be hashed in order); the end of its reading and of its
// last piece's hashing, whichever comes later, finishes its digest.
//
// Reading and hashing on the same processor, the piece just read is still in
// its caches, and as many processors hash as there are. A file that has a
// lane to itself is read ahead by the workers that have nothing to hash, so
// that one large file is still read and hashed at once.
//
// Why this cannot deadlock with every buffer in use: every buffer holds a
// piece in a lane, or waiting for its job's lane to end, or of a job in no
// lane, which a worker with fewer busy lanes than its share takes; lanes
// always run to their pieces' ends, and that frees buffers.
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
    bool isStdin = false;
    MD5_CTX context;
    std::FILE *file = nullptr; // open from its first read to its end
    std::deque<Piece> pieces;  // read, not yet in a lane
    bool reading = false;      // a worker reads it now
    bool read = false;         // its reading is over: the file let go
    bool hashing = false;      // a piece of it is in a lane
    bool done = false;         // result holds the outcome
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
    unsigned workers;

    std::mutex mutex;
    std::condition_variable workArrives; // for workers with nothing to do
    std::condition_variable resultReady; // a job done
    std::deque<Job> jobs;                // added and not yet taken back, oldest first
    std::size_t opened = 0;              // jobs[opened] is the next to open
    std::vector<Job *> active;           // opened, not done
    std::deque<Job *> ready;             // jobs with pieces waiting and none in a lane
    std::vector<unsigned char *> freeBuffers;
    std::vector<std::unique_ptr<unsigned char[]>> buffers; // every one allocated
    unsigned busyLanes = 0;              // over all workers
    unsigned idleWorkers = 0;            // waiting on workArrives
    unsigned wakes = 0;                  // of them woken, and not yet running
    bool stdinOpen = false;              // a job reads standard input now
    bool stopping = false;

    std::vector<std::thread> threads;

    void Work();
    Job *JobForLane();
    Job *JobToReadAhead(std::size_t ahead);
    bool HasBuffer() const;
    void ReadPiece(Job &job, std::unique_lock<std::mutex> &lock);
    unsigned Share() const;
    bool WorkForIdle();
    void WakeIdle();
    void Finish(Job &job);
    void TakeOldest(HashResult *result);
};

// A worker's thread.
void HashPipeline::State::Work()
{
    MD5_LANES lanes;
    MD5LanesInit(&lanes, path);
    Job *laneJob[MD5_LANES_MAX] = {};
    unsigned char *laneBytes[MD5_LANES_MAX] = {};
    unsigned busy = 0;

    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        if (stopping)
            return;
        // Idle lanes take pieces waiting, up to this worker's share.
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
        WakeIdle(); // before the lock is let go for a read or a run

        // A piece for an idle lane: the next of a job in no lane.
        Job *job = nullptr;
        if (busy < (unsigned)lanes.width && busy < Share() && HasBuffer())
            job = JobForLane();
        // Else the next piece of a job in this worker's lanes, there when
        // its lane ends.
        for (int lane = 0; job == nullptr && lane < lanes.width; lane++) {
            Job *j = laneJob[lane];
            if (j != nullptr && !j->reading && !j->read && j->pieces.empty() && HasBuffer())
                job = j;
        }
        // Nothing to hash: read ahead for the others' lanes.
        if (job == nullptr && busy == 0 && HasBuffer())
            job = JobToReadAhead(limits.ahead);
        if (job != nullptr) {
            ReadPiece(*job, lock);
            continue;
        }

        if (busy == 0) {
            idleWorkers++;
            while (!stopping && !WorkForIdle()) {
                workArrives.wait(lock);
                if (wakes > 0)
                    wakes--;
            }
            idleWorkers--;
            continue;
        }

        lock.unlock();
        unsigned ended = MD5LanesRun(&lanes);
        lock.lock();
        for (int lane = 0; lane < lanes.width; lane++) {
            if (!(ended & (1u << lane)))
                continue;
            Job *j = laneJob[lane];
            laneJob[lane] = nullptr;
            freeBuffers.push_back(laneBytes[lane]);
            j->hashing = false;
            busy--;
            busyLanes--;
            // Its next piece first: the oldest jobs finish first.
            if (!j->pieces.empty())
                ready.push_front(j);
            else if (j->read)
                Finish(*j);
        }
    }
}

// The job whose next piece an idle lane would take: one opened already that
// no lane holds and no worker reads, with nothing waiting, or else the next
// job named (standard input only once its last reading is over). Null when
// there is none.
Job *HashPipeline::State::JobForLane()
{
    for (Job *job : active)
        if (!job->hashing && !job->reading && !job->read && job->pieces.empty())
            return job;
    if (opened == jobs.size())
        return nullptr;
    Job &next = jobs[opened];
    if (next.isStdin && stdinOpen)
        return nullptr;
    opened++;
    active.push_back(&next);
    return &next;
}

// The oldest job that fewer than `ahead` pieces wait for, whose next piece
// no lane would take yet: it is in a lane, or pieces of it wait already.
Job *HashPipeline::State::JobToReadAhead(std::size_t ahead)
{
    for (Job *job : active)
        if (!job->reading && !job->read && (job->hashing || !job->pieces.empty()) &&
            job->pieces.size() < ahead)
            return job;
    return nullptr;
}

bool HashPipeline::State::HasBuffer() const
{
    return !freeBuffers.empty() || buffers.size() < limits.pieces;
}

// Reads job's next piece into a free buffer, opening the file first if this
// is its first. The end of the file, or a failure to open or read it, ends
// its reading. Called, and returns, with lock held; opens and reads without.
void HashPipeline::State::ReadPiece(Job &job, std::unique_lock<std::mutex> &lock)
{
    job.reading = true;
    unsigned char *bytes;
    if (!freeBuffers.empty()) {
        bytes = freeBuffers.back();
        freeBuffers.pop_back();
    } else {
        buffers.emplace_back(new unsigned char[limits.pieceSize]);
        bytes = buffers.back().get();
    }
    const bool first = job.file == nullptr;
    if (first && job.isStdin)
        stdinOpen = true;

    lock.unlock();
    std::FILE *file = job.file;
    int error = 0;
    if (first) {
        if (job.isStdin) {
            file = stdin;
            SetBinary(stdin);
        } else if ((file = std::fopen(job.name.c_str(), "rb")) != NULL) {
            std::setvbuf(file, NULL, _IONBF, 0); // the reads go straight into the pieces
        } else {
            error = errno;
        }
    }
    std::size_t n = 0;
    bool failed = false;
    if (file != NULL) {
        n = std::fread(bytes, 1, limits.pieceSize, file);
        failed = std::ferror(file) != 0;
        error = errno;
        // A short read is the end of the file or an error: the file is let
        // go before the job can be done, so that nothing here touches it
        // (standard input above all) once its result may be taken back.
        if (n < limits.pieceSize)
            Release(file);
    }
    lock.lock();

    job.reading = false;
    job.file = file;
    if (n == 0) {
        freeBuffers.push_back(bytes);
    } else {
        job.pieces.push_back({bytes, n});
        if (!job.hashing && job.pieces.size() == 1)
            ready.push_back(&job);
    }
    if (file != NULL && n == limits.pieceSize)
        return;

    // The end: only the end of the file yields a digest.
    if (file == NULL) {
        job.result.status = MD5FILE_OPEN_ERROR;
        job.result.error = error;
    } else if (failed) {
        job.result.status = MD5FILE_READ_ERROR;
        job.result.error = error;
    }
    job.file = nullptr;
    job.read = true;
    if (job.isStdin)
        stdinOpen = false;
    if (!job.hashing && job.pieces.empty())
        Finish(job);
}

// This worker's fair part of the lanes' work: the busy lanes of all workers,
// the jobs waiting for a lane and those not yet opened, spread evenly, so
// that a few files are hashed on as many processors, not in one worker's
// lanes.
unsigned HashPipeline::State::Share() const
{
    std::size_t waiting = ready.size() + (jobs.size() - opened);
    for (const Job *job : active)
        if (!job->hashing && !job->reading && !job->read && job->pieces.empty())
            waiting++;
    return (unsigned)((busyLanes + waiting + workers - 1) / workers);
}

// Whether a worker with no busy lane has something to do. Reading ahead
// waits until the job's read-ahead has halved: a wake for every piece would
// cost a thread switch a piece.
bool HashPipeline::State::WorkForIdle()
{
    if (!ready.empty())
        return true;
    if (!HasBuffer())
        return false;
    for (Job *job : active)
        if (!job->hashing && !job->reading && !job->read && job->pieces.empty())
            return true;
    if (opened < jobs.size() && !(jobs[opened].isStdin && stdinOpen))
        return true;
    return JobToReadAhead((limits.ahead + 1) / 2) != nullptr;
}

// Wakes a worker that has nothing to do if there is now something for it,
// and none woken already is yet to run: waking more would only cost a
// system call each time (the caller adding a thousand names, for one).
void HashPipeline::State::WakeIdle()
{
    if (idleWorkers > wakes && WorkForIdle()) {
        wakes++;
        workArrives.notify_one();
    }
}

// The digest of a job read and hashed to its end. Called with the lock held.
void HashPipeline::State::Finish(Job &job)
{
    MD5Final(job.result.digest, &job.context); // which also wipes the context
    if (job.result.status != MD5FILE_OK)
        std::memset(job.result.digest, 0, sizeof(job.result.digest));
    job.done = true;
    active.erase(std::find(active.begin(), active.end(), &job));
    if (&job == &jobs.front()) // the only result Next waits for
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
    s.limits.ahead = std::max<std::size_t>(1, limits.ahead);
    s.workers = limits.workers;
    if (s.workers == 0)
        s.workers = std::min(8u, std::max(1u, std::thread::hardware_concurrency()));

    for (unsigned i = 0; i < s.workers; i++)
        s.threads.emplace_back(&State::Work, &s);
}

HashPipeline::~HashPipeline()
{
    State &s = *m_state;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.stopping = true;
    }
    s.workArrives.notify_all();
    for (std::thread &t : s.threads)
        t.join();
    // Files whose reading was stopped half way: nobody waits for them.
    for (Job *job : s.active)
        if (job->file != nullptr)
            Release(job->file);
}

bool HashPipeline::Add(const char *name)
{
    State &s = *m_state;
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.jobs.size() >= s.limits.names)
        return false;
    s.jobs.emplace_back();
    Job &job = s.jobs.back();
    job.name = name;
    job.isStdin = s.dashIsStdin && job.name == "-";
    MD5Init(&job.context);
    s.WakeIdle();
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
