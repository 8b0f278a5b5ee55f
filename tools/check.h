// md5hex -c: checks the files that sums files list, as md5sum -c does
// (coreutils 9.1's digest_check): a line on standard output for each
// ("NAME: OK", "NAME: FAILED", "NAME: FAILED open or read"), md5sum's
// messages and warnings on standard error, and its exit status. Reading a
// sums file (sums_reader.h), taking its lines apart (sums_line.h), hashing a
// listed file (listed_file.h) and reporting (here) are each on their own.
#ifndef VORKEL_TOOLS_CHECK_H
#define VORKEL_TOOLS_CHECK_H

#include <cstdio>
#include <string>

#include "listed_file.h"
#include "options.h"
#include "sums_line.h"

class SumsChecker {
public:
    SumsChecker(const CheckOptions &options, ListedFileHasher hash)
        : m_options(options), m_hash(hash) {}

    // Checks the sums file called name ("-": standard input): false when it
    // fails the check (see CheckSums).
    bool CheckFile(const char *name);

    // The same for a sums file open as in, which stays open: shownName is
    // what messages call it, standardInput whether it is standard input
    // (which can't list "-").
    bool CheckStream(std::FILE *in, const std::string &shownName, bool standardInput);

    // Whether standard input was read, as a sums file or a listed file.
    bool ReadStandardInput() const { return m_readStandardInput; }

private:
    struct Tally;
    void CheckListedFile(const char *name, const char *hex, Tally *tally);
    bool Summary(const Tally &tally, const std::string &shownName);

    const CheckOptions &m_options;
    ListedFileHasher m_hash;
    SumsLineParser m_parser; // one for all the sums files of a run, as in md5sum
    bool m_readStandardInput = false;
};

// Checks every sums file of options (standard input for "-" or none) and
// returns the exit status: 0 when each of them had a properly formatted
// line and every listed file that was checked matched (and standard input,
// when read, closed without error).
int CheckSums(const CheckOptions &options);

#endif
