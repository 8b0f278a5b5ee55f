// The pipeline against the core's own file routine: many files of sizes
// around the read pieces and the padding, missing names and folders among
// them, on every path the processor has, with the usual limits and with
// limits so small that every buffer and the queue of names run out again and
// again (no deadlock, results still in order, whether waited or polled for);
// standard input as "-"; and the pipeline dropped before its results are
// all taken.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "hash_pipeline.h"
#include "md5.h"
#include "md5file.h"
#include "md5lanes.h"
#include "test_folder.h"

namespace fs = std::filesystem;

namespace {

class HashPipelineTest : public testing::Test {
protected:
    std::string MakeFile(const std::string &name, std::size_t size)
    {
        const std::string path = (m_dir / name).string();
        std::string bytes(size, '\0');
        for (char &c : bytes)
            c = static_cast<char>(m_random());
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
        return path;
    }

    // Files of sizes around the padding's boundaries and around pieces of
    // `piece` bytes, some larger than all the buffers of Tiny() together;
    // between them names that don't exist and folders, and a name twice.
    std::vector<std::string> MakeFolder(std::size_t piece, int rounds)
    {
        std::vector<std::string> names;
        const std::size_t sizes[] = {0,         1,         55,        56,        63,
                                     64,        65,        1000,      piece - 1, piece,
                                     piece + 1, 3 * piece, 3 * piece + 57, 200000, 700001};
        int n = 0;
        for (int round = 0; round < rounds; round++) {
            for (std::size_t size : sizes) {
                names.push_back(MakeFile("f" + std::to_string(n++), size));
                if (m_random() % 5 == 0)
                    names.push_back((m_dir / ("missing" + std::to_string(n))).string());
            }
            fs::create_directories(m_dir / ("folder" + std::to_string(round)));
            names.push_back((m_dir / ("folder" + std::to_string(round))).string());
        }
        names.push_back(names[3]);
        return names;
    }

    // Everything names comes to through a pipeline, in the order taken back,
    // names queued whenever there is room; every other result waited for
    // with Next, the others polled for with TryNext.
    static std::vector<HashResult> HashAll(HashPipeline &pipeline, const std::vector<std::string> &names)
    {
        std::vector<HashResult> results;
        std::size_t queued = 0;
        while (results.size() < names.size()) {
            while (queued < names.size() && pipeline.Add(names[queued].c_str()))
                queued++;
            HashResult result;
            if (results.size() % 2 == 1) {
                while (!pipeline.TryNext(&result))
                    std::this_thread::yield();
            } else if (!pipeline.Next(&result)) {
                break;
            }
            results.push_back(result);
        }
        HashResult extra;
        EXPECT_FALSE(pipeline.Next(&extra)) << "a result for no name";
        EXPECT_FALSE(pipeline.TryNext(&extra)) << "a result for no name";
        return results;
    }

    // What the core's file routine makes of each name, one after another.
    static std::vector<HashResult> AsTheCore(const std::vector<std::string> &names)
    {
        std::vector<HashResult> results;
        for (std::string path : names) {
            HashResult result = {};
            result.status = MD5FileDigest(&path[0], result.digest);
            result.error = result.status == MD5FILE_OK ? 0 : errno;
            results.push_back(result);
        }
        return results;
    }

    static void ExpectSame(const std::vector<std::string> &names, const std::vector<HashResult> &expected,
                           const std::vector<HashResult> &results)
    {
        ASSERT_EQ(results.size(), names.size());
        for (std::size_t i = 0; i < names.size(); i++) {
            ASSERT_EQ(results[i].status, expected[i].status) << names[i];
            if (expected[i].status == MD5FILE_OK)
                EXPECT_EQ(std::memcmp(results[i].digest, expected[i].digest, 16), 0) << names[i];
            else
                EXPECT_EQ(results[i].error, expected[i].error) << names[i] << ": " << std::strerror(results[i].error);
        }
    }

    TestFolder m_folder{"vorkel-pipeline-"};
    const fs::path &m_dir = m_folder.Path();
    std::mt19937 m_random{20261215};
};

struct Case {
    const char *what;
    HashLimits limits;
    int rounds; // of MakeFolder
};

HashLimits Tiny()
{
    HashLimits limits;
    limits.pieceSize = 4096;
    limits.pieces = 3;
    limits.names = 5;
    limits.ahead = 1;
    limits.workers = 3;
    return limits;
}

// One worker, so that the few buffers' pieces share its lanes.
HashLimits OneWorker()
{
    HashLimits limits = Tiny();
    limits.pieces = 7;
    limits.names = 40;
    limits.workers = 1;
    return limits;
}

} // namespace

