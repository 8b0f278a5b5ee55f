#include "reference_md5.h"

#include <cstdio>

std::string ReferenceMD5::Hex(const std::string &bytes)
{
    ReferenceMD5 md5;
    md5.Update(bytes.data(), bytes.size());
    std::string text;
    char two[3];
    for (unsigned char byte : md5.Digest()) {
        std::snprintf(two, sizeof(two), "%02x", byte);
        text += two;
    }
    return text;
}
