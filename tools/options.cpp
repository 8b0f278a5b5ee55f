// GNU getopt_long's rules and messages (glibc's texts) for md5sum's options,
// and the checks md5sum makes of them afterwards.
#include "options.h"

#include <cstring>
#include <string>

#include "output.h"

namespace {

// md5sum's long options, in its order (which is the order in which an
// ambiguous beginning lists its possibilities), each with its short form or
// a letter of its own.
struct LongOption {
    const char *name;
    char id;
};
const LongOption kLongOptions[] = {
    {"check", 'c'}, {"ignore-missing", 'I'}, {"quiet", 'Q'}, {"status", 'S'},
    {"warn", 'w'},  {"strict", 'X'},         {"tag", 'T'},   {"zero", 'z'},
    {"binary", 'b'}, {"text", 't'},          {"help", 'H'},  {"version", 'V'},
};
const char kShortOptions[] = "bctwz";

bool StartsWith(const char *s, const char *prefix)
{
    return std::strncmp(s, prefix, std::strlen(prefix)) == 0;
}

Command Fail(const std::string &message)
{
    Error(message);
    Err(std::string("Try '") + kProgramName + " --help' for more information.\n");
    return Command::Error;
}

// The option of a long argument ("--name" or "--name=value"), or 0 after its
// error was printed.
char LongOptionOf(const char *arg, Command *error)
{
    const char *name = arg + 2;
    const char *equals = std::strchr(name, '=');
    std::size_t length = equals ? static_cast<std::size_t>(equals - name) : std::strlen(name);
    const LongOption *found = NULL;
    std::string possibilities;
    int matches = 0;
    for (const LongOption &option : kLongOptions) {
        if (std::strncmp(option.name, name, length) != 0)
            continue;
        if (std::strlen(option.name) == length) { // exact: never ambiguous
            found = &option;
            matches = 1;
            break;
        }
        found = &option;
        matches++;
        possibilities += std::string(" '--") + option.name + "'";
    }
    if (matches == 0) {
        *error = Fail(std::string("unrecognized option '") + arg + "'");
        return 0;
    }
    if (matches > 1) {
        *error = Fail(std::string("option '") + arg + "' is ambiguous; possibilities:" +
                      possibilities);
        return 0;
    }
    if (equals) {
        *error = Fail(std::string("option '--") + found->name + "' doesn't allow an argument");
        return 0;
    }
    return found->id;
}

} // namespace

bool AsksForOptions(int argc, char **argv, const std::vector<bool> &names)
{
    for (int i = 1; i < argc; i++) {
        const char *arg = argv[i];
        if (names[i])
            continue;
        if (std::strcmp(arg, "--") == 0)
            return false;
        if (StartsWith(arg, "--")) {
            std::string name(arg + 2, std::strcspn(arg + 2, "="));
            for (const char *wanted : {"check", "help", "version", "ignore-missing", "quiet",
                                       "status", "strict", "warn"})
                if (!name.empty() && StartsWith(wanted, name.c_str()))
                    return true;
        } else if (arg[0] == '-' && std::strpbrk(arg + 1, "cw") != NULL) {
            return true;
        }
    }
    return false;
}

Command ParseOptions(int argc, char **argv, const std::vector<bool> &names,
                     CheckOptions *options)
{
    bool check = false, tag = false, zero = false;
    int binary = -1; // -b 1, -t 0; --tag implies -b
    bool optionsEnded = false;
    for (int i = 1; i < argc; i++) {
        char *arg = argv[i];
        if (optionsEnded || names[i] || arg[0] != '-' || arg[1] == '\0') {
            options->files.push_back(!names[i] && std::strcmp(arg, "-") == 0 ? nullptr : arg);
            continue;
        }
        if (std::strcmp(arg, "--") == 0) {
            optionsEnded = true;
            continue;
        }
        std::string ids;
        if (arg[1] == '-') {
            Command error = Command::Error;
            char id = LongOptionOf(arg, &error);
            if (id == 0)
                return error;
            ids = id;
        } else {
            ids = arg + 1;
        }
        for (char id : ids) {
            if (arg[1] != '-' && std::strchr(kShortOptions, id) == NULL)
                return Fail(std::string("invalid option -- '") + id + "'");
            // --status, --warn and --quiet each undo the other two.
            switch (id) {
            case 'c': check = true; break;
            case 'I': options->ignoreMissing = true; break;
            case 'Q': options->quiet = true, options->status = options->warn = false; break;
            case 'S': options->status = true, options->quiet = options->warn = false; break;
            case 'w': options->warn = true, options->quiet = options->status = false; break;
            case 'X': options->strict = true; break;
            case 'T': tag = true, binary = 1; break;
            case 'z': zero = true; break;
            case 'b': binary = 1; break;
            case 't': binary = 0; break;
            case 'H': return Command::Help;
            case 'V': return Command::Version;
            }
        }
    }
    // md5sum's checks, in its order. Without -c, md5hex only gets here for
    // one of the check's own options, and the last five of these stop it.
    if (tag && binary == 0)
        return Fail("--tag does not support --text mode");
    if (zero && check)
        return Fail("the --zero option is not supported when verifying checksums");
    if (tag && check)
        return Fail("the --tag option is meaningless when verifying checksums");
    if (binary >= 0 && check)
        return Fail("the --binary and --text options are meaningless when verifying checksums");
    const struct {
        bool given;
        const char *name;
    } checkOnly[] = {{options->ignoreMissing, "ignore-missing"},
                     {options->status, "status"},
                     {options->warn, "warn"},
                     {options->quiet, "quiet"},
                     {options->strict, "strict"}};
    for (const auto &option : checkOnly)
        if (option.given && !check)
            return Fail(std::string("the --") + option.name +
                        " option is meaningful only when verifying checksums");
    return Command::Check;
}
