// The check loop: the sums read a line at a time, each listed file queued
// for hashing, the lines reported in their turn and md5sum's summary
// printed.
#include "check.h"

#include <cctype>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

#include "md5file.h"
#include "output.h"
#include "quote.h"
#include "simd_path.h"
#include "standard_streams.h"
#include "sums_reader.h"

namespace {

// md5sum's plural rule, as ngettext has it in English.
std::string Counted(unsigned long n, const char *one, const char *many)
{
    return "WARNING: " + std::to_string(n) + " " + (n == 1 ? one : many);
}

// Whether in is a terminal (a console on Windows), where a user types.
bool IsTerminal(std::FILE *in)
{
#ifdef _WIN32
    return _isatty(_fileno(in)) != 0;
#else
    return isatty(fileno(in)) != 0;
#endif
}

// What a waiting line counts against the queue's bound.
std::size_t Cost(const std::string &name)
{
    return 64 + name.size();
}

bool DigestsEqual(const char *hex, const unsigned char digest[16])
{
    static const char digits[] = "0123456789abcdef";
    for (int i = 0; i < 16; i++)
        if (std::tolower(static_cast<unsigned char>(hex[2 * i])) != digits[digest[i] >> 4] ||
            std::tolower(static_cast<unsigned char>(hex[2 * i + 1])) != digits[digest[i] & 15])
            return false;
    return true;
}

// A name as the result lines show it: when it holds a line end, with a
// backslash before it and its backslashes and line ends escaped, so that each
// result stays one line.
std::string Shown(const std::string &name, bool escape)
{
    if (!escape)
        return name;
    std::string shown = "\\";
    for (const char *p = name.c_str(); *p; p++)
        shown += *p == '\n' ? "\\n" : *p == '\r' ? "\\r" : *p == '\\' ? "\\\\" : std::string(1, *p);
    return shown;
}

} // namespace

std::string AsListed(const char *name)
{
    return name;
}

// Puts line at the back of the queue: a listed file goes to the pipeline
// too, once it has room (the oldest reported to make it). Then reports
// what is ready.
void SumsChecker::Queue(Pending line)
{
    if (line.listed)
        while (!m_pipeline.Add(m_fileName(line.name.c_str()).c_str()))
            ReportOldest(true);
    m_pendingBytes += Cost(line.name);
    m_pending.push_back(std::move(line));
    ReportInTurn(false);
}

// Reports the lines at the front of the queue that can be: with wait, all
// of them, each file waited for; without, those whose files are hashed
// already (and, while the queue holds more than its bound, the oldest
// waited for).
void SumsChecker::ReportInTurn(bool wait)
{
    while (!m_pending.empty() && ReportOldest(wait || m_pendingBytes > m_pendingLimit))
        continue;
}

// Reports the oldest waiting line and drops it; false when its file is not
// hashed yet and wait is false.
bool SumsChecker::ReportOldest(bool wait)
{
    const Pending &oldest = m_pending.front();
    if (oldest.listed) {
        HashResult result;
        if (!(wait ? m_pipeline.Next(&result) : m_pipeline.TryNext(&result)))
            return false;
        ReportFile(oldest, result);
    } else {
        Error(Quoted(*m_shownName) + ": " + std::to_string(oldest.line) +
              ": improperly formatted MD5 checksum line");
    }
    m_pendingBytes -= Cost(oldest.name);
    m_pending.pop_front();
    return true;
}

void SumsChecker::ReportFile(const Pending &file, const HashResult &result)
{
    bool escape = !m_options.status && file.name.find('\n') != std::string::npos;
    if (result.status != MD5FILE_OK) {
        if (result.status == MD5FILE_OPEN_ERROR && result.error == ENOENT && m_options.ignoreMissing)
            return; // neither a failure nor a match
        Error(Quoted(file.name) + ": " + std::strerror(result.error));
        m_tally.unreadable++;
        if (!m_options.status)
            Out(Shown(file.name, escape) + ": FAILED open or read\n");
        return;
    }

    bool match = DigestsEqual(file.digest, result.digest);
    if (match)
        m_tally.matched = true;
    else
        m_tally.mismatched++;
    if (m_options.status || (match && m_options.quiet))
        return;
    Out(Shown(file.name, escape) + (match ? ": OK\n" : ": FAILED\n"));
}

