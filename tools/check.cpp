// The check loop: the sums read a line at a time, each listed file hashed,
// the results and md5sum's summary printed.
#include "check.h"

#include <cctype>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "md5file.h"
#include "output.h"
#include "quote.h"
#include "standard_streams.h"
#include "sums_reader.h"

namespace {

// md5sum's plural rule, as ngettext has it in English.
std::string Counted(unsigned long n, const char *one, const char *many)
{
    return "WARNING: " + std::to_string(n) + " " + (n == 1 ? one : many);
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
std::string Shown(const char *name, bool escape)
{
    if (!escape)
        return name;
    std::string shown = "\\";
    for (const char *p = name; *p; p++)
        shown += *p == '\n' ? "\\n" : *p == '\r' ? "\\r" : *p == '\\' ? "\\\\" : std::string(1, *p);
    return shown;
}

} // namespace

// The counts and findings of one sums file.
struct SumsChecker::Tally {
    unsigned long improperlyFormatted = 0;
    unsigned long mismatched = 0;
    unsigned long unreadable = 0;
    bool properlyFormatted = false; // a line at least
    bool matched = false;           // a file at least
};

void SumsChecker::CheckListedFile(const char *name, const char *hex, Tally *tally)
{
    bool escape = !m_options.status && std::strchr(name, '\n') != NULL;
    if (std::strcmp(name, "-") == 0)
        m_readStandardInput = true;
    unsigned char digest[16];
    int result = m_hash(name, digest);

    if (result != MD5FILE_OK) {
        int error = errno;
        if (result == MD5FILE_OPEN_ERROR && error == ENOENT && m_options.ignoreMissing)
            return; // neither a failure nor a match
        Error(Quoted(name) + ": " + std::strerror(error));
        tally->unreadable++;
        if (!m_options.status)
            Out(Shown(name, escape) + ": FAILED open or read\n");
        return;
    }

    bool match = DigestsEqual(hex, digest);
    if (match)
        tally->matched = true;
    else
        tally->mismatched++;
    if (m_options.status || (match && m_options.quiet))
        return;
    Out(Shown(name, escape) + (match ? ": OK\n" : ": FAILED\n"));
}

bool SumsChecker::CheckFile(const char *name)
{
    if (std::strcmp(name, "-") == 0) {
        m_readStandardInput = true;
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY); // CR LF handled below, as on Linux
#endif
        bool ok = CheckStream(stdin, "standard input", true);
        std::clearerr(stdin);
        return ok;
    }
    std::FILE *in = std::fopen(name, "rb");
    if (in == NULL) {
        Error(Quoted(name) + ": " + std::strerror(errno));
        return false;
    }
    bool ok = CheckStream(in, name, false);
    std::fclose(in);
    return ok;
}

bool SumsChecker::CheckStream(std::FILE *in, const std::string &shownName, bool standardInput)
{
    SumsReader reader(in);
    Tally tally;
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
            tally.improperlyFormatted++;
            if (m_options.warn)
                Error(Quoted(shownName) + ": " + std::to_string(number) +
                      ": improperly formatted MD5 checksum line");
            continue;
        }
        tally.properlyFormatted = true;
        CheckListedFile(parsed.name, parsed.digest, &tally);
    }
    if (std::ferror(in)) {
        Error(Quoted(shownName) + ": read error");
        return false;
    }
    return Summary(tally, shownName);
}

bool SumsChecker::Summary(const Tally &tally, const std::string &shownName)
{
    if (!tally.properlyFormatted) {
        Error(Quoted(shownName) + ": no properly formatted checksum lines found");
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
            Error(Quoted(shownName) + ": no file was verified");
    }
    return tally.properlyFormatted && tally.matched && tally.mismatched == 0 &&
           tally.unreadable == 0 && (!m_options.strict || tally.improperlyFormatted == 0);
}

int CheckSums(const CheckOptions &options)
{
    SumsChecker checker(options, HashListedFile);
    bool ok = true;
    if (options.files.empty())
        ok = checker.CheckFile("-");
    for (const char *sums : options.files)
        ok = checker.CheckFile(sums) && ok;
    // As md5sum ends: standard input, if read, closed, and a failure to
    // close it (its descriptor closed from the start, for one) reported.
    if (checker.ReadStandardInput() && CloseStandardStream(stdin) != 0) {
        Error(std::string("standard input: ") + std::strerror(errno));
        return 1;
    }
    return ok ? 0 : 1;
}
