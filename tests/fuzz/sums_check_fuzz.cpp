// md5hex -c fuzzed: each input is a sums file, read and checked by md5hex's
// own SumsChecker (the reader, the line parser, the queue of lines waiting
// for their report, the quoting and the reports) under several sets of
// options. The files it lists are hashed by md5hex's own pipeline, with
// limits so small that its queue of names and the checker's own fill up
// again and again, but inside a folder of a few files beside this program:
// a name can't reach the rest of the system (/dev/zero would never end), and
// "-" is a file there rather than a standard input that may be a terminal.
//   md5hex_check_fuzz [LIBFUZZER FLAGS] [CORPUS FOLDERS]
// Run it with -close_fd_mask=3: what md5hex prints is of no interest here.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include <sys/stat.h>

#include "check.h"
#include "hash_pipeline.h"
#include "md5lanes.h"

namespace {

std::string g_folder; // the files that names may name

void WriteFile(const std::string &name, const std::string &bytes)
{
    std::FILE *file = std::fopen((g_folder + "/" + name).c_str(), "wb");
    if (file != NULL) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

std::string InFolder(const char *name)
{
    if (std::strstr(name, "..") != NULL) // could climb out of the folder
        return g_folder + "/missing";
    return g_folder + "/" + (std::strcmp(name, "-") == 0 ? "standard input" : name);
}

// One pipeline for every input: each check leaves it empty. A few names in
// flight, a few small pieces (the file "big" takes several), and the lines'
// queue waits for a file after a few lines.
std::unique_ptr<HashPipeline> g_pipeline;
const std::size_t kPendingBytes = 400;

// The option sets each input is checked with; the last reads it as standard
// input (where a listed "-" is improperly formatted).
struct Run {
    bool ignoreMissing, quiet, status, strict, warn, standardInput;
};
const Run kRuns[] = {
    {false, false, false, false, false, false},
    {false, false, false, true, true, false},
    {true, true, false, false, false, false},
    {true, false, true, false, false, true},
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    std::string program = (*argv)[0];
    std::size_t slash = program.rfind('/');
    g_folder = (slash == std::string::npos ? std::string(".") : program.substr(0, slash)) +
               "/fuzz-files";
    mkdir(g_folder.c_str(), 0755);
    mkdir((g_folder + "/folder").c_str(), 0755);
    WriteFile("abc", "abc");
    WriteFile("empty", "");
    WriteFile("changed", "abc\n");
    WriteFile("sp ace", "sp ace");
    WriteFile("\xE4\xB8\xAD\xE6\x96\x87.txt", "\xE4\xB8\xAD\xE6\x96\x87.txt"); // 中文.txt
    WriteFile("standard input", "abc");
    WriteFile("big", std::string(5 * 4096 + 7, 'b'));
    HashLimits limits;
    limits.pieceSize = 4096;
    limits.pieces = 3;
    limits.names = 3;
    limits.ahead = 1;
    limits.workers = 2;
    g_pipeline.reset(new HashPipeline(MD5LanesSupported(), true, limits));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    for (const Run &run : kRuns) {
        CheckOptions options;
        options.ignoreMissing = run.ignoreMissing;
        options.quiet = run.quiet;
        options.status = run.status;
        options.strict = run.strict;
        options.warn = run.warn;
        SumsChecker checker(options, *g_pipeline, InFolder, kPendingBytes);
        // Twice, as two sums files of one run: the second meets the first's
        // choice between the standard and BSD's reversed lines.
        for (int pass = 0; pass < 2; pass++) {
            std::FILE *in = fmemopen(const_cast<std::uint8_t *>(data), size, "rb");
            if (in == NULL)
                return 0;
            checker.CheckStream(in, run.standardInput ? "standard input" : "sums.md5",
                                run.standardInput);
            std::fclose(in);
        }
    }
    return 0;
}