bool SumsChecker::CheckFile(const char *name)
{
    if (name == nullptr) {
        m_readStandardInput = true;
        SetBinary(stdin); // CR LF handled below, as on Linux
        bool ok = CheckStream(stdin, "standard input", true);
        std::clearerr(stdin);
        return ok;
    }
    std::FILE *in = std::fopen(name, "rb");
    if (in == NULL) {
        int error = errno;
#ifdef _WIN32
        // The Windows C runtime fails a folder with EACCES; md5sum says
        // what it is.
        struct _stat64 status;
        if (error == EACCES && _stat64(name, &status) == 0 && (status.st_mode & _S_IFDIR))
            error = EISDIR;
#endif
        Error(Quoted(name) + ": " + std::strerror(error));
        return false;
    }
    bool ok = CheckStream(in, name, false);
    std::fclose(in);
    return ok;
}

bool SumsChecker::CheckStream(std::FILE *in, const std::string &shownName, bool standardInput)
{
    m_shownName = &shownName;
    m_tally = Tally();
    // Typed on a terminal, each line is reported before the next is waited
    // for, as it would be were each file hashed in its turn.
    const bool typed = IsTerminal(in);
    SumsReader reader(in);
    std::string line;
    bool broken;
    for (unsigned long number = 1; reader.ReadLine(&line, &broken); number++) {
        if (line[0] == '#') // a comment
            continue;
        std::size_t length = line.size();
        length -= line[length - 1] == '\n';
        length -= line[length - (length > 0)] == '\r';
        if (length == 0) // an empty line
            continue;
        line[length] = '\0';

        SumsLine parsed;
        if (broken || !m_parser.Parse(&line[0], length, &parsed) ||
            (standardInput && std::strcmp(parsed.name, "-") == 0)) {
            m_tally.improperlyFormatted++;
            if (m_options.warn)
                Queue({false, std::string(), {}, number});
            continue;
        }
        m_tally.properlyFormatted = true;
        if (std::strcmp(parsed.name, "-") == 0)
            m_readStandardInput = true;
        Pending file = {true, parsed.name, {}, 0};
        std::memcpy(file.digest, parsed.digest, sizeof(file.digest));
        Queue(std::move(file));
        if (typed)
            ReportInTurn(true);
    }
    ReportInTurn(true); // every line of this file before what follows it
    if (std::ferror(in)) {
        Error(Quoted(shownName) + ": read error");
        return false;
    }
    return Summary();
}

bool SumsChecker::Summary()
{
    const Tally &tally = m_tally;
    if (!tally.properlyFormatted) {
        Error(Quoted(*m_shownName) + ": no properly formatted checksum lines found");
    } else if (!m_options.status) {
        if (tally.improperlyFormatted != 0)
            Error(Counted(tally.improperlyFormatted, "line is improperly formatted",
                          "lines are improperly formatted"));
        if (tally.unreadable != 0)
            Error(Counted(tally.unreadable, "listed file could not be read",
                          "listed files could not be read"));
        if (tally.mismatched != 0)
            Error(Counted(tally.mismatched, "computed checksum did NOT match",
                          "computed checksums did NOT match"));
        if (m_options.ignoreMissing && !tally.matched)
            Error(Quoted(*m_shownName) + ": no file was verified");
    }
    return tally.properlyFormatted && tally.matched && tally.mismatched == 0 &&
           tally.unreadable == 0 && (!m_options.strict || tally.improperlyFormatted == 0);
}

int CheckSums(const CheckOptions &options)
{
    bool ok = true;
    bool readStandardInput;
    {
        HashPipeline pipeline(SimdPath(), true);
        SumsChecker checker(options, pipeline);
        if (options.files.empty())
            ok = checker.CheckFile(nullptr);
        for (const char *sums : options.files)
            ok = checker.CheckFile(sums) && ok;
        readStandardInput = checker.ReadStandardInput();
    } // the pipeline's threads stopped
    // As md5sum ends: standard input, if read, closed, and a failure to
    // close it (its descriptor closed from the start, for one) reported.
    if (readStandardInput && CloseStandardStream(stdin) != 0) {
        Error(std::string("standard input: ") + std::strerror(errno));
        return 1;
    }
    return ok ? 0 : 1;
}
