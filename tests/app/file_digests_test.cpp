// The file's SHA digests, computed by the system's cryptography beside its
// MD5 in the one read of the file, against coreutils' on files around the
// 1024-byte pieces the file is read in (sha_oracle.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>

#include "FileDigests.h"
#include "reference_md5.h"
#include "sha_oracle.h"
#include "test_folder.h"

namespace {

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), ::toupper);
    return text;
}

TEST(FileDigests, AgreeWithCoreutilsAndTheMd5)
{
    TestFolder folder("vorkel-digests-");
    const std::string path = (folder.Path() / "file.bin").string();
    for (const ShaOracle &oracle : kShaOracle) {
        SCOPED_TRACE(oracle.length);
        std::string bytes;
        for (unsigned i = 0; i < oracle.length; i++)
            bytes += static_cast<char>(i % 255 + 1);
        std::ofstream(path, std::ios::binary) << bytes;

        CFileDigests digests;
        std::string writable = path;
        const char *md5 = digests.Compute(&writable[0], (1u << DIGEST_KINDS) - 1);
        ASSERT_NE(md5, nullptr);
        EXPECT_EQ(md5, ReferenceMD5::Hex(bytes));
        for (int kind = DIGEST_SHA1; kind < DIGEST_KINDS; kind++)
            EXPECT_EQ(digests.m_strDigests[kind], Upper(oracle.sha[kind - DIGEST_SHA1]))
                << "kind " << kind;

        // Only the kinds asked for; none: the MD5 alone.
        EXPECT_NE(digests.Compute(&writable[0], 1u << DIGEST_SHA384), nullptr);
        EXPECT_EQ(digests.m_strDigests[DIGEST_SHA384], Upper(oracle.sha[2]));
        EXPECT_EQ(digests.m_strDigests[DIGEST_SHA256], "");
        EXPECT_EQ(digests.Compute(&writable[0], 1u << DIGEST_MD5), ReferenceMD5::Hex(bytes));
        EXPECT_EQ(digests.m_strDigests[DIGEST_SHA384], "");
    }

    // A file that can't be read: no digest at all, and the reason, as
    // MD5FileHex gives it.
    std::string missing = (folder.Path() / "missing.bin").string();
    CFileDigests digests;
    testing::internal::CaptureStdout();
    EXPECT_EQ(digests.Compute(&missing[0], 1u << DIGEST_SHA256), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), missing + " can't be opened\n");
    EXPECT_EQ(digests.m_strDigests[DIGEST_SHA256], "");
}

} // namespace
