// md5hex -c: checks the files that sums files list, as md5sum -c does
// (coreutils 9.1's digest_check): a line on standard output for each
// ("NAME: OK", "NAME: FAILED", "NAME: FAILED open or read"), md5sum's
// messages and warnings on standard error, and its exit status. Reading a
// sums file (sums_reader.h), taking its lines apart (sums_line.h), hashing
// the listed files (hash_pipeline.h) and reporting (here) are each on their
// own.
//
// The listed files are hashed many at once, while the sums file is still
// being read, and yet each line is reported in its turn, as if every file
// were hashed after the line before it was reported: a line waiting for its
// report (a file not hashed yet, or a warning behind one) waits in the
// checker's queue, which is bounded. Before a sums file's summary, and so
// before anything else reads standard input, every line of it has been
// reported and the pipeline is done with standard input.
#ifndef VORKEL_TOOLS_CHECK_H
#define VORKEL_TOOLS_CHECK_H

#include <cstddef>
#include <cstdio>
#include <deque>
#include <string>

#include "hash_pipeline.h"
#include "options.h"
#include "sums_line.h"

// What the check hands the pipeline to hash for a listed name: the name as
// it is (AsListed), or another name for it (the fuzz target keeps every
// name inside a folder of its own).
typedef std::string (*ListedFileName)(const char *name);
std::string AsListed(const char *name);

class SumsChecker {
public:
    // pipeline: hashes the listed files, "-" being standard input there;
    // it must have no names waiting. pendingBytes: how much the queue of
    // lines waiting for their report may hold (their names, and some bytes
    // for each line) before the check waits for the oldest one.
    SumsChecker(const CheckOptions &options, HashPipeline &pipeline,
                ListedFileName fileName = AsListed, std::size_t pendingBytes = 2 << 20)
        : m_options(options), m_pipeline(pipeline), m_fileName(fileName),
          m_pendingLimit(pendingBytes) {}

    // Checks the sums file called name (null: standard input): false when
    // it fails the check (see CheckSums).
    bool CheckFile(const char *name);

    // The same for a sums file open as in, which stays open: shownName is
    // what messages call it, standardInput whether it is standard input
    // (which can't list "-").
    bool CheckStream(std::FILE *in, const std::string &shownName, bool standardInput);

    // Whether standard input was read, as a sums file or a listed file.
    bool ReadStandardInput() const { return m_readStandardInput; }

private:
    // The counts and findings of one sums file.
    struct Tally {
        unsigned long improperlyFormatted = 0;
        unsigned long mismatched = 0;
        unsigned long unreadable = 0;
        bool properlyFormatted = false; // a line at least
        bool matched = false;           // a file at least
    };

    // A line waiting for its report: a listed file being hashed, or the
    // number of an improperly formatted line to warn about.
    struct Pending {
        bool listed;
        std::string name;
        char digest[32];    // as the line has it, either case
        unsigned long line; // of a warning
    };

    void Queue(Pending line);
    void ReportInTurn(bool wait);
    bool ReportOldest(bool wait);
    void ReportFile(const Pending &file, const HashResult &result);
    bool Summary();

    const CheckOptions &m_options;
    HashPipeline &m_pipeline;
    ListedFileName m_fileName;
    SumsLineParser m_parser; // one for all the sums files of a run, as in md5sum
    bool m_readStandardInput = false;

    // The sums file being checked.
    const std::string *m_shownName = nullptr;
    Tally m_tally;
    std::deque<Pending> m_pending; // oldest first
    std::size_t m_pendingBytes = 0;
    const std::size_t m_pendingLimit;
};

// Checks every sums file of options (standard input for a null or none) and
// returns the exit status: 0 when each of them had a properly formatted
// line and every listed file that was checked matched (and standard input,
// when read, closed without error).
int CheckSums(const CheckOptions &options);

#endif
