// The digest the user expects, as they copied it: the MD5s in the text on
// the clipboard, where a download page's published digest usually comes from.
#ifndef VORKEL_APP_EXPECTEDDIGESTS_H
#define VORKEL_APP_EXPECTEDDIGESTS_H

#include <windows.h>

#include <set>
#include <string>

class CExpectedDigests {
public:
    // Reads the clipboard's text now (CF_UNICODETEXT) and finds the digests
    // in it; the text itself is not kept. The clipboard is read, never
    // written. With no text there (or the clipboard held by another program
    // too long), nothing is found.
    void ReadClipboard(HWND hWndOwner);

    // Finds the digests in strText: the runs of hexadecimal digits, each as
    // long as it goes (ASCII 0-9, a-f and A-F only), where a single space,
    // colon or hyphen between two pairs of digits joins the pairs into one
    // run ("e1 c6 c9 ...", as some tools print a digest).
    void Parse(const std::wstring &strText);

    // The MD5s: the different runs of exactly 32 digits, in upper case.
    std::set<std::string> m_md5s;

    // When exactly one run is as long as a SHA-1 or SHA-2 digest (40, 56,
    // 64, 96 or 128 digits), its length; otherwise 0.
    int m_nOtherLength = 0;
};

#endif
