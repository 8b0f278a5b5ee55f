// MD5FileHex over real files: sizes around the 1024-byte read, bytes that a
// text-mode stream would change, paths that can't be opened or read, and the
// shared result buffer; and the silent routines beneath it, MD5FileDigest and
// MD5StreamDigest.
#include <gtest/gtest.h>

#include <cerrno>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "md5file.h"
#include "reference_md5.h"
#include "test_folder.h"

namespace fs = std::filesystem;

namespace {

class MD5FileHexTest : public testing::Test {
protected:
    // Writes bytes to a new file in the test's folder and returns its path.
    std::string MakeFile(const std::string &name, const std::string &bytes)
    {
        const std::string path = (m_dir / name).string();
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        EXPECT_TRUE(out) << path;
        return path;
    }

    // Calls MD5FileHex on a writable copy of path; returns the result and
    // whatever it wrote to standard output.
    static const char *HashCapturing(const std::string &path, std::string *output)
    {
        std::string copy = path;
        testing::internal::CaptureStdout();
        const char *result = MD5FileHex(&copy[0]);
        *output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(copy, path) << "the path was modified";
        return result;
    }

    static std::string Hash(const std::string &path)
    {
        std::string output;
        const char *result = HashCapturing(path, &output);
        EXPECT_EQ(output, "");
        return result ? result : "(null)";
    }

    TestFolder m_folder{"vorkel-md5file-"};
    const fs::path &m_dir = m_folder.Path();
};

std::string AllByteValues(std::size_t repeat)
{
    std::string bytes;
    for (std::size_t r = 0; r < repeat; r++)
        for (int value = 0; value < 256; value++)
            bytes += static_cast<char>(value);
    return bytes;
}

} // namespace

TEST_F(MD5FileHexTest, EmptyFileGivesTheDigestOfTheEmptyMessage)
{
    EXPECT_EQ(Hash(MakeFile("empty", "")), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST_F(MD5FileHexTest, SizesAroundTheReadPiece)
{
    for (std::size_t size : {1, 1023, 1024, 1025, 2048, 4095, 4096, 65536, 65537, 300000}) {
        const std::string bytes = AllByteValues(size / 256 + 1).substr(0, size);
        EXPECT_EQ(Hash(MakeFile("size" + std::to_string(size), bytes)), ReferenceMD5::Hex(bytes))
            << size << " bytes";
    }
}

TEST_F(MD5FileHexTest, ResultIs32LowercaseHexDigits)
{
    const std::string text = Hash(MakeFile("abc", "abc"));
    ASSERT_EQ(text.size(), 32u);
    for (char c : text)
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'a' && c <= 'f')) << text;
    EXPECT_EQ(text, "900150983cd24fb0d6963f7d28e17f72");
}

// Zero bytes, high bytes, CR/LF and Ctrl-Z are exactly what a text-mode
// stream on Windows would drop, translate or stop at.
TEST_F(MD5FileHexTest, BinaryBytesAreHashedAsTheyAre)
{
    const std::string zeros(3000, '\0');
    EXPECT_EQ(Hash(MakeFile("zeros", zeros)), ReferenceMD5::Hex(zeros));

    std::string high;
    for (int value = 0x80; value <= 0xff; value++)
        high += static_cast<char>(value);
    EXPECT_EQ(Hash(MakeFile("high", high)), ReferenceMD5::Hex(high));

    const std::string text = "first line\r\nsecond line\n\rthird\r\n\x1a after end-of-file mark\n";
    EXPECT_EQ(Hash(MakeFile("crlf.txt", text)), ReferenceMD5::Hex(text));

    const std::string all = AllByteValues(9);
    EXPECT_EQ(Hash(MakeFile("all", all)), ReferenceMD5::Hex(all));
}

TEST_F(MD5FileHexTest, MissingAndEmptyPathsReportAndGiveNull)
{
    std::string output;
    const std::string missing = (m_dir / "no such file").string();
    EXPECT_EQ(HashCapturing(missing, &output), nullptr);
    EXPECT_EQ(output, missing + " can't be opened\n");

    EXPECT_EQ(HashCapturing("", &output), nullptr);
    EXPECT_EQ(output, " can't be opened\n");
}

