// The file digest routine: reads a file in binary mode, 1024 bytes at a time,
// through an MD5 context and formats the digest as hex text.
#include "md5file.h"

#include <cerrno>
#include <cstdio>

#include "md5.h"

namespace {

// Shared by all calls. Only the first 32 bytes are ever written, so the last
// one stays zero and ends the text.
char result[33];

// The stream's own buffer. The C runtime's default of 4 KiB means one read
// from the system for every four of our 1024-byte pieces; a larger buffer of
// fixed size cuts those calls without making memory grow with the file.
const std::size_t STREAM_BUFFER_SIZE = 64 * 1024;

// The stream's digest, each piece also handed to pfnPiece when there is one.
int StreamDigest(std::FILE *file, unsigned char digest[16], MD5PIECEFUNC pfnPiece, void *pContext)
{
    MD5_CTX context;
    unsigned char readBuffer[1024];
    std::size_t n;

    MD5Init(&context);
    while ((n = std::fread(readBuffer, 1, sizeof(readBuffer), file)) != 0) {
        MD5Update(&context, readBuffer, (std::uint32_t)n);
        if (pfnPiece != NULL)
            pfnPiece(pContext, readBuffer, n);
    }
    MD5Final(digest, &context);

    // A short read is an error or the end of the file; only the end of the
    // file yields a digest.
    return std::ferror(file) ? MD5FILE_READ_ERROR : MD5FILE_OK;
}

int FileDigest(char *path, unsigned char digest[16], MD5PIECEFUNC pfnPiece, void *pContext)
{
    char streamBuffer[STREAM_BUFFER_SIZE];
    std::FILE *file;
    int status;
    int error;

    // Binary mode: the bytes of the file, with no newline translation.
    if ((file = std::fopen(path, "rb")) == NULL)
        return MD5FILE_OPEN_ERROR;
    std::setvbuf(file, streamBuffer, _IOFBF, sizeof(streamBuffer));

    status = StreamDigest(file, digest, pfnPiece, pContext);
    error = errno; // the read's reason, whatever closing does to errno
    std::fclose(file);
    errno = error;
    return status;
}

} // namespace

int MD5StreamDigest(std::FILE *file, unsigned char digest[16])
{
    return StreamDigest(file, digest, NULL, NULL);
}

int MD5FileDigest(char *path, unsigned char digest[16])
{
    return FileDigest(path, digest, NULL, NULL);
}

int MD5FileDigestEach(char *path, unsigned char digest[16], MD5PIECEFUNC pfnPiece, void *pContext)
{
    return FileDigest(path, digest, pfnPiece, pContext);
}

char *MD5FileHex(char *path)
{
    unsigned char digest[16];

    return MD5HexResult(path, MD5FileDigest(path, digest), digest);
}

char *MD5HexResult(const char *path, int status, const unsigned char digest[16])
{
    char text[33];

    switch (status) {
    case MD5FILE_OPEN_ERROR:
        std::printf("%s can't be opened\n", path);
        return NULL;
    case MD5FILE_READ_ERROR:
        std::printf("%s can't be read\n", path);
        return NULL;
    }

    for (int i = 0; i < 16; i++)
        std::sprintf(text + 2 * i, "%02x", digest[i]);

    for (int i = 0; i < 32; i++)
        result[i] = text[i];
    return result;
}
