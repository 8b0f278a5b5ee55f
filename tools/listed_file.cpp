// A listed name hashed by the core's file routine; "-" by its stream routine.
#include "listed_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "md5file.h"

int HashListedFile(const char *name, unsigned char digest[16])
{
    if (std::strcmp(name, "-") != 0)
        return MD5FileDigest(const_cast<char *>(name), digest);
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    int result = MD5StreamDigest(stdin, digest);
    int error = errno;
    std::clearerr(stdin); // standard input may be listed again, or be read by the next sums file
    errno = error;
    return result;
}
