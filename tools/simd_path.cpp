// MD5HEX_SIMD read and capped by what the machine runs.
#include "simd_path.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "md5lanes.h"

int SimdPath()
{
    int path = MD5LanesSupported();
    const char *asked = std::getenv("MD5HEX_SIMD");
    if (asked == NULL)
        return path;
    std::string name;
    for (const char *p = asked; *p; p++)
        name += (char)std::tolower((unsigned char)*p);

    int cap = path;
    if (name == "scalar")
        cap = MD5_PATH_SCALAR;
    else if (name == "avx2")
        cap = MD5_PATH_AVX2;
    else if (name == "avx512")
        cap = MD5_PATH_AVX512;
    return cap < path ? cap : path;
}
