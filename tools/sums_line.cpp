// md5sum's split_3, bsd_split_3, filename_unescape and valid_digits.
#include "sums_line.h"

#include <cctype>
#include <cstring>

namespace {

const std::size_t kHexDigits = 32;
// 32 hex digits, a blank and a name of one character at least.
const std::size_t kShortestLine = kHexDigits + 2;

bool IsWhite(char c)
{
    return c == ' ' || c == '\t';
}

// Undoes the escapes of a name of length bytes in place, ending it with a
// zero if it got shorter; null when an escape is not one of \\, \n and \r,
// a lone backslash ends it, or it holds a zero byte.
char *Unescape(char *s, std::size_t length)
{
    char *to = s;
    for (std::size_t i = 0; i < length; i++) {
        if (s[i] == '\0')
            return NULL;
        if (s[i] != '\\') {
            *to++ = s[i];
            continue;
        }
        if (++i == length)
            return NULL;
        switch (s[i]) {
        case 'n': *to++ = '\n'; break;
        case 'r': *to++ = '\r'; break;
        case '\\': *to++ = '\\'; break;
        default: return NULL;
        }
    }
    if (to < s + length)
        *to = '\0';
    return s;
}

// 32 hex digits and a zero byte: the end of the line, or a zero in it,
// which ends the digest there as it ends a C string in md5sum.
bool ValidDigits(const char *s)
{
    for (std::size_t i = 0; i < kHexDigits; i++)
        if (!std::isxdigit(static_cast<unsigned char>(s[i])))
            return false;
    return s[kHexDigits] == '\0';
}

// What follows "MD5 (": "<name>) = <hex>", the name ending at the last ')'.
bool ParseTagged(char *s, std::size_t length, bool escaped, SumsLine *parsed)
{
    if (length == 0)
        return false;
    std::size_t i = length - 1;
    while (i != 0 && s[i] != ')')
        i--;
    if (s[i] != ')')
        return false;
    parsed->name = s;
    if (escaped && Unescape(s, i) == NULL)
        return false;
    s[i++] = '\0';
    while (IsWhite(s[i]))
        i++;
    if (s[i] != '=')
        return false;
    i++;
    while (IsWhite(s[i]))
        i++;
    parsed->digest = &s[i];
    return ValidDigits(&s[i]);
}

} // namespace

bool SumsLineParser::Parse(char *s, std::size_t length, SumsLine *parsed)
{
    bool escaped = false;
    std::size_t i = 0;
    while (IsWhite(s[i]))
        i++;
    if (s[i] == '\\') {
        i++;
        escaped = true;
    }

    if (std::strncmp(s + i, "MD5", 3) == 0) {
        i += 3;
        if (s[i] == ' ')
            i++;
        if (s[i] != '(')
            return false;
        i++;
        return ParseTagged(s + i, length - i, escaped, parsed);
    }

    if (length - i < kShortestLine + (s[i] == '\\'))
        return false;
    parsed->digest = &s[i];
    i += kHexDigits;
    if (!IsWhite(s[i])) // the digest must be followed by a blank (a zero byte is none)
        return false;
    s[i++] = '\0';
    if (!ValidDigits(parsed->digest))
        return false;

    // One blank and a name that doesn't start with ' ' or '*': BSD's
    // reversed format (md5 -r). md5sum won't mix it with the standard one,
    // so that a name can't gain or lose a leading blank or star unseen.
    if (length - i == 1 || (s[i] != ' ' && s[i] != '*')) {
        if (m_bsdReversed == 0)
            return false;
        m_bsdReversed = 1;
    } else if (m_bsdReversed != 1) {
        m_bsdReversed = 0;
        i++; // ' ' for text, '*' for binary: the same bytes are hashed
    }

    parsed->name = &s[i];
    return !escaped || Unescape(&s[i], length - i) != NULL;
}
