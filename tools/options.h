// md5hex's command line. Plain `md5hex FILE...` takes every argument as a
// file name, as it always did; only -c/--check, --help, --version or one of
// the check's own options (--ignore-missing, --quiet, --status, --strict,
// -w/--warn: md5sum refuses those without -c) before any "--" make it read
// options, then as md5sum reads them (GNU getopt_long: options anywhere
// among the files, bundles like -cw, long options by any unambiguous
// beginning, "--" ending the options). On Windows some arguments are names
// that a wildcard stood for (command_line.h): names[i] says so of argv[i].
// Those are names whatever they look like, never options, and "-" among
// them is a file of that name, not standard input.
#ifndef VORKEL_TOOLS_OPTIONS_H
#define VORKEL_TOOLS_OPTIONS_H

#include <vector>

struct CheckOptions {
    bool ignoreMissing = false;
    bool quiet = false;  // no "OK" lines
    bool status = false; // nothing on standard output, no warnings
    bool strict = false; // improperly formatted lines fail the check
    bool warn = false;   // a warning for each improperly formatted line
    std::vector<char *> files; // the SUMS files, null for standard input; none: standard input
};

enum class Command {
    Check,
    Help,
    Version,
    Error // the message and md5sum's "Try ... --help" line are printed
};

// Whether the arguments ask for the option-reading md5hex.
bool AsksForOptions(int argc, char **argv, const std::vector<bool> &names);

// Reads them as md5sum does, to the first --help or --version or error.
Command ParseOptions(int argc, char **argv, const std::vector<bool> &names,
                     CheckOptions *options);

#endif
