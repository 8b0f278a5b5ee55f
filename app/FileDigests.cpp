// The file read once for its MD5 (the core) and its SHA digests (CNG, from
// bcrypt.dll, loaded from System32 at run time as the class library loads
// the system's other DLLs).
#include "FileDigests.h"

#include <afxpriv.h>
#include <bcrypt.h>

#include <cstdio>
#include <vector>

#include "md5file.h"

namespace {

typedef NTSTATUS(WINAPI *PFNOPENALGORITHMPROVIDER)(BCRYPT_ALG_HANDLE *, LPCWSTR, LPCWSTR, ULONG);
typedef NTSTATUS(WINAPI *PFNGETPROPERTY)(BCRYPT_HANDLE, LPCWSTR, PUCHAR, ULONG, ULONG *, ULONG);
typedef NTSTATUS(WINAPI *PFNCREATEHASH)(BCRYPT_ALG_HANDLE, BCRYPT_HASH_HANDLE *, PUCHAR, ULONG,
                                        PUCHAR, ULONG, ULONG);
typedef NTSTATUS(WINAPI *PFNHASHDATA)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
typedef NTSTATUS(WINAPI *PFNFINISHHASH)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
typedef NTSTATUS(WINAPI *PFNDESTROYHASH)(BCRYPT_HASH_HANDLE);
typedef NTSTATUS(WINAPI *PFNCLOSEALGORITHMPROVIDER)(BCRYPT_ALG_HANDLE, ULONG);

// CNG's functions, or nulls where bcrypt.dll can't be had.
struct Cng {
    PFNOPENALGORITHMPROVIDER pfnOpenAlgorithmProvider;
    PFNGETPROPERTY pfnGetProperty;
    PFNCREATEHASH pfnCreateHash;
    PFNHASHDATA pfnHashData;
    PFNFINISHHASH pfnFinishHash;
    PFNDESTROYHASH pfnDestroyHash;
    PFNCLOSEALGORITHMPROVIDER pfnCloseAlgorithmProvider;

    Cng()
        : pfnOpenAlgorithmProvider(
              AfxGetSystemProc<PFNOPENALGORITHMPROVIDER>("bcrypt.dll", "BCryptOpenAlgorithmProvider")),
          pfnGetProperty(AfxGetSystemProc<PFNGETPROPERTY>("bcrypt.dll", "BCryptGetProperty")),
          pfnCreateHash(AfxGetSystemProc<PFNCREATEHASH>("bcrypt.dll", "BCryptCreateHash")),
          pfnHashData(AfxGetSystemProc<PFNHASHDATA>("bcrypt.dll", "BCryptHashData")),
          pfnFinishHash(AfxGetSystemProc<PFNFINISHHASH>("bcrypt.dll", "BCryptFinishHash")),
          pfnDestroyHash(AfxGetSystemProc<PFNDESTROYHASH>("bcrypt.dll", "BCryptDestroyHash")),
          pfnCloseAlgorithmProvider(AfxGetSystemProc<PFNCLOSEALGORITHMPROVIDER>(
              "bcrypt.dll", "BCryptCloseAlgorithmProvider"))
    {
    }

    bool IsThere() const
    {
        return pfnOpenAlgorithmProvider != NULL && pfnGetProperty != NULL &&
               pfnCreateHash != NULL && pfnHashData != NULL && pfnFinishHash != NULL &&
               pfnDestroyHash != NULL && pfnCloseAlgorithmProvider != NULL;
    }
};

// One digest being computed: the algorithm's provider and the hash object.
struct CngHash {
    BCRYPT_ALG_HANDLE hAlg = NULL;
    BCRYPT_HASH_HANDLE hHash = NULL;
    // The hash object's memory, ours to give: Windows 7 takes no null there
    // (from 8 on, CNG would allocate it itself).
    std::vector<UCHAR> object;
    bool bFailed = false;
};

// All the file's SHA digests, fed each piece the core reads.
struct ShaHashes {
    const Cng &cng;
    CngHash hashes[DIGEST_KINDS];

