// The file digest routine: reads a file in binary mode, 1024 bytes at a time,
// through an MD5 context and formats the digest as hex text.
#include "md5file.h"

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

} // namespace

char *MD5FileHex(char *path)
{
    MD5_CTX context;
    unsigned char readBuffer[1024];
    unsigned char digest[16];
    char text[33];
    char streamBuffer[STREAM_BUFFER_SIZE];
    std::FILE *file;
    std::size_t n;

    // Binary mode: the bytes of the file, with no newline translation.
    if ((file = std::fopen(path, "rb")) == NULL) {
        std::printf("%s can't be opened\n", path);
        return NULL;
    }
    std::setvbuf(file, streamBuffer, _IOFBF, sizeof(streamBuffer));

    MD5Init(&context);
    while ((n = std::fread(readBuffer, 1, sizeof(readBuffer), file)) != 0)
        MD5Update(&context, readBuffer, (std::uint32_t)n);
    MD5Final(digest, &context);

    // A short read is an error or the end of the file; only the end of the
    // file yields a digest. (A directory, for one, opens but can't be read.)
    if (std::ferror(file)) {
        std::fclose(file);
        std::printf("%s can't be read\n", path);
        return NULL;
    }
    std::fclose(file);

    for (int i = 0; i < 16; i++)
        std::sprintf(text + 2 * i, "%02x", digest[i]);

    for (int i = 0; i < 32; i++)
        result[i] = text[i];
    return result;
}
