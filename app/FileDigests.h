// The digests of a file that the check against the clipboard compares: the
// MD5 the window shows, and beside it, from the same read of the file, the
// SHA-1 and SHA-2 digests the clipboard holds, computed by the system's own
// cryptography (CNG).
#ifndef VORKEL_APP_FILEDIGESTS_H
#define VORKEL_APP_FILEDIGESTS_H

#include <string>

#include "ExpectedDigests.h"

class CFileDigests {
public:
    // Reads the file at path once. Returns its MD5 as MD5FileHex does (32
    // lowercase digits in the core's shared buffer; null, the reason on
    // standard output, when it can't be read), and puts the SHA digests of
    // nKinds (bits 1 << DIGEST_...; MD5's is left aside) into m_strDigests,
    // in upper case. A kind the system can't compute stays empty.
    char *Compute(char *path, unsigned nKinds);

    std::string m_strDigests[DIGEST_KINDS];
};

#endif
