// md5hex: prints the MD5 digest of each file named on the command line, one
// "<digest>  <path>" line each, the way md5sum does. A file that can't be
// hashed gets the core's message instead and makes the exit status 1.
#include <cstdio>

#include "md5file.h"

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: md5hex FILE...\n");
        return 2;
    }

    int status = 0;
    for (int i = 1; i < argc; i++) {
        const char *digest = MD5FileHex(argv[i]);
        if (digest == NULL)
            status = 1;
        else
            std::printf("%s  %s\n", digest, argv[i]);
    }
    return status;
}
