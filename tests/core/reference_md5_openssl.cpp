// ReferenceMD5 over OpenSSL's EVP interface.
#include "reference_md5.h"

#include <openssl/evp.h>
#include <stdexcept>

struct ReferenceMD5::State {
    EVP_MD_CTX *ctx = EVP_MD_CTX_new();
    ~State() { EVP_MD_CTX_free(ctx); }
};

ReferenceMD5::ReferenceMD5() : m_state(new State)
{
    if (m_state->ctx == nullptr || EVP_DigestInit_ex(m_state->ctx, EVP_md5(), nullptr) != 1)
        throw std::runtime_error("OpenSSL: EVP_DigestInit_ex(md5) failed");
}

ReferenceMD5::~ReferenceMD5() = default;

void ReferenceMD5::Update(const void *data, std::size_t len)
{
    EVP_DigestUpdate(m_state->ctx, data, len);
}

std::array<unsigned char, 16> ReferenceMD5::Digest()
{
    std::array<unsigned char, 16> out{};
    unsigned int len = 0;
    EVP_DigestFinal_ex(m_state->ctx, out.data(), &len);
    return out;
}
