// A byte-order mark at the start of the stream chooses how the rest is read.
#include "sums_reader.h"

namespace {

void AppendUtf8(std::string *s, unsigned long code)
{
    if (code < 0x80) {
        *s += static_cast<char>(code);
    } else if (code < 0x800) {
        *s += static_cast<char>(0xC0 | code >> 6);
        *s += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *s += static_cast<char>(0xE0 | code >> 12);
        *s += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        *s += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *s += static_cast<char>(0xF0 | code >> 18);
        *s += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        *s += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        *s += static_cast<char>(0x80 | (code & 0x3F));
    }
}

const unsigned long kReplacement = 0xFFFD;

} // namespace

int SumsReader::NextByte()
{
    if (m_heldNext < m_heldCount)
        return m_held[m_heldNext++];
    return std::getc(m_in);
}

// EF BB BF, FF FE or FE FF; anything else is kept to be read as text.
void SumsReader::ReadMark()
{
    static const unsigned char utf8[] = {0xEF, 0xBB, 0xBF};
    m_encoding = Bytes;
    int c = std::getc(m_in);
    if (c == EOF)
        return;
    m_held[m_heldCount++] = static_cast<unsigned char>(c);
    if (c == 0xFF || c == 0xFE) {
        int d = std::getc(m_in);
        if (d == (c ^ 1)) { // FF FE or FE FF
            m_encoding = c == 0xFF ? Utf16Le : Utf16Be;
            m_heldCount = 0;
        } else if (d != EOF) {
            m_held[m_heldCount++] = static_cast<unsigned char>(d);
        }
        return;
    }
    for (int i = 1; i < 3 && m_held[i - 1] == utf8[i - 1]; i++) {
        if ((c = std::getc(m_in)) == EOF)
            return;
        m_held[m_heldCount++] = static_cast<unsigned char>(c);
    }
    if (m_heldCount == 3 && m_held[2] == utf8[2])
        m_heldCount = 0;
}

long SumsReader::NextUnit(bool *odd)
{
    long unit = m_heldUnit;
    if (unit >= 0) {
        m_heldUnit = -1;
        return unit;
    }
    int first = NextByte();
    if (first == EOF)
        return -1;
    int second = NextByte();
    if (second == EOF) {
        *odd = true;
        return -1;
    }
    return m_encoding == Utf16Le ? second << 8 | first : first << 8 | second;
}

bool SumsReader::ReadLine(std::string *line, bool *broken)
{
    if (m_encoding == Unknown)
        ReadMark();
    line->clear();
    *broken = false;

    if (m_encoding == Bytes) {
        int c;
        while ((c = NextByte()) != EOF) {
            *line += static_cast<char>(c);
            if (c == '\n')
                break;
        }
        return !line->empty();
    }

    bool odd = false;
    long unit;
    while ((unit = NextUnit(&odd)) >= 0) {
        unsigned long code = static_cast<unsigned long>(unit);
        if (code >= 0xD800 && code <= 0xDBFF) { // a high surrogate: a low one must follow
            long low = NextUnit(&odd);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<unsigned long>(low) - 0xDC00);
            } else {
                m_heldUnit = low; // read again as a unit of its own (-1 stays the end)
                code = kReplacement, *broken = true;
            }
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            code = kReplacement, *broken = true;
        }
        AppendUtf8(line, code);
        if (code == '\n')
            break;
    }
    if (odd) {
        AppendUtf8(line, kReplacement);
        *broken = true;
    }
    return !line->empty();
}
