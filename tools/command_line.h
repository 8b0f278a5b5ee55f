// md5hex.exe's arguments. A Unix shell expands wildcards before md5hex
// starts; cmd and PowerShell hand "*.iso" over as it was typed, and each
// Windows program expands it itself. So md5hex.exe reads its command line
// (GetCommandLineW), splits it as the Microsoft C runtime does, and puts in
// place of each argument with an unquoted '*' or '?' in its last component
// the names in its folder that match, as a Unix shell would:
// - in name order (CompareStringOrdinal, case ignored), the folder as typed
//   in front of each;
// - by the long names alone ("*.md5" never stands for "x.md5sums", whose
//   8.3 short name FindFirstFile also matches), never "." or "..", folders
//   too (reported as folders named on the command line are);
// - a pattern that matches nothing goes through as the name it is.
// Each argument reaches md5hex in the ANSI code page (UTF-8 under
// md5hex.exe's manifest, from Windows 10 1903 on): a name that code page
// can't spell has '?' for each character it lacks, a name no file has,
// never a look-alike ("a" for "α") that could name another file.
#ifndef VORKEL_TOOLS_COMMAND_LINE_H
#define VORKEL_TOOLS_COMMAND_LINE_H

#ifdef _WIN32

#include <string>
#include <vector>

// One argument as the C runtime's rules split it: its text, and where its
// last '*' or '?' outside quotes is (npos: none).
struct SplitArgument {
    std::wstring text;
    std::size_t wildcard = std::wstring::npos;
};

// The arguments of a command line, the program's name first (which has
// rules of its own: quotes only group, backslashes are plain).
std::vector<SplitArgument> SplitCommandLine(const wchar_t *line);

// Whether name matches pattern: '*' any run of characters, '?' any one
// UTF-16 unit (as the file system counts them), others themselves with case
// ignored; "*.*" every name, as on Windows.
bool MatchesPattern(const std::wstring &pattern, const std::wstring &name);

// md5hex.exe's own arguments, from GetCommandLineW, expanded.
class WindowsArguments {
public:
    WindowsArguments();
    int Count() const { return static_cast<int>(m_argv.size()) - 1; }
    char **Values() { return m_argv.data(); }
    // names[i]: argument i stands for a file that a pattern matched (or is
    // a pattern that matched nothing): a name whatever it looks like, never
    // an option, and "-" never standard input.
    const std::vector<bool> &Names() const { return m_names; }

private:
    void Add(const std::wstring &text, bool name);

    std::vector<std::string> m_texts;
    std::vector<char *> m_argv; // into m_texts, null last
    std::vector<bool> m_names;
};

#endif

#endif