TEST_F(HashPipelineTest, ManyFilesComeBackInOrderAsTheCoreHashesThem)
{
    const Case cases[] = {{"the usual limits", HashLimits(), 1},
                          {"a few small buffers", Tiny(), 3},
                          {"a few small buffers, one worker", OneWorker(), 2}};
    for (const Case &c : cases) {
        const std::vector<std::string> names = MakeFolder(c.limits.pieceSize, c.rounds);
        const std::vector<HashResult> expected = AsTheCore(names);
        for (int path = MD5_PATH_SCALAR; path <= MD5LanesSupported(); path++) {
            SCOPED_TRACE(std::string(c.what) + ", path " + std::to_string(path));
            HashPipeline pipeline(path, false, c.limits);
            ExpectSame(names, expected, HashAll(pipeline, names));
        }
    }
}

// "-" is standard input only when asked for, and then read to its end;
// otherwise a file of that name (none in the test's folder).
TEST_F(HashPipelineTest, DashIsStandardInputOnlyWhenAsked)
{
    const std::string input = MakeFile("input", 300000);
    const std::string other = MakeFile("other", 1000);
    ASSERT_NE(std::freopen(input.c_str(), "rb", stdin), nullptr);

    HashPipeline asked(MD5LanesSupported(), true, Tiny());
    ExpectSame({other, "-", other}, AsTheCore({other, input, other}), HashAll(asked, {other, "-", other}));

    HashPipeline notAsked(MD5LanesSupported(), false);
    const std::vector<HashResult> named = HashAll(notAsked, {"-"});
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].status, MD5FILE_OPEN_ERROR);
    EXPECT_EQ(named[0].error, ENOENT);
}

// Dropped with results not taken, some files half read: the threads stop.
TEST_F(HashPipelineTest, StopsWithResultsNotTakenBack)
{
    const std::vector<std::string> names = MakeFolder(4096, 1);
    for (int taken : {0, 1, 4}) { // of the five Tiny() takes
        HashPipeline pipeline(MD5LanesSupported(), false, Tiny());
        for (const std::string &name : names)
            pipeline.Add(name.c_str());
        HashResult result;
        for (int i = 0; i < taken; i++)
            ASSERT_TRUE(pipeline.Next(&result));
    }
}

// Polled, the oldest result comes first though a later one is done before
// it: one worker, whose idle lanes open the missing name while the large
// file is hashed. The large file is a whole number of pieces long, so that
// its reading ends (a read of nothing) while its last piece is hashed.
TEST_F(HashPipelineTest, PolledTheOldestResultStillComesFirst)
{
    HashLimits limits = Tiny();
    limits.workers = 1;
    const std::vector<std::string> names = {MakeFile("large", 512 * limits.pieceSize),
                                            (m_dir / "missing").string()};
    HashPipeline pipeline(MD5LanesSupported(), false, limits);
    for (const std::string &name : names)
        ASSERT_TRUE(pipeline.Add(name.c_str()));
    std::vector<HashResult> results(2);
    for (HashResult &result : results)
        while (!pipeline.TryNext(&result))
            std::this_thread::yield();
    ExpectSame(names, AsTheCore(names), results);
}

// A file cut while it is read gives the digest of what was read of it, as
// md5sum does: its first bytes up to the cut, or, if the reading had passed
// the cut already, up to the piece it had come to. Never bytes it never held.
TEST_F(HashPipelineTest, AFileCutWhileReadGivesTheDigestOfItsFirstBytes)
{
    const HashLimits limits = Tiny();
    const std::size_t piece = limits.pieceSize, size = 1024 * piece, cut = size / 4 + 1000;
    const std::string path = MakeFile("cut", size);
    std::string bytes(size, '\0');
    std::ifstream(path, std::ios::binary).read(&bytes[0], static_cast<std::streamsize>(size));

    HashPipeline pipeline(MD5LanesSupported(), false, limits);
    ASSERT_TRUE(pipeline.Add(path.c_str()));
    fs::resize_file(path, cut);
    HashResult result;
    ASSERT_TRUE(pipeline.Next(&result));
    ASSERT_EQ(result.status, MD5FILE_OK) << std::strerror(result.error);

    std::set<std::string> prefixes; // the digests of the first `cut` bytes, and of whole pieces past it
    MD5_CTX context;
    MD5Init(&context);
    for (std::size_t at = 0, end = cut; at < size; at = end, end = (at / piece + 1) * piece) {
        MD5Update(&context, reinterpret_cast<const unsigned char *>(&bytes[at]), static_cast<std::uint32_t>(end - at));
        MD5_CTX copy = context;
        unsigned char digest[16];
        MD5Final(digest, &copy);
        prefixes.insert(std::string(reinterpret_cast<char *>(digest), 16));
    }
    EXPECT_EQ(prefixes.count(std::string(reinterpret_cast<const char *>(result.digest), 16)), 1u);
}
