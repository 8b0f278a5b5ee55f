// The digests the user expects, as they copied them: the digests in the text
// on the clipboard, where a download page's published digest usually comes
// from.
#ifndef VORKEL_APP_EXPECTEDDIGESTS_H
#define VORKEL_APP_EXPECTEDDIGESTS_H

#include <windows.h>

#include <string>
#include <vector>

// The kinds of digest the program computes, in the order verdicts name them.
enum DigestKind { DIGEST_MD5, DIGEST_SHA1, DIGEST_SHA256, DIGEST_SHA384, DIGEST_SHA512, DIGEST_KINDS };

class CExpectedDigests {
public:
    // Reads the clipboard's text now (CF_UNICODETEXT) and finds the digests
    // in it; the text itself is not kept. The clipboard is read, never
    // written. With no text there nothing is found. FALSE when another
    // program held the clipboard open for the whole of the wait (most of a
    // second): nothing is found then either, but it is busy, not empty.
    BOOL ReadClipboard(HWND hWndOwner);

    // Forgets what was found before, then finds the digests in strText.
    //
    // A run is a sequence of hexadecimal digits (ASCII 0-9, a-f and A-F only)
    // as long as it goes; zero-width characters and soft hyphens count as
    // absent. Pairs of digits joined by a single space, colon or hyphen
    // ("d4 1d 8c ...", as some tools print a digest) are one run, when the
    // first pair starts a word; a sequence one pair longer than a digest
    // ("should be d4 1d ...") is read as either of its two windows, without
    // its first pair or without its last. Two runs on consecutive lines, the
    // line break alone between them, whose lengths add up to a SHA-384's or
    // a SHA-512's are also read as one run (a digest wrapped by the page).
    //
    // The last algorithm name before a run on its line says what the run
    // is, if the length fits; a run after the name of an algorithm the
    // program does not compute (SHA-3, BLAKE2, CRC, ...) is never compared.
    // Otherwise the length decides: 32 digits MD5, 40 SHA-1, 64 SHA-256,
    // 96 SHA-384, 128 SHA-512.
    void Parse(const std::wstring &strText);

    // The kinds some reading of the text holds, a bit (1u << kind) each: the
    // digests of the file to compute for Judge.
    unsigned GetKinds() const { return m_nKinds; }

    struct CVerdict {
        BOOL bPass;
        // Passed: the kinds of the reading that passed, all of them matched.
        // Failed: the kinds that matched no value.
        unsigned nKinds;
        // Failed, in exactly one kind, which had exactly one value: that
        // value in upper case, to be compared by eye. Otherwise empty.
        std::string strValue;
    };

    // The verdict on the file's digests, digests[kind] in upper case for
    // each kind of GetKinds() (the other entries are not read; an empty one,
    // a digest that could not be computed, is left aside as other
    // algorithms are); only with GetKinds() != 0. A reading of the text passes when it holds a kind the
    // program computes and each kind it holds has a value that matches. The
    // text passes when any of its readings does; when none does, the verdict
    // names what failed in the plain reading (nothing joined across lines),
    // or if that holds nothing, in the readings that join lines.
    CVerdict Judge(const std::string digests[DIGEST_KINDS]) const;

    // Some run is a digest of an algorithm the program does not compute.
    BOOL m_bUnsupported = FALSE;

    // With no digest of a kind the program computes and none of another
    // algorithm: when exactly one run is a digit or so off a digest's length
    // (31, 33, 39, 41, 56, 63, 65, 95, 97, 127 or 129 digits), its length;
    // otherwise 0.
    int m_nNearMissLength = 0;

private:
    // A digest one reading holds: its kind (-1: none the program computes)
    // and its values in upper case, two for a sequence read as its windows.
    struct CDigest {
        int nKind = -1;
        std::vector<std::string> values;
    };
    // A run read alone, and with the run after it when the two may be one
    // digest wrapped onto two lines.
    struct CRun {
        CDigest alone;
        BOOL bJoinsNext = FALSE;
        CDigest joined;
    };
    std::vector<CRun> m_runs; // in the text's order
    CDigest Read(const std::string &strDigits, std::size_t nPairs, bool bNamedUnsupported);
    unsigned m_nKinds = 0;
};

#endif
