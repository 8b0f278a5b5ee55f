// Stand-ins for standard descriptors that were closed at start: /dev/null
// opened the wrong way round (write-only for input, read-only for output),
// so that every read or write of them fails with EBADF, as it would have.
#include "standard_streams.h"

#include <cerrno>

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool closedAtStart[3];

} // namespace

void ReserveStandardDescriptors()
{
#ifndef _WIN32
    for (int fd = 0; fd <= 2; fd++) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free descriptor is fd itself: 0 to fd - 1 are taken.
        int standIn = open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
        if (standIn == -1) // no /dev/null: the descriptor stays closed
            continue;
        if (standIn != fd) {
            dup2(standIn, fd);
            close(standIn);
        }
        closedAtStart[fd] = true;
    }
#endif
}

int CloseStandardStream(std::FILE *stream)
{
    int fd = stream == stdin ? 0 : stream == stdout ? 1 : 2;
    int result = std::fclose(stream);
    if (closedAtStart[fd] && result == 0) {
        errno = EBADF;
        return EOF;
    }
    return result;
}

void SetBinary(std::FILE *stream)
{
#ifdef _WIN32
    _setmode(_fileno(stream), _O_BINARY);
#else
    (void)stream;
#endif
}
