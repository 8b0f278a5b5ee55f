// md5hex: prints the MD5 digest of each file named on the command line, one
// "<digest>  <path>" line each, the way md5sum does. A file that can't be
// hashed gets the core's message instead and makes the exit status 1. The
// files are hashed many at once (hash_pipeline.h), the lines printed in the
// order of the names.
// With -c it checks sums files as md5sum -c does (check.h), the listed
// files hashed through the same pipeline; --help and --version tell about it
// (options.h says when arguments are options). md5hex.exe expands the
// wildcards in its arguments itself, as Windows programs do
// (command_line.h).
#include <cstdio>
#include <string>
#include <vector>

#include "check.h"
#include "command_line.h"
#include "hash_pipeline.h"
#include "md5file.h"
#include "options.h"
#include "output.h"
#include "simd_path.h"
#include "standard_streams.h"

namespace {

const char kHelp[] =
    "Usage: md5hex FILE...\n"
    "  or:  md5hex -c [OPTION]... [FILE]...\n"
    "Print or check MD5 (128-bit) checksums.\n"
    "On Windows, * and ? in a FILE not in quotes stand for the matching names.\n"
    "\n"
    "Without -c, print a \"<digest>  FILE\" line for each FILE.\n"
    "  -c, --check           read MD5 sums from the FILEs and check them, as\n"
    "                          md5sum -c does; with no FILE, or when FILE is -,\n"
    "                          read standard input\n"
    "\n"
    "The following five options are useful only when verifying checksums:\n"
    "      --ignore-missing  don't fail or report status for missing files\n"
    "      --quiet           don't print OK for each successfully verified file\n"
    "      --status          don't output anything, status code shows success\n"
    "      --strict          exit non-zero for improperly formatted checksum lines\n"
    "  -w, --warn            warn about improperly formatted checksum lines\n"
    "\n"
    "      --help            display this help and exit\n"
    "      --version         output version information and exit\n"
    "\n"
    "Unlike md5sum, md5hex reads a sums file that starts with a byte-order mark\n"
    "in the encoding the mark names: UTF-8 (as Notepad may save it), UTF-16LE\n"
    "(as Windows PowerShell 5.1 writes with > or Out-File) or UTF-16BE.\n";

int HashFiles(int argc, char **argv)
{
    HashPipeline pipeline(SimdPath(), false); // "-" is a file's name here, as it always was
    int status = 0;
    int queued = 1;
    for (int i = 1; i < argc; i++) {
        while (queued < argc && pipeline.Add(argv[queued]))
            queued++;
        HashResult result;
        pipeline.Next(&result);
        const char *digest = MD5HexResult(argv[i], result.status, result.digest);
        if (digest == NULL)
            status = 1;
        else
            Out(std::string(digest) + "  " + argv[i] + "\n");
    }
    return status;
}

int Run(int argc, char **argv, const std::vector<bool> &names)
{
    if (argc < 2) {
        // Never waits for standard input: double-clicked, it would sit there.
        Err("usage: md5hex FILE...\n");
        return 2;
    }
    if (!AsksForOptions(argc, argv, names))
        return HashFiles(argc, argv);

    CheckOptions options;
    switch (ParseOptions(argc, argv, names, &options)) {
    case Command::Help:
        Out(kHelp);
        return 0;
    case Command::Version:
        Out(std::string(kProgramName) + " (Vorkel) " MD5HEX_VERSION "\n");
        return 0;
    case Command::Error:
        return 1;
    case Command::Check:
        break;
    }
    return CheckSums(options);
}

} // namespace

int main(int argc, char **argv)
{
    ReserveStandardDescriptors();
    // A line at a time, as md5sum writes, the core's messages too: a write
    // that fails is seen as it happens. The Windows C runtime has no line
    // buffering (_IOLBF buffers fully there) and keeps the bytes of a failed
    // write to try them again when the stream is closed: unbuffered there.
#ifdef _WIN32
    std::setvbuf(stdout, NULL, _IONBF, 0);
#else
    std::setvbuf(stdout, NULL, _IOLBF, BUFSIZ);
#endif
#ifdef _WIN32
    (void)argc, (void)argv; // the C runtime's: they don't tell which had quotes
    WindowsArguments arguments;
    return FinishOutput(Run(arguments.Count(), arguments.Values(), arguments.Names()));
#else
    return FinishOutput(Run(argc, argv, std::vector<bool>(argc, false)));
#endif
}
