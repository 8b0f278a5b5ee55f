// The check loop: the sums read a line at a time, each listed file hashed by
// the core's file routine, the results and md5sum's summary printed.
#include "check.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "md5file.h"
#include "output.h"
#include "quote.h"
#include "sums_line.h"

namespace {

// The counts and findings of one sums file.
struct Tally {
    unsigned long improperlyFormatted = 0;
    unsigned long mismatched = 0;
    unsigned long unreadable = 0;
    bool properlyFormatted = false; // a line at least
    bool matched = false;           // a file at least
};

// md5sum's plural rule, as ngettext has it in English.
std::string Counted(unsigned long n, const char *one, const char *many)
{
    return "WARNING: " + std::to_string(n) + " " + (n == 1 ? one : many);
}

// Reads a line with its '\n' (if any) into line; false at the end.
bool ReadLine(std::FILE *in, std::string *line)
{
    line->clear();
    int c;
    while ((c = std::getc(in)) != EOF) {
        *line += static_cast<char>(c);
        if (c == '\n')
            break;
    }
    return !line->empty();
}

void SetBinary(std::FILE *stream)
{
#ifdef _WIN32
    _setmode(_fileno(stream), _O_BINARY);
#else
    (void)stream;
#endif
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

class Checker {
public:
    explicit Checker(const CheckOptions &options) : m_options(options) {}

    // digest_check: false when the file fails the check.
    bool Check(const char *sumsName);

private:
    void CheckListedFile(const char *name, const char *hex, Tally *tally);

    const CheckOptions &m_options;
    SumsLineParser m_parser;
};

void Checker::CheckListedFile(const char *name, const char *hex, Tally *tally)
{
    bool escape = !m_options.status && std::strchr(name, '\n') != NULL;
    unsigned char digest[16];
    int result;
    if (std::strcmp(name, "-") == 0) {
        SetBinary(stdin);
        result = MD5StreamDigest(stdin, digest);
        std::clearerr(stdin);
    } else {
        result = MD5FileDigest(const_cast<char *>(name), digest);
    }

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

bool Checker::Check(const char *sumsName)
{
    bool isStdin = std::strcmp(sumsName, "-") == 0;
    std::string shownName = isStdin ? "standard input" : sumsName;
    std::FILE *in = stdin;
    if (isStdin) {
        SetBinary(stdin);
    } else if ((in = std::fopen(sumsName, "rb")) == NULL) { // CR LF handled below, as on Linux
        Error(Quoted(shownName) + ": " + std::strerror(errno));
        return false;
    }

    Tally tally;
    std::string line;
    for (unsigned long number = 1; ReadLine(in, &line); number++) {
        if (line[0] == '#') // a comment
            continue;
        std::size_t length = line.size();
        length -= line[length - 1] == '\n';
        length -= line[length - (length > 0)] == '\r';
        if (length == 0) // an empty line
            continue;
        line[length] = '\0';

        SumsLine parsed;
        if (!m_parser.Parse(&line[0], length, &parsed) ||
            (isStdin && std::strcmp(parsed.name, "-") == 0)) {
            tally.improperlyFormatted++;
            if (m_options.warn)
                Error(Quoted(shownName) + ": " + std::to_string(number) +
                      ": improperly formatted MD5 checksum line");
            continue;
        }
        tally.properlyFormatted = true;
        CheckListedFile(parsed.name, parsed.digest, &tally);
    }

    bool readError = std::ferror(in) != 0;
    if (isStdin)
        std::clearerr(in);
    else
        std::fclose(in);
    if (readError) {
        Error(Quoted(shownName) + ": read error");
        return false;
    }

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

} // namespace

int CheckSums(const CheckOptions &options)
{
    Checker checker(options);
    bool ok = true;
    if (options.files.empty())
        ok = checker.Check("-");
    for (const char *sums : options.files)
        ok = checker.Check(sums) && ok;
    return ok ? 0 : 1;
}
