// One line of a sums file, taken apart as md5sum -c takes it (coreutils
// 9.1's split_3): "<32 hex>  <name>" (text), "<32 hex> *<name>" (binary),
// the tagged "MD5 (<name>) = <32 hex>", BSD's reversed "<32 hex> <name>",
// each with a leading backslash when the name is escaped ("\\" for a
// backslash, "\n" and "\r" for line ends).
#ifndef VORKEL_TOOLS_SUMS_LINE_H
#define VORKEL_TOOLS_SUMS_LINE_H

#include <cstddef>

struct SumsLine {
    const char *digest; // 32 hex digits, either case
    const char *name;   // unescaped
};

class SumsLineParser {
public:
    // Parses line, length bytes followed by a zero, in place (the digest and
    // the name point into it); false for an improperly formatted line.
    bool Parse(char *line, std::size_t length, SumsLine *parsed);

private:
    // Whether the lines so far were in BSD's reversed format (1), the
    // standard one (0), or neither yet (-1): the two don't mix, across the
    // lines of all the sums files of one run (as in md5sum).
    int m_bsdReversed = -1;
};

#endif
