// The MD5 digest of a file, as text; and the same digest as bytes, for
// callers that report failures in their own words.
#ifndef VORKEL_CORE_MD5FILE_H
#define VORKEL_CORE_MD5FILE_H

#include <cstdio>

// Hashes the file named by path (handed to fopen unchanged) and returns its
// digest as 32 lowercase hex digits, or null when the file can't be opened or
// read; the reason then goes to standard output. The text lives in one static
// buffer that the next successful call overwrites: copy it at once. Not
// reentrant.
char *MD5FileHex(char *path);

// What MD5FileDigest and MD5StreamDigest return.
enum {
    MD5FILE_OK = 0,
    MD5FILE_OPEN_ERROR, // fopen failed
    MD5FILE_READ_ERROR  // a read failed (a directory, for one, opens on Linux but can't be read)
};

// What MD5FileHex makes of a file routine's outcome (status and digest, as
// MD5FileDigest returns them) for path: the reason on standard output and
// null for a failure, else the digest as text in the shared buffer. For
// callers that hash files some other way and report them as MD5FileHex does.
char *MD5HexResult(const char *path, int status, const unsigned char digest[16]);

// The file routine beneath MD5FileHex: the same file read the same way into
// the 16 bytes of digest, but silent. On an error errno says why (as fopen
// or the read left it) and digest is undefined.
int MD5FileDigest(char *path, unsigned char digest[16]);

// The digest of what is left to read of an open stream (standard input, for
// one), in binary if the stream is; the stream stays open.
int MD5StreamDigest(std::FILE *file, unsigned char digest[16]);

// MD5FileDigest that also hands every piece it reads, in order, to
// pfnPiece(pContext, piece, length): for a caller that computes other
// digests of the same bytes, the file read once for all of them.
typedef void (*MD5PIECEFUNC)(void *pContext, const unsigned char *piece, std::size_t length);
int MD5FileDigestEach(char *path, unsigned char digest[16], MD5PIECEFUNC pfnPiece, void *pContext);

#endif