    explicit ShaHashes(const Cng &c) : cng(c) {}
    ~ShaHashes()
    {
        for (CngHash &hash : hashes) {
            if (hash.hHash != NULL)
                cng.pfnDestroyHash(hash.hHash);
            if (hash.hAlg != NULL)
                cng.pfnCloseAlgorithmProvider(hash.hAlg, 0);
        }
    }
    ShaHashes(const ShaHashes &) = delete;
    ShaHashes &operator=(const ShaHashes &) = delete;

    bool Open(int nKind, LPCWSTR pszAlgorithm)
    {
        CngHash &hash = hashes[nKind];
        DWORD cbObject = 0;
        ULONG cbResult = 0;
        if (!BCRYPT_SUCCESS(cng.pfnOpenAlgorithmProvider(&hash.hAlg, pszAlgorithm, NULL, 0))) {
            hash.hAlg = NULL;
            return false;
        }
        if (!BCRYPT_SUCCESS(cng.pfnGetProperty(hash.hAlg, BCRYPT_OBJECT_LENGTH,
                                               reinterpret_cast<PUCHAR>(&cbObject),
                                               sizeof(cbObject), &cbResult, 0)))
            return false;
        hash.object.resize(cbObject);
        if (!BCRYPT_SUCCESS(cng.pfnCreateHash(hash.hAlg, &hash.hHash, hash.object.data(), cbObject,
                                              NULL, 0, 0))) {
            hash.hHash = NULL;
            return false;
        }
        return true;
    }

    // MD5PIECEFUNC: one more piece of the file for every digest.
    static void HashPiece(void *pContext, const unsigned char *piece, std::size_t length)
    {
        ShaHashes *pThis = static_cast<ShaHashes *>(pContext);
        for (CngHash &hash : pThis->hashes) {
            if (hash.hHash != NULL && !hash.bFailed &&
                !BCRYPT_SUCCESS(pThis->cng.pfnHashData(hash.hHash, const_cast<PUCHAR>(piece),
                                                       static_cast<ULONG>(length), 0)))
                hash.bFailed = true;
        }
    }

    // The digest in upper case, or empty.
    std::string Finish(int nKind)
    {
        CngHash &hash = hashes[nKind];
        DWORD cbHash = 0;
        ULONG cbResult = 0;
        if (hash.hHash == NULL || hash.bFailed ||
            !BCRYPT_SUCCESS(cng.pfnGetProperty(hash.hAlg, BCRYPT_HASH_LENGTH,
                                               reinterpret_cast<PUCHAR>(&cbHash), sizeof(cbHash),
                                               &cbResult, 0)))
            return std::string();
        std::vector<UCHAR> digest(cbHash);
        if (!BCRYPT_SUCCESS(cng.pfnFinishHash(hash.hHash, digest.data(), cbHash, 0)))
            return std::string();
        std::string strHex;
        char szByte[3];
        for (UCHAR b : digest) {
            std::sprintf(szByte, "%02X", b);
            strHex += szByte;
        }
        return strHex;
    }
};

} // namespace

char *CFileDigests::Compute(char *path, unsigned nKinds)
{
    static const LPCWSTR kAlgorithms[DIGEST_KINDS] = {
        NULL, BCRYPT_SHA1_ALGORITHM, BCRYPT_SHA256_ALGORITHM, BCRYPT_SHA384_ALGORITHM,
        BCRYPT_SHA512_ALGORITHM};

    for (std::string &strDigest : m_strDigests)
        strDigest.clear();
    if ((nKinds & ~(1u << DIGEST_MD5)) == 0)
        return MD5FileHex(path); // the MD5 alone, read as it always was

    static const Cng cng; // bcrypt.dll's functions, looked up once
    ShaHashes shas(cng);
    bool bAny = false;
    for (int nKind = DIGEST_SHA1; nKind < DIGEST_KINDS; nKind++)
        bAny |= (nKinds & (1u << nKind)) != 0 && cng.IsThere() && shas.Open(nKind, kAlgorithms[nKind]);
    if (!bAny)
        return MD5FileHex(path);

    unsigned char digest[16];
    char *pszMd5 = MD5HexResult(path, MD5FileDigestEach(path, digest, ShaHashes::HashPiece, &shas), digest);
    if (pszMd5 != NULL) {
        for (int nKind = DIGEST_SHA1; nKind < DIGEST_KINDS; nKind++)
            m_strDigests[nKind] = shas.Finish(nKind);
    }
    return pszMd5;
}
