// gnulib's shell_escape_quoting_style with ':' among the characters to quote,
// as quotearg_buffer_restyled applies it to one name.
#include "quote.h"

#include <cstring>

namespace {

// Characters that no C library deems printable, whatever its version of
// Unicode: the line and paragraph separators, and the noncharacters
// (U+FDD0 to U+FDEF, and the last two of every plane).
bool NeverPrintable(unsigned long code)
{
    return code == 0x2028 || code == 0x2029 || (code >= 0xFDD0 && code <= 0xFDEF) ||
           (code & 0xFFFE) == 0xFFFE;
}

// The length of the UTF-8 sequence of a printable character at s[i], or 0
// when the bytes there are not one (a broken sequence, a C1 control, or one
// of the above).
std::size_t PrintableSequence(const std::string &s, std::size_t i)
{
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (c > 0xF4 || length == 0 || i + length > s.size())
        return 0;
    unsigned long code = c & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length; k++) {
        unsigned char next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (next & 0x3F);
    }
    bool shortest = code >= (length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000);
    bool valid = shortest && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    return valid && code >= 0xA0 && !NeverPrintable(code) ? length : 0;
}

// The letter of a C escape (\n and the like), or 0.
char CEscape(char c)
{
    switch (c) {
    case '\a': return 'a';
    case '\b': return 'b';
    case '\f': return 'f';
    case '\n': return 'n';
    case '\r': return 'r';
    case '\t': return 't';
    case '\v': return 'v';
    }
    return 0;
}

bool IsSafe(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::strchr("%+,-./:]_@", c) != NULL;
}

// Whether the character at s[i] lets the name go unquoted; and whether it
// goes into "..." as it is (what gnulib calls c_and_shell_quote_compat).
void Classify(const std::string &s, std::size_t i, bool *plain, bool *compatible)
{
    char c = s[i];
    bool alone = s.size() == 1;
    if (static_cast<unsigned char>(c) >= 0x80) {
        *plain = *compatible = PrintableSequence(s, i) != 0;
    } else if (c == ':') {
        *plain = false, *compatible = true;
    } else if (IsSafe(c)) {
        *plain = *compatible = true;
    } else if (c == ' ' || c == '\'' || ((c == '#' || c == '~') && i == 0) ||
               ((c == '{' || c == '}') && alone)) {
        *plain = false, *compatible = true;
    } else if (c == '#' || c == '~' || c == '{' || c == '}') {
        *plain = true, *compatible = false;
    } else {
        *plain = *compatible = false; // shell specials, '\\', controls
    }
}

// '...' with '\'' for an apostrophe and $'...' for what can't be typed.
// *escapesOpen: whether the text is within $'...', at the start and at the
// end.
std::string SingleQuoted(const std::string &s, bool *escapesOpen)
{
    static const char digits[] = "01234567";
    std::string out = "'";
    bool inEscapes = *escapesOpen; // within $'...'
    for (std::size_t i = 0; i < s.size(); i++) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t sequence = c >= 0x80 ? PrintableSequence(s, i) : 0;
        std::string escape;
        if (CEscape(s[i]))
            escape = std::string("\\") + CEscape(s[i]);
        else if (c < 0x20 || c == 0x7F || (c >= 0x80 && sequence == 0))
            escape = {'\\', digits[c >> 6], digits[(c >> 3) & 7], digits[c & 7]};
        if (!escape.empty()) {
            if (!inEscapes)
                out += "'$'";
            inEscapes = true;
            out += escape;
            continue;
        }
        if (c == '\'') { // ends either kind of quotes, then opens '...' again
            out += "'\\''";
            inEscapes = false;
            continue;
        }
        if (inEscapes)
            out += "''";
        inEscapes = false;
        std::size_t length = sequence ? sequence : 1;
        out.append(s, i, length);
        i += length - 1;
    }
    *escapesOpen = inEscapes;
    return out + "'";
}

} // namespace

std::string Quoted(const std::string &name)
{
    bool plain = !name.empty();
    bool compatible = true;
    for (std::size_t i = 0; i < name.size(); i++) {
        bool charPlain, charCompatible;
        Classify(name, i, &charPlain, &charCompatible);
        plain = plain && charPlain;
        compatible = compatible && charCompatible;
        if (static_cast<unsigned char>(name[i]) >= 0x80 && PrintableSequence(name, i))
            i += PrintableSequence(name, i) - 1;
    }
    if (plain)
        return name;
    bool apostrophe = name.find('\'') != std::string::npos;
    if (compatible && apostrophe)
        return "\"" + name + "\"";
    // gnulib quotes a name with an apostrophe twice, the first time only to
    // see whether "..." would do, and starts the second in the state where
    // the first ended: within $'...' if it ended so. md5sum then prints
    // '''it'\'''$'\t' for "it'<TAB>"; so does md5hex.
    bool escapesOpen = false;
    if (apostrophe)
        SingleQuoted(name, &escapesOpen);
    return SingleQuoted(name, &escapesOpen);
}
