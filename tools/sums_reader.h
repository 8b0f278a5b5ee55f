// The lines of a sums file. Without a byte-order mark, its bytes as they are
// (md5sum's way). Windows' own tools write marks: Notepad a UTF-8 one, which
// is dropped; Windows PowerShell 5.1 (its `>` and Out-File) UTF-16LE with a
// mark, and UTF-16BE exists too: those are decoded to UTF-8, the names then
// meaning what they meant to the program that wrote them.
#ifndef VORKEL_TOOLS_SUMS_READER_H
#define VORKEL_TOOLS_SUMS_READER_H

#include <cstdio>
#include <string>

class SumsReader {
public:
    explicit SumsReader(std::FILE *in) : m_in(in) {}

    // The next line with its '\n' (if any), in UTF-8 when the file is in
    // UTF-16; false at the end of the file or at a read error. broken: the
    // line is UTF-16 that does not decode (a lone surrogate, or an odd byte
    // at the end), its text then holding U+FFFD there.
    bool ReadLine(std::string *line, bool *broken);

private:
    enum Encoding { Unknown, Bytes, Utf16Le, Utf16Be };

    void ReadMark();
    int NextByte();
    // The next UTF-16 code unit, or -1 at the end; *odd when a single byte
    // was left.
    long NextUnit(bool *odd);

    std::FILE *m_in;
    Encoding m_encoding = Unknown;
    unsigned char m_held[3]; // bytes read while looking for a mark, not one
    int m_heldCount = 0, m_heldNext = 0;
    long m_heldUnit = -1; // a unit read past a lone high surrogate
};

#endif
