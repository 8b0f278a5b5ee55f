// An MD5 that shares no code with the core: the oracle of the differential
// tests. Built over OpenSSL natively; a separate plain implementation serves
// the Windows build, where no libcrypto is at hand.
#ifndef VORKEL_TESTS_REFERENCE_MD5_H
#define VORKEL_TESTS_REFERENCE_MD5_H

#include <array>
#include <cstddef>
#include <memory>
#include <string>

class ReferenceMD5 {
public:
    ReferenceMD5();
    ~ReferenceMD5();
    ReferenceMD5(const ReferenceMD5 &) = delete;
    ReferenceMD5 &operator=(const ReferenceMD5 &) = delete;

    void Update(const void *data, std::size_t len);
    std::array<unsigned char, 16> Digest();

    // One-shot digest of a byte string, as 32 lowercase hex digits.
    static std::string Hex(const std::string &bytes);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

#endif
