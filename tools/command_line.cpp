// md5hex.exe's command line split and its wildcards expanded (see
// command_line.h).
#include "command_line.h"

#include <windows.h>

#include <algorithm>

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// The length of the folder part of an argument: up to its last '\' or '/',
// or a drive's ':' ("C:*.bin").
std::size_t FolderLength(const std::wstring &text)
{
    std::size_t slash = text.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        return slash + 1;
    return text.size() >= 2 && text[1] == L':' ? 2 : 0;
}

// Case ignored the way the file system ignores it (the system's upper-case
// table); the exact comparison breaks ties so that the order is the same
// in every run. Needs Windows Vista.
bool NameBefore(const std::wstring &a, const std::wstring &b)
{
    int order = ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                       static_cast<int>(b.size()), TRUE);
    if (order == CSTR_EQUAL)
        order = ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                       static_cast<int>(b.size()), FALSE);
    return order == CSTR_LESS_THAN;
}

bool SameIgnoringCase(wchar_t a, wchar_t b)
{
    return a == b || ::CompareStringOrdinal(&a, 1, &b, 1, TRUE) == CSTR_EQUAL;
}

// The names in pattern's folder that match its last component, in order.
std::vector<std::wstring> Matches(const std::wstring &pattern)
{
    std::vector<std::wstring> names;
    const std::wstring last = pattern.substr(FolderLength(pattern));
    WIN32_FIND_DATAW found;
    // FindExInfoBasic (Windows 7 on) leaves the short names out of what
    // comes back, but the search still matches them: hence MatchesPattern.
    HANDLE hFind = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                      FindExSearchNameMatch, NULL, 0);
    if (hFind == INVALID_HANDLE_VALUE)
        return names; // none, or the folder isn't there: the pattern goes through
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L".." && MatchesPattern(last, name))
            names.push_back(name);
    } while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    std::sort(names.begin(), names.end(), NameBefore);
    return names;
}

// text in the ANSI code page character for character, or false when a
// character has no form of its own there (WideCharToMultiByte would put a
// look-alike or '?' in its place and say so only when asked).
bool ToAnsiExactly(const wchar_t *text, int length, std::string *ansi)
{
    const UINT codePage = ::GetACP();
    // UTF-8 spells everything but a lone surrogate, and takes neither a
    // default character nor WC_NO_BEST_FIT_CHARS.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    int bytes = ::WideCharToMultiByte(codePage, flags, text, length, NULL, 0, NULL,
                                      utf8 ? NULL : &usedDefault);
    if (bytes <= 0 || usedDefault)
        return false;
    ansi->assign(bytes, '\0');
    ::WideCharToMultiByte(codePage, flags, text, length, &(*ansi)[0], bytes, NULL, NULL);
    // Read back as the same characters: in some double-byte code pages two
    // characters share a form.
    int units = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, ansi->data(), bytes, NULL, 0);
    std::wstring back(units > 0 ? units : 0, L'\0');
    return units == length &&
           ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, ansi->data(), bytes, &back[0],
                                 units) == units &&
           back.compare(0, back.size(), text, length) == 0;
}

// text in the ANSI code page, '?' for each character it can't spell: no
// file has a '?' in its name, so such a name can't be opened, and a message
// about it shows where it went wrong.
std::string ToAnsi(const std::wstring &text)
{
    std::string ansi;
    if (ToAnsiExactly(text.data(), static_cast<int>(text.size()), &ansi))
        return ansi;
    ansi.clear();
    for (std::size_t i = 0; i < text.size();) {
        int units = IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() &&
                            IS_LOW_SURROGATE(text[i + 1])
                        ? 2
                        : 1;
        std::string character;
        ansi += ToAnsiExactly(&text[i], units, &character) ? character : "?";
        i += units;
    }
    return ansi;
}

} // namespace

std::vector<SplitArgument> SplitCommandLine(const wchar_t *line)
{
    std::vector<SplitArgument> arguments;
    const wchar_t *p = line;

    // The program's name: quotes group, nothing escapes.
    SplitArgument program;
    for (bool quoted = false; *p != L'\0' && (quoted || !IsBlank(*p)); p++) {
        if (*p == L'"')
            quoted = !quoted;
        else
            program.text += *p;
    }
    arguments.push_back(program);

    for (;;) {
        while (IsBlank(*p))
            p++;
        if (*p == L'\0')
            return arguments;
        SplitArgument argument;
        bool quoted = false;
        for (; *p != L'\0' && (quoted || !IsBlank(*p)); p++) {
            std::size_t backslashes = 0;
            while (p[backslashes] == L'\\')
                backslashes++;
            if (p[backslashes] != L'"') { // backslashes not before a quote are themselves
                argument.text.append(backslashes, L'\\');
                p += backslashes;
                if (*p == L'\0' || (!quoted && IsBlank(*p)))
                    break;
                if ((*p == L'*' || *p == L'?') && !quoted)
                    argument.wildcard = argument.text.size();
                argument.text += *p;
                continue;
            }
            // Before a quote, a backslash for each pair; an odd one left
            // makes the quote a character, else it opens or closes a quoted
            // part ("" inside one being a quote that keeps it open).
            argument.text.append(backslashes / 2, L'\\');
            p += backslashes;
            if (backslashes % 2 == 1)
                argument.text += L'"';
            else if (quoted && p[1] == L'"')
                argument.text += L'"', p++;
            else
                quoted = !quoted;
        }
        arguments.push_back(argument);
    }
}

bool MatchesPattern(const std::wstring &pattern, const std::wstring &name)
{
    if (pattern == L"*.*")
        return true;
    // The last '*' seen and where in name it began: on a mismatch it takes
    // one more character, and the rest is tried again from there.
    std::size_t p = 0, n = 0, star = std::wstring::npos, starAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            starAt = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == L'?' || SameIgnoringCase(pattern[p], name[n]))) {
            p++, n++;
        } else if (star != std::wstring::npos) {
            p = star + 1;
            n = ++starAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        p++;
    return p == pattern.size();
}

WindowsArguments::WindowsArguments()
{
    for (const SplitArgument &argument : SplitCommandLine(::GetCommandLineW())) {
        std::size_t folder = FolderLength(argument.text);
        if (argument.wildcard == std::wstring::npos || argument.wildcard < folder) {
            Add(argument.text, false);
            continue;
        }
        std::vector<std::wstring> names = Matches(argument.text);
        if (names.empty())
            Add(argument.text, true);
        for (const std::wstring &name : names)
            Add(argument.text.substr(0, folder) + name, true);
    }
    for (std::string &text : m_texts)
        m_argv.push_back(&text[0]);
    m_argv.push_back(nullptr);
}

void WindowsArguments::Add(const std::wstring &text, bool name)
{
    m_texts.push_back(ToAnsi(text));
    m_names.push_back(name);
}