// A directory opens on Linux and fails at the first read; the Windows C
// runtime refuses to open it at all. Either way there is no digest.
TEST_F(MD5FileHexTest, DirectoryIsAFailureNotADigest)
{
    std::string output;
    const std::string dir = m_dir.string();
    EXPECT_EQ(HashCapturing(dir, &output), nullptr);
#ifdef _WIN32
    EXPECT_EQ(output, dir + " can't be opened\n");
#else
    EXPECT_EQ(output, dir + " can't be read\n");
#endif
}

TEST_F(MD5FileHexTest, ResultBufferIsSharedAcrossCalls)
{
    const std::string first = MakeFile("first", "a");
    const std::string second = MakeFile("second", "abc");

    std::string copy = first;
    const char *firstResult = MD5FileHex(&copy[0]);
    ASSERT_NE(firstResult, nullptr);
    EXPECT_STREQ(firstResult, "0cc175b9c0f1b6a831c399e269772661");

    copy = second;
    const char *secondResult = MD5FileHex(&copy[0]);
    EXPECT_EQ(secondResult, firstResult);
    EXPECT_STREQ(firstResult, "900150983cd24fb0d6963f7d28e17f72");

    // A failed call leaves the last digest where it was.
    std::string output;
    EXPECT_EQ(HashCapturing((m_dir / "gone").string(), &output), nullptr);
    EXPECT_STREQ(firstResult, "900150983cd24fb0d6963f7d28e17f72");
}

namespace {

std::string Hex(const unsigned char digest[16])
{
    char text[33];
    for (int i = 0; i < 16; i++)
        std::snprintf(text + 2 * i, 3, "%02x", digest[i]);
    return text;
}

} // namespace

// The same digest as MD5FileHex's, and no word on standard output whatever
// happens: the caller reports failures, errno telling why.
TEST_F(MD5FileHexTest, FileDigestIsSilentAndSaysWhyItFailed)
{
    const std::string all = AllByteValues(9);
    std::string path = MakeFile("all", all);
    std::string missing = (m_dir / "no such file").string();
    std::string dir = m_dir.string();
    unsigned char digest[16];

    testing::internal::CaptureStdout();
    int found = MD5FileDigest(&path[0], digest);
    std::string foundHex = Hex(digest);
    errno = 0;
    int notFound = MD5FileDigest(&missing[0], digest);
    int notFoundErrno = errno;
    errno = 0;
    int directory = MD5FileDigest(&dir[0], digest);
    int directoryErrno = errno;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    EXPECT_EQ(found, MD5FILE_OK);
    EXPECT_EQ(foundHex, ReferenceMD5::Hex(all));
    EXPECT_EQ(notFound, MD5FILE_OPEN_ERROR);
    EXPECT_EQ(notFoundErrno, ENOENT);
#ifdef _WIN32
    EXPECT_EQ(directory, MD5FILE_OPEN_ERROR);
    EXPECT_EQ(directoryErrno, EACCES);
#else
    EXPECT_EQ(directory, MD5FILE_READ_ERROR);
    EXPECT_EQ(directoryErrno, EISDIR);
#endif
}

TEST_F(MD5FileHexTest, StreamDigestHashesWhatIsLeftAndLeavesTheStreamOpen)
{
    const std::string bytes = AllByteValues(5);
    std::FILE *file = std::fopen(MakeFile("bytes", bytes).c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fseek(file, 100, SEEK_SET), 0);
    unsigned char digest[16];
    EXPECT_EQ(MD5StreamDigest(file, digest), MD5FILE_OK);
    EXPECT_EQ(Hex(digest), ReferenceMD5::Hex(bytes.substr(100)));
    EXPECT_EQ(MD5StreamDigest(file, digest), MD5FILE_OK); // at the end: the empty message
    EXPECT_EQ(Hex(digest), "d41d8cd98f00b204e9800998ecf8427e");
    std::fclose(file);
}
